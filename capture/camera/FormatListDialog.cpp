#include "capture/camera/FormatListDialog.h"
#include "capture/camera/CameraFormats.h"
#include "capture/camera/CameraTexts.h"

#include "win/DialogTemplate.h"
#include "win/ModuleInstance.h"
#include "win/UntrappedError.h"

#include <dshow.h>

namespace vardolin::capture {
namespace {

using namespace format_list_control;

struct FormatListState {
    std::span<const OfferedFormat> formats;
    std::optional<size_t> chosen;
};

// The subtypes named by a FourCC share this GUID apart from its first field.
bool IsFourCcSubtype(const GUID& subtype) {
    GUID base = MEDIASUBTYPE_YUY2;
    base.Data1 = subtype.Data1;
    return IsEqualGUID(base, subtype);
}

std::wstring FourCc(DWORD code) {
    std::wstring text;
    for (int i = 0; i < 4; ++i) {
        wchar_t c = static_cast<wchar_t>((code >> (8 * i)) & 0xFF);
        if (c < 0x20 || c > 0x7E) return {};
        text += c;
    }
    // Codes shorter than four letters are padded with spaces.
    text.erase(text.find_last_not_of(L' ') + 1);
    return text;
}

void EndWithSelection(HWND dialog, FormatListState& state) {
    LRESULT selected = SendDlgItemMessageW(dialog, kFormatList, LB_GETCURSEL, 0, 0);
    state.chosen = selected >= 0 ? std::optional<size_t>(static_cast<size_t>(selected)) : std::nullopt;
    EndDialog(dialog, IDOK);
}

INT_PTR FormatListMessages(HWND dialog, UINT message, WPARAM wParam, LPARAM, FormatListState& held) {
    FormatListState* state = &held;
    if (message == WM_INITDIALOG) {
        for (const OfferedFormat& format : state->formats)
            SendDlgItemMessageW(dialog, kFormatList, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(FormatListText(format).c_str()));
        if (state->chosen && *state->chosen < state->formats.size())
            SendDlgItemMessageW(dialog, kFormatList, LB_SETCURSEL, *state->chosen, 0);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case kFormatList:
        if (HIWORD(wParam) != LBN_DBLCLK) return FALSE;
        EndWithSelection(dialog, *state);
        return TRUE;
    case IDOK: EndWithSelection(dialog, *state); return TRUE;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

std::optional<size_t> ChooseFormat(HWND owner, std::span<const OfferedFormat> formats, std::optional<size_t> current) {
    if (formats.empty()) return std::nullopt;
    constexpr short kWidth = 180, kListTop = 19, kListHeight = 100;
    constexpr short kButtonRow = kListTop + kListHeight + 7, kHeight = kButtonRow + 21;
    DialogTemplate dialog(kFormatPagesTitle, kWidth, kHeight);
    dialog.AddControl(0xFFFF, L"STATIC", kFormatListLabel, SS_LEFT, 7, 7, kWidth - 14, 10);
    // Listed in the camera's order: the index is the one the camera gave.
    dialog.AddControl(kFormatList, L"LISTBOX", L"",
                      WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 7, kListTop, kWidth - 14,
                      kListHeight);
    dialog.AddOkCancel(kButtonRow, kWidth);
    FormatListState state{formats, current};
    if (RunModalDialog<FormatListState, FormatListMessages>(dialog, owner, state) != IDOK) return std::nullopt;
    return state.chosen;
}

std::wstring FormatListText(const OfferedFormat& format) {
    return std::to_wstring(format.width) + L" x " + std::to_wstring(format.height) + L"  " +
           SubtypeName(format.subtype);
}

std::wstring SubtypeName(const GUID& subtype) {
    if (const CameraFormat* format = CameraFormatOf(subtype); format && format->name) return format->name;
    if (IsFourCcSubtype(subtype))
        if (std::wstring code = FourCc(subtype.Data1); !code.empty()) return code;
    wchar_t text[40] = {};
    StringFromGUID2(subtype, text, static_cast<int>(std::size(text)));
    return text;
}

}  // namespace vardolin::capture
