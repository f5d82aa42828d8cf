// The roster list List1 as the roster commands see it: an ordered,
// single-selection list of texts with 16-bit positions (-1: no selection).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vardolin::roster {

// The most entries the roster holds: the largest 16-bit signed count.
inline constexpr int kMaxEntries = 32767;

inline constexpr int kNoSelection = -1;

class RosterList {
public:
    explicit RosterList(HWND list) noexcept : list_(list) {}

    HWND Window() const noexcept { return list_; }
    int Count() const noexcept;
    // Empty for a position that does not exist.
    std::wstring Text(int position) const;
    std::vector<std::wstring> Texts() const;

    // Raise an error when the list refuses the entry.
    void Append(const std::wstring& text);
    void Insert(int position, const std::wstring& text);
    void Remove(int position) noexcept;
    void Clear() noexcept;
    // Rewrites the texts from position `first` on, in place: no entry is
    // inserted or removed for good, and the selection and the scroll position
    // stay as they were.
    void Rewrite(int first, const std::vector<std::wstring>& texts);

    int Selection() const noexcept;
    void Select(int position) noexcept;
    int TopIndex() const noexcept;
    void SetTopIndex(int position) noexcept;
    // The row rectangle of an entry in the list's client pixels, as the list
    // reports it; false (and `rect` untouched) when there is no such row.
    bool ItemRect(int position, RECT& rect) const noexcept;

private:
    HWND list_;
};

// Switches the list's redrawing off while many entries change (each change
// would otherwise update the list on screen), and back on at the end.
class RedrawPause {
public:
    explicit RedrawPause(const RosterList& roster) noexcept;
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND list_;
};

}  // namespace vardolin::roster
