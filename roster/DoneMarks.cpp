#include "roster/DoneMarks.h"

#include "roster/PhotoFiles.h"
#include "roster/PhotoListing.h"
#include "roster/RosterList.h"
#include "win/BackgroundWork.h"
#include "win/Win32Handles.h"

namespace vardolin::roster {
namespace {

constexpr COLORREF kCheckColour = RGB(0, 150, 60);

std::set<std::wstring> ListedNames(const std::filesystem::path& folder) {
    std::set<std::wstring> names;
    for (const auto& [name, file] : ListPhotoFolder(folder)) names.insert(name);
    return names;
}

// The check's margin: as wide as the row is high, so it scales with the font.
int MarginOf(const RECT& row) { return row.bottom - row.top; }

void DrawCheck(HDC dc, const RECT& row) {
    int size = MarginOf(row);
    int left = row.left + size / 5, middle = (row.top + row.bottom) / 2;
    POINT tick[] = {{left, middle}, {left + size / 4, middle + size / 4}, {left + size * 3 / 5, middle - size / 4}};
    UniquePen pen(CreatePen(PS_SOLID, size >= 16 ? 3 : 2, kCheckColour));
    if (!pen) return;
    ScopedSelection selected(dc, pen.get());
    Polyline(dc, tick, 3);
}

}  // namespace

void DoneMarks::Relist(HWND window, UINT message) {
    std::filesystem::path folder;
    unsigned listing = 0;
    {
        std::lock_guard<std::mutex> held(state_->lock);
        listing = ++state_->listing;
        state_->stored.clear();  // the new listing holds every photo stored so far
    }
    try {
        folder = PhotoFolder();
    } catch (...) {
        std::lock_guard<std::mutex> held(state_->lock);
        state_->listed.clear();
        PostMessageW(window, message, 0, 0);
        return;
    }
    RunInBackground([state = state_, folder, listing, window, message] {
        std::set<std::wstring> names = ListedNames(folder);
        {
            std::lock_guard<std::mutex> held(state->lock);
            if (state->listing != listing) return;  // a newer listing is on its way
            state->listed = std::move(names);
        }
        PostMessageW(window, message, 0, 0);
    });
}

void DoneMarks::MarkStored(const std::wstring& entry) {
    std::lock_guard<std::mutex> held(state_->lock);
    state_->stored.insert(entry + L".jpg");
}

bool DoneMarks::IsDone(const std::wstring& entry) const {
    if (!IsUsablePhotoName(entry)) return false;
    std::wstring name = entry + L".jpg";
    std::lock_guard<std::mutex> held(state_->lock);
    return state_->listed.contains(name) || state_->stored.contains(name);
}

int RosterRowHeight(HWND list, HFONT font) {
    WindowDc dc(list);
    if (!dc) return 16;
    ScopedSelection selected(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return metrics.tmHeight > 0 ? metrics.tmHeight : 16;
}

void DrawRosterEntry(const DRAWITEMSTRUCT& item, const DoneMarks& marks) {
    HDC dc = item.hDC;
    RECT row = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {  // an empty list with the focus
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
        return;
    }
    bool selected = item.itemState & ODS_SELECTED;
    FillRect(dc, &row, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    std::wstring text = RosterList(item.hwndItem).Text(static_cast<int>(item.itemID));
    if (marks.IsDone(text)) DrawCheck(dc, row);
    RECT textArea = row;
    textArea.left += MarginOf(row);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

}  // namespace vardolin::roster
