// Who is done: roster entries whose photo is in the photo folder are drawn
// with a green check before the name (never part of the entry's text). The
// marks come from one listing of the folder taken away from the window's
// thread, plus the photos stored since; painting only reads them.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <set>
#include <string>

namespace vardolin::roster {

class DoneMarks {
public:
    // Resolves the photo folder now and lists it in the background; posts
    // `message` to `window` when the new marks are in. A folder that cannot
    // be resolved or read marks no one.
    void Relist(HWND window, UINT message);
    // The photo of `entry` was just stored in the photo folder.
    void MarkStored(const std::wstring& entry);
    bool IsDone(const std::wstring& entry) const;

private:
    struct State {
        std::mutex lock;
        unsigned listing = 0;           // the newest listing asked for
        std::set<std::wstring> listed;  // stored file names
        std::set<std::wstring> stored;  // "<entry>.jpg" stored since that listing began
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

// The roster list is drawn by its owner: rows this high for its font.
int RosterRowHeight(HWND list, HFONT font);

// Draws one row of the roster list (WM_DRAWITEM): a margin holding the check
// of a done entry, then the entry's text.
void DrawRosterEntry(const DRAWITEMSTRUCT& item, const DoneMarks& marks);

}  // namespace vardolin::roster
