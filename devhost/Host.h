// The stand-in spreadsheet host: a workbook exposed as automation objects with
// the members the component calls. Application: InputBox (type 8 answers a
// Range, or False when cancelled), Range(address), Selection. Range: Address,
// Select (dispatch id 235), _NewEnum (cells area by area, row by row), Value.
// The InputBox answer is given by the program that drives the host.
#pragma once

#include "Workbook.h"

#include <oaidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vardolin::devhost {

using Microsoft::WRL::ComPtr;

// Given the prompt and title, answers an address ("A1:B3", "Sheet2!A1", ...)
// or nothing to cancel.
using InputBoxAnswer =
    std::function<std::optional<std::wstring>(const std::wstring& prompt, const std::wstring& title)>;

struct InputBoxCall {
    std::wstring prompt;
    std::wstring title;
    long type;
};

struct HostState {
    Workbook book;
    InputBoxAnswer answer;
    std::vector<InputBoxCall> inputBoxCalls;
};

class Host {
public:
    explicit Host(Workbook book);

    ComPtr<IDispatch> Application() const { return application_; }
    ComPtr<IDispatch> ActiveWorkbook() const;
    ComPtr<IDispatch> ActiveSheet() const;

    Workbook& Book() noexcept { return state_->book; }
    void AnswerInputBox(InputBoxAnswer answer) { state_->answer = std::move(answer); }
    const std::vector<InputBoxCall>& InputBoxCalls() const noexcept { return state_->inputBoxCalls; }

private:
    std::shared_ptr<HostState> state_;
    ComPtr<IDispatch> application_;
};

// The dispatch id of Range.Select.
inline constexpr DISPID kSelectDispId = 235;

}  // namespace vardolin::devhost
