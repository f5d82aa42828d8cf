// The host's modal range picker (what its InputBox of type 8 shows): a bar
// across the top of the host window with the title, the prompt, an address
// box and OK / Cancel. While it is up the user can still select cells in the
// sheet, and the host writes their address into the box; typing an address
// works as well. OK accepts only a valid address.
#pragma once

#include "win/BaseWindow.h"
#include "devhost/app/Gdi.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace vardolin::devhost::app {

inline constexpr const wchar_t* kRangePickerClass = L"VardolinRangePicker";

// The bar's height; the host moves the sheet down while it is up.
inline constexpr int kRangePickerHeight = 104;

enum RangePickerControl : int {
    kPickerBar = 15,  // the bar itself, a child of the host window
    kPickerTitle = 99,
    kPickerPrompt = 100,
    kPickerAddress = 101,
    kPickerOk = IDOK,
    kPickerCancel = IDCANCEL,
};

class RangePicker : public vardolin::BaseWindow<RangePicker> {
public:
    using IsValidAddress = std::function<bool(const std::wstring&)>;

    RangePicker(HWND host, const std::wstring& prompt, const std::wstring& title, IsValidAddress isValid);
    ~RangePicker();
    RangePicker(const RangePicker&) = delete;
    RangePicker& operator=(const RangePicker&) = delete;

    // Runs until the user answers: the address, or nothing when cancelled.
    // A WM_QUIT arriving meanwhile cancels and is passed on.
    std::optional<std::wstring> Run();

    // Puts the address of cells picked in the sheet into the box.
    void ShowPicked(const std::wstring& address);
    void Cancel();
    HWND Window() const noexcept { return window_; }

private:
    friend class vardolin::BaseWindow<RangePicker>;
    static WNDCLASSEXW WindowClass() noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A closed bar, or an error in a handler, cancels the question.
    void OnDetached() noexcept { Cancel(); }
    LRESULT OnUncaughtError(HWND, UINT, WPARAM, LPARAM) noexcept {
        Cancel();
        return 0;
    }
    void CreateControls(const std::wstring& prompt, const std::wstring& title);
    void Accept();
    std::wstring AddressText() const;

    HWND host_;
    std::wstring title_;
    IsValidAddress isValid_;
    UniqueFont font_;
    UniqueFont titleFont_;
    UniqueFont promptFont_;
    UniqueBrush background_;
    bool finished_ = false;
    std::optional<std::wstring> answer_;
};

}  // namespace vardolin::devhost::app
