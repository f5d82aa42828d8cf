// The stand-in spreadsheet host: a workbook exposed as automation objects with
// the members the component calls. Application: InputBox (type 8 answers a
// Range, or False when cancelled), Range(address), Selection, Intersect
// (Nothing when the ranges do not meet). Range: Address, Select (dispatch id
// 235), _NewEnum (cells area by area, row by row, made as they are asked
// for), Value, Worksheet. Worksheet: Name, UsedRange. The InputBox answer is
// given by the program that drives the host. Like the real host it can be
// busy, refusing calls, and it counts the calls made on it.
#pragma once

#include "devhost/Workbook.h"

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

// What a busy spreadsheet (a cell being edited, one of its dialogs open)
// answers instead of running a call: in process, and from another process.
inline constexpr HRESULT kRefusedInProcess = static_cast<HRESULT>(0x800AC472);
inline constexpr HRESULT kRefusedOutOfProcess = RPC_E_CALL_REJECTED;
inline constexpr HRESULT kRetryLaterOutOfProcess = RPC_E_SERVERCALL_RETRYLATER;

// A count of refusals that never runs out.
inline constexpr int kRefuseAlways = -1;

struct HostState {
    Workbook book;
    InputBoxAnswer answer;
    std::vector<InputBoxCall> inputBoxCalls;
    size_t calls = 0;
    int refusalsLeft = 0;
    HRESULT refusal = kRefusedInProcess;

    // Counts one call on the host's objects. Returns the HRESULT that
    // refuses it while the host is busy (names are still looked up, as the
    // real host answers them from its type information), or S_OK.
    HRESULT Admit(bool lookupOnly);
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

    // Calls made on the host's objects so far: names looked up, members
    // invoked and cells fetched from an enumeration.
    size_t Calls() const noexcept { return state_->calls; }
    // Refuses the next `count` calls (kRefuseAlways: every call, until this
    // is called again) with `refusal`, as a busy spreadsheet does. 0 ends it.
    void RefuseCalls(int count, HRESULT refusal = kRefusedInProcess);

private:
    std::shared_ptr<HostState> state_;
    ComPtr<IDispatch> application_;
};

// The dispatch id of Range.Select.
inline constexpr DISPID kSelectDispId = 235;

}  // namespace vardolin::devhost
