#include "camera/CameraChooser.h"
#include "camera/CameraTexts.h"

#include "ModuleInstance.h"
#include "UntrappedError.h"
#include "DialogTemplate.h"

namespace vardolin::capture {
namespace {

using namespace chooser_control;

struct ChooserState {
    std::span<const std::wstring> names;
    SourceChoice chosen;
    const std::function<void(HWND, size_t)>& showSettings;
};

size_t Selected(HWND dialog, size_t fallback) {
    LRESULT selected = SendDlgItemMessageW(dialog, kCameraList, CB_GETCURSEL, 0, 0);
    return selected >= 0 ? static_cast<size_t>(selected) : fallback;
}

INT_PTR ChooserMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<ChooserState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        state = reinterpret_cast<ChooserState*>(lParam);
        for (const std::wstring& name : state->names)
            SendDlgItemMessageW(dialog, kCameraList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendDlgItemMessageW(dialog, kCameraList, CB_SETCURSEL, state->chosen.camera, 0);
        CheckDlgButton(dialog, kAutoFrame, state->chosen.autoFrame ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case kCameraSettings:
        state->showSettings(dialog, Selected(dialog, state->chosen.camera));
        return TRUE;
    case IDOK:
        state->chosen = {Selected(dialog, state->chosen.camera),
                         IsDlgButtonChecked(dialog, kAutoFrame) == BST_CHECKED};
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

// An error is reported, never thrown back into the system.
INT_PTR CALLBACK ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    INT_PTR result = FALSE;
    RunUntrapped(dialog, [&] { result = ChooserMessages(dialog, message, wParam, lParam); });
    return result;
}

}  // namespace

std::optional<SourceChoice> ChooseSource(HWND owner, std::span<const std::wstring> names, SourceChoice current,
                                         const std::function<void(HWND dialog, size_t index)>& showSettings) {
    constexpr short kWidth = 220, kHeight = 88;
    DialogTemplate dialog(kSourceDialogTitle, kWidth, kHeight);
    dialog.AddControl(0xFFFF, L"STATIC", kCameraLabel, SS_LEFT, 7, 9, 36, 10);
    dialog.AddControl(kCameraList, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 43, 7, 170, 80);
    dialog.AddControl(kCameraSettings, L"BUTTON", kCameraSettingsCaption, WS_TABSTOP | BS_PUSHBUTTON, 43, 27, 70, 14);
    dialog.AddControl(kAutoFrame, L"BUTTON", kAutoFrameCaption, WS_TABSTOP | BS_AUTOCHECKBOX, 43, 48, 170, 10);
    dialog.AddOkCancel(67, kWidth);
    ChooserState state{names, current, showSettings};
    if (DialogBoxIndirectParamW(ModuleInstance(), dialog.Get(), owner, ChooserProc, reinterpret_cast<LPARAM>(&state)) !=
        IDOK)
        return std::nullopt;
    return state.chosen;
}

}  // namespace vardolin::capture
