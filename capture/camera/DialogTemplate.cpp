#include "camera/DialogTemplate.h"

#include "ModuleInstance.h"

namespace vardolin::capture {
namespace {

// The header fields after style and extended style: item count, x, y, cx, cy.
constexpr size_t kCountIndex = 4;

}  // namespace

DialogTemplate::DialogTemplate(const std::wstring& title, short width, short height) {
    Put(DWORD{DS_MODALFRAME | DS_SETFONT | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU});
    Put(DWORD{0});
    for (short field : {short{0}, short{0}, short{0}, width, height}) words_.push_back(static_cast<WORD>(field));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    Put(title);
    words_.push_back(8);  // point size
    Put(L"MS Shell Dlg");
}

void DialogTemplate::AddControl(WORD id, const wchar_t* windowClass, const std::wstring& text, DWORD style, short x,
                                short y, short width, short height) {
    AlignToDword();
    Put(DWORD{WS_CHILD | WS_VISIBLE | style});
    Put(DWORD{0});
    for (short field : {x, y, width, height}) words_.push_back(static_cast<WORD>(field));
    words_.push_back(id);
    Put(windowClass);
    Put(text);
    words_.push_back(0);  // no creation data
    ++words_[kCountIndex];
}

void DialogTemplate::AddOkCancel(short y, short dialogWidth) {
    AddControl(IDOK, L"BUTTON", L"确定", WS_TABSTOP | BS_DEFPUSHBUTTON, dialogWidth - 110, y, 50, 14);
    AddControl(IDCANCEL, L"BUTTON", L"取消", WS_TABSTOP | BS_PUSHBUTTON, dialogWidth - 56, y, 50, 14);
}

void DialogTemplate::Put(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::Put(const std::wstring& text) {
    words_.insert(words_.end(), text.begin(), text.end());
    words_.push_back(0);
}

void DialogTemplate::AlignToDword() {
    if (words_.size() % 2) words_.push_back(0);
}

INT_PTR RunDialog(HWND owner, const DialogTemplate& dialog, DLGPROC procedure, void* state) {
    return DialogBoxIndirectParamW(ModuleInstance(), dialog.Get(), owner, procedure, reinterpret_cast<LPARAM>(state));
}

}  // namespace vardolin::capture
