#include "JpegQuality.h"

#include "Variant.h"

namespace vardolin::capture {

std::wstring JpegQuality::Text() const {
    if (const auto* text = std::get_if<std::wstring>(&value_)) return *text;
    return std::to_wstring(std::get<short>(value_));
}

double JpegQuality::Number() const {
    if (const auto* text = std::get_if<std::wstring>(&value_)) return TextToNumber(*text);
    return std::get<short>(value_);
}

}  // namespace vardolin::capture
