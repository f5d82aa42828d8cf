#include "camera/SimulatedCameraDialogs.h"

#include "UntrappedError.h"
#include "camera/DialogTemplate.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace vardolin::capture {
namespace {

using namespace dialog_control;

void AddOkCancel(DialogTemplate& dialog, short y, short width) {
    dialog.AddControl(IDOK, L"BUTTON", L"确定", WS_TABSTOP | BS_DEFPUSHBUTTON, width - 110, y, 50, 14);
    dialog.AddControl(IDCANCEL, L"BUTTON", L"取消", WS_TABSTOP | BS_PUSHBUTTON, width - 56, y, 50, 14);
}

// --- format ---

struct FormatState {
    std::span<const Resolution> choices;
    size_t chosen;
};

INT_PTR FormatMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<FormatState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        state = reinterpret_cast<FormatState*>(lParam);
        HWND list = GetDlgItem(dialog, kResolutionList);
        for (const Resolution& r : state->choices) {
            std::wstring text = std::to_wstring(r.width) + L" × " + std::to_wstring(r.height);
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        SendMessageW(list, LB_SETCURSEL, state->chosen, 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK ||
            (LOWORD(wParam) == kResolutionList && HIWORD(wParam) == LBN_DBLCLK)) {
            LRESULT selected = SendDlgItemMessageW(dialog, kResolutionList, LB_GETCURSEL, 0, 0);
            if (selected >= 0) state->chosen = static_cast<size_t>(selected);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// --- source ---

struct SourceState {
    PictureAdjustment adjustment;
};

void ShowValue(HWND dialog, WORD slider, WORD label) {
    LRESULT value = SendDlgItemMessageW(dialog, slider, TBM_GETPOS, 0, 0);
    SetDlgItemInt(dialog, label, static_cast<UINT>(value), TRUE);
}

void InitSlider(HWND dialog, WORD slider, WORD label, int low, int high, int value) {
    HWND control = GetDlgItem(dialog, slider);
    SendMessageW(control, TBM_SETRANGE, FALSE, MAKELPARAM(low, high));
    SendMessageW(control, TBM_SETPAGESIZE, 0, 10);
    SendMessageW(control, TBM_SETTICFREQ, 50, 0);
    SendMessageW(control, TBM_SETPOS, TRUE, value);
    ShowValue(dialog, slider, label);
}

INT_PTR SourceMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<SourceState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        state = reinterpret_cast<SourceState*>(lParam);
        InitSlider(dialog, kBrightness, kBrightnessValue, SimulatedCamera::kMinBrightness,
                   SimulatedCamera::kMaxBrightness, state->adjustment.brightness);
        InitSlider(dialog, kContrast, kContrastValue, SimulatedCamera::kMinContrast, SimulatedCamera::kMaxContrast,
                   state->adjustment.contrast);
        return TRUE;
    case WM_HSCROLL:
        ShowValue(dialog, kBrightness, kBrightnessValue);
        ShowValue(dialog, kContrast, kContrastValue);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            state->adjustment = {static_cast<int>(SendDlgItemMessageW(dialog, kBrightness, TBM_GETPOS, 0, 0)),
                                 static_cast<int>(SendDlgItemMessageW(dialog, kContrast, TBM_GETPOS, 0, 0))};
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// Dialog procedures: an error is reported, never thrown back into the system.
INT_PTR CALLBACK FormatProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = FALSE;
    RunUntrapped(dialog, [&] { result = FormatMessages(dialog, message, wParam, lParam); });
    return result;
}

INT_PTR CALLBACK SourceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = FALSE;
    RunUntrapped(dialog, [&] { result = SourceMessages(dialog, message, wParam, lParam); });
    return result;
}

}  // namespace

std::optional<size_t> ChooseResolution(HWND owner, std::span<const Resolution> choices, size_t current) {
    constexpr short kWidth = 160, kHeight = 110;
    DialogTemplate dialog(kFormatDialogTitle, kWidth, kHeight);
    dialog.AddControl(0xFFFF, L"STATIC", L"输出大小（像素）：", SS_LEFT, 7, 7, 146, 10);
    dialog.AddControl(kResolutionList, L"LISTBOX", L"", WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 7, 19, 146,
                      62);
    AddOkCancel(dialog, 89, kWidth);
    FormatState state{choices, current};
    if (RunDialog(owner, dialog, FormatProc, &state) != IDOK) return std::nullopt;
    return state.chosen;
}

std::optional<PictureAdjustment> ChooseAdjustment(HWND owner, PictureAdjustment current) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    constexpr short kWidth = 200, kHeight = 96;
    DialogTemplate dialog(kSourceDialogTitle, kWidth, kHeight);
    dialog.AddControl(0xFFFF, L"STATIC", L"亮度：", SS_LEFT, 7, 12, 36, 10);
    dialog.AddControl(kBrightness, TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS, 43, 8, 120, 20);
    dialog.AddControl(kBrightnessValue, L"STATIC", L"", SS_RIGHT, 165, 12, 28, 10);
    dialog.AddControl(0xFFFF, L"STATIC", L"对比度：", SS_LEFT, 7, 42, 36, 10);
    dialog.AddControl(kContrast, TRACKBAR_CLASSW, L"", WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS, 43, 38, 120, 20);
    dialog.AddControl(kContrastValue, L"STATIC", L"", SS_RIGHT, 165, 42, 28, 10);
    AddOkCancel(dialog, 75, kWidth);
    SourceState state{current};
    if (RunDialog(owner, dialog, SourceProc, &state) != IDOK) return std::nullopt;
    return state.adjustment;
}

}  // namespace vardolin::capture
