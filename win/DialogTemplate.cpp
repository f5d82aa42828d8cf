#include "win/DialogTemplate.h"

namespace vardolin {
namespace {

// The header fields after style and extended style: item count, x, y, cx, cy.
constexpr size_t kCountIndex = 4;

}  // namespace

DialogTemplate::DialogTemplate(const std::wstring& title, short width, short height)
    : DialogTemplate(DS_MODALFRAME | DS_SETFONT | DS_SHELLFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
                     title, width, height) {}

DialogTemplate DialogTemplate::Child(short width, short height) {
    return DialogTemplate(DS_CONTROL | DS_SETFONT | DS_SHELLFONT | WS_CHILD, WS_EX_CONTROLPARENT, L"", width, height);
}

DialogTemplate::DialogTemplate(DWORD style, DWORD extendedStyle, const std::wstring& title, short width, short height)
    : width_(width), height_(height) {
    Put(style);
    Put(extendedStyle);
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

}  // namespace vardolin
