#include "DialogTemplate.h"

namespace vardolin::democam {
namespace {

// The header fields after style and extended style: item count, x, y, cx, cy.
constexpr size_t kCountIndex = 4;

}  // namespace

DialogTemplate::DialogTemplate(short width, short height) : width_(width), height_(height) {
    Put(DWORD{DS_CONTROL | DS_SETFONT | DS_SHELLFONT | WS_CHILD});
    Put(DWORD{WS_EX_CONTROLPARENT});
    for (short field : {short{0}, short{0}, short{0}, width, height}) words_.push_back(static_cast<WORD>(field));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    words_.push_back(0);  // no title
    words_.push_back(8);  // point size
    Put(L"MS Shell Dlg");
}

void DialogTemplate::AddControl(WORD id, const wchar_t* windowClass, const std::wstring& text, DWORD style, short x,
                                short y, short width, short height) {
    if (words_.size() % 2) words_.push_back(0);  // items are DWORD aligned
    Put(DWORD{WS_CHILD | WS_VISIBLE | style});
    Put(DWORD{0});
    for (short field : {x, y, width, height}) words_.push_back(static_cast<WORD>(field));
    words_.push_back(id);
    Put(windowClass);
    Put(text);
    words_.push_back(0);  // no creation data
    ++words_[kCountIndex];
}

void DialogTemplate::Put(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::Put(const std::wstring& text) {
    words_.insert(words_.end(), text.begin(), text.end());
    words_.push_back(0);
}

}  // namespace vardolin::democam
