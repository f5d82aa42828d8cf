#include "roster/RosterList.h"

#include "win/ComponentError.h"

namespace vardolin::roster {
namespace {

void RaiseIfRefused(LRESULT result) {
    if (result == LB_ERR) throw vardolin::ComponentError::InvalidPropertyValue();
    if (result == LB_ERRSPACE) throw std::bad_alloc();
}

}  // namespace

int RosterList::Count() const noexcept {
    LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

std::wstring RosterList::Text(int position) const {
    LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, position, 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(list_, LB_GETTEXT, position, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

std::vector<std::wstring> RosterList::Texts() const {
    std::vector<std::wstring> texts;
    int count = Count();
    texts.reserve(count);
    for (int i = 0; i < count; ++i) texts.push_back(Text(i));
    return texts;
}

void RosterList::Append(const std::wstring& text) {
    RaiseIfRefused(SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void RosterList::Insert(int position, const std::wstring& text) {
    RaiseIfRefused(SendMessageW(list_, LB_INSERTSTRING, position, reinterpret_cast<LPARAM>(text.c_str())));
}

void RosterList::Remove(int position) noexcept { SendMessageW(list_, LB_DELETESTRING, position, 0); }

void RosterList::Clear() noexcept { SendMessageW(list_, LB_RESETCONTENT, 0, 0); }

void RosterList::Rewrite(int first, const std::vector<std::wstring>& texts) {
    int selection = Selection();
    int top = TopIndex();
    {
        RedrawPause pause(*this);
        for (size_t i = 0; i < texts.size(); ++i) {
            int position = first + static_cast<int>(i);
            if (Text(position) == texts[i]) continue;
            Remove(position);
            Insert(position, texts[i]);
        }
        Select(selection);
        SetTopIndex(top);
    }
}

int RosterList::Selection() const noexcept {
    LRESULT selection = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    return selection == LB_ERR ? kNoSelection : static_cast<int>(selection);
}

void RosterList::Select(int position) noexcept { SendMessageW(list_, LB_SETCURSEL, position, 0); }

int RosterList::TopIndex() const noexcept {
    LRESULT top = SendMessageW(list_, LB_GETTOPINDEX, 0, 0);
    return top == LB_ERR ? 0 : static_cast<int>(top);
}

void RosterList::SetTopIndex(int position) noexcept { SendMessageW(list_, LB_SETTOPINDEX, position, 0); }

RedrawPause::RedrawPause(const RosterList& roster) noexcept : list_(roster.Window()) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

bool RosterList::ItemRect(int position, RECT& rect) const noexcept {
    RECT taken{};
    if (SendMessageW(list_, LB_GETITEMRECT, position, reinterpret_cast<LPARAM>(&taken)) == LB_ERR) return false;
    rect = taken;
    return true;
}

}  // namespace vardolin::roster
