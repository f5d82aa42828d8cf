#include "capture/camera/CameraChooser.h"
#include "capture/camera/CameraTexts.h"

#include "win/DialogTemplate.h"
#include "win/Environment.h"
#include "win/ModuleInstance.h"
#include "win/UntrappedError.h"
#include "win/Settings.h"

#include <algorithm>

namespace vardolin::capture {
namespace {

using namespace chooser_control;

struct ChooserState {
    std::span<const std::wstring> names;
    SourceChoice chosen;
    const std::function<bool(size_t)>& hasSettings;
    const std::function<void(HWND, size_t)>& showSettings;
    const std::function<CameraDetail(size_t)>& detailOf;
};

size_t Selected(HWND dialog, size_t fallback) {
    LRESULT selected = SendDlgItemMessageW(dialog, kCameraList, CB_GETCURSEL, 0, 0);
    return selected >= 0 ? static_cast<size_t>(selected) : fallback;
}

// The settings button offers only what the selected camera has.
void FollowSelection(HWND dialog, const ChooserState& state) {
    size_t selected = Selected(dialog, state.chosen.camera);
    bool enable = selected < state.names.size() && state.hasSettings(selected);
    HWND button = GetDlgItem(dialog, kCameraSettings);
    // A disabled button cannot keep the focus: it goes on to the next control.
    if (!enable && GetFocus() == button) SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(button, enable);

    // The photo sizes the selected camera has the detail for.
    CameraDetail detail = state.detailOf && selected < state.names.size() ? state.detailOf(selected) : CameraDetail{};
    for (int scale = 1; scale <= kLargestPhotoScale; ++scale)
        EnableWindow(GetDlgItem(dialog, kPhotoSize + scale - 1), scale == 1 || scale <= detail.scale);
    SetDlgItemTextW(dialog, kPhotoSizeNote,
                    detail.scale < kLargestPhotoScale ? LargestPictureText(detail.width, detail.height).c_str() : L"");
}

int CheckedPhotoScale(HWND dialog, int fallback) {
    for (int scale = 1; scale <= kLargestPhotoScale; ++scale)
        if (IsDlgButtonChecked(dialog, kPhotoSize + scale - 1) == BST_CHECKED) return scale;
    return fallback;
}

INT_PTR ChooserMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM, ChooserState& held) {
    ChooserState* state = &held;
    if (message == WM_INITDIALOG) {
        for (const std::wstring& name : state->names)
            SendDlgItemMessageW(dialog, kCameraList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendDlgItemMessageW(dialog, kCameraList, CB_SETCURSEL, state->chosen.camera, 0);
        CheckDlgButton(dialog, kAutoFrame, state->chosen.autoFrame ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, kPhotoChecks, state->chosen.photoChecks ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, kHandsFree, state->chosen.handsFree ? BST_CHECKED : BST_UNCHECKED);
        CheckRadioButton(dialog, kPhotoSize, kPhotoSize + kLargestPhotoScale - 1,
                         kPhotoSize + std::clamp(state->chosen.photoScale, 1, kLargestPhotoScale) - 1);
        FollowSelection(dialog, *state);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case kCameraList:
        if (HIWORD(wParam) != CBN_SELCHANGE) return FALSE;
        FollowSelection(dialog, *state);
        return TRUE;
    case kCameraSettings: state->showSettings(dialog, Selected(dialog, state->chosen.camera)); return TRUE;
    case kPrivacySettings: ThreadEnvironment().webPageOpener(kCameraPrivacyPage); return TRUE;
    case IDOK:
        state->chosen = {Selected(dialog, state->chosen.camera), IsDlgButtonChecked(dialog, kAutoFrame) == BST_CHECKED,
                         CheckedPhotoScale(dialog, state->chosen.photoScale),
                         IsDlgButtonChecked(dialog, kPhotoChecks) == BST_CHECKED,
                         IsDlgButtonChecked(dialog, kHandsFree) == BST_CHECKED};
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

std::optional<SourceChoice> ChooseSource(HWND owner, std::span<const std::wstring> names, SourceChoice current,
                                         const std::function<bool(size_t index)>& hasSettings,
                                         const std::function<void(HWND dialog, size_t index)>& showSettings,
                                         const std::function<CameraDetail(size_t index)>& detailOf) {
    // The answer is always an index into names.
    if (names.empty()) return std::nullopt;
    if (current.camera >= names.size()) current.camera = 0;
    // One row per choice, the dialog's buttons in the last; a further choice
    // is another row above the buttons. The tab order follows the rows.
    constexpr short kWidth = 220, kLeft = 43, kRow = 20;
    constexpr short kCameraRow = 7, kSettingsRow = kCameraRow + kRow, kFramingRow = kSettingsRow + kRow + 1;
    constexpr short kChecksRow = kFramingRow + 13, kHandsFreeRow = kChecksRow + 13;
    constexpr short kSizeRow = kHandsFreeRow + kRow - 4, kSizeNoteRow = kSizeRow + 13;
    constexpr short kButtonRow = kSizeNoteRow + kRow - 2, kHeight = kButtonRow + 21;
    DialogTemplate dialog(kSourceDialogTitle, kWidth, kHeight);
    dialog.AddControl(0xFFFF, L"STATIC", kCameraLabel, SS_LEFT, 7, kCameraRow + 2, 36, 10);
    dialog.AddControl(kCameraList, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kLeft, kCameraRow, 170,
                      80);
    dialog.AddControl(kCameraSettings, L"BUTTON", kCameraSettingsCaption, WS_TABSTOP | BS_PUSHBUTTON, kLeft,
                      kSettingsRow, 70, 14);
    dialog.AddControl(kAutoFrame, L"BUTTON", kAutoFrameCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kLeft, kFramingRow, 170,
                      10);
    dialog.AddControl(kPhotoChecks, L"BUTTON", kPhotoChecksCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kLeft, kChecksRow,
                      170, 10);
    dialog.AddControl(kHandsFree, L"BUTTON", kHandsFreeCaption, WS_TABSTOP | BS_AUTOCHECKBOX, kLeft, kHandsFreeRow, 170,
                      10);
    dialog.AddControl(0xFFFF, L"STATIC", kPhotoSizeLabel, SS_LEFT, 7, kSizeRow + 1, 36, 10);
    for (int scale = 1; scale <= kLargestPhotoScale; ++scale)
        dialog.AddControl(kPhotoSize + scale - 1, L"BUTTON", PhotoSizeText(scale).c_str(),
                          BS_AUTORADIOBUTTON | (scale == 1 ? WS_GROUP | WS_TABSTOP : 0),
                          static_cast<short>(kLeft + (scale - 1) * 57), kSizeRow, 55, 10);
    dialog.AddControl(kPhotoSizeNote, L"STATIC", L"", SS_LEFT | WS_GROUP, kLeft, kSizeNoteRow, 170, 10);
    // Always there: a camera refused by the system's privacy settings is
    // allowed again on that page, whatever the control could find out.
    dialog.AddControl(kPrivacySettings, L"BUTTON", kPrivacySettingsCaption, WS_TABSTOP | BS_PUSHBUTTON, 7, kButtonRow,
                      60, 14);
    dialog.AddOkCancel(kButtonRow, kWidth);
    ChooserState state{names, current, hasSettings, showSettings, detailOf};
    if (RunModalDialog<ChooserState, ChooserMessages>(dialog, owner, state) != IDOK) return std::nullopt;
    return state.chosen;
}

}  // namespace vardolin::capture
