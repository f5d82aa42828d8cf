// The current JPEG quality: the text read from the settings until the slider
// or the load step sets a 16-bit integer.
#pragma once

#include "automation/Variant.h"

#include <string>
#include <variant>

namespace vardolin::capture {

class JpegQuality {
public:
    void SetText(std::wstring text) { value_ = std::move(text); }
    void SetInteger(short value) { value_ = value; }

    bool IsText() const noexcept { return std::holds_alternative<std::wstring>(value_); }
    std::wstring Text() const {
        if (const auto* text = std::get_if<std::wstring>(&value_)) return *text;
        return std::to_wstring(std::get<short>(value_));
    }
    // The value as a number; stored text that is no number raises a type mismatch.
    double Number() const {
        if (const auto* text = std::get_if<std::wstring>(&value_)) return TextToNumber(*text);
        return std::get<short>(value_);
    }

private:
    std::variant<std::wstring, short> value_;
};

}  // namespace vardolin::capture
