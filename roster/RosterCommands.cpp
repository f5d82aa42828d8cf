#include "RosterCommands.h"

#include "ContinueOnError.h"
#include "GetPIC.h"
#include "MessageBoxSeam.h"
#include "RosterImport.h"
#include "RosterList.h"
#include "StoredPhoto.h"

#include <algorithm>

namespace vardolin::roster {
namespace {

using capture::ControlId;
using capture::RunOrSkip;

RosterList RosterOf(capture::GetPIC& window) { return RosterList(window.Control(ControlId::List1)); }

void ConfirmedRemoval(capture::GetPIC& window) {
    RosterList roster = RosterOf(window);
    int selected = roster.Selection();
    if (selected == kNoSelection) return;
    window.Cancel_SetTop();
    int answer = capture::ShowMessageBox(window.Window(), kConfirmRemovalText + roster.Text(selected),
                                         kConfirmRemovalTitle, kConfirmRemovalType);
    window.SetTop();
    // Read again: the list may have changed while the question was up.
    selected = roster.Selection();
    if (answer == IDOK && selected != kNoSelection) roster.Remove(selected);
}

// Moves the entry at `from` to `to` by rewriting the texts between them.
void MoveEntry(RosterList& roster, int from, int to) {
    int first = std::min(from, to);
    int last = std::max(from, to);
    std::vector<std::wstring> texts;
    for (int i = first; i <= last; ++i) texts.push_back(roster.Text(i));
    if (from > to) std::rotate(texts.begin(), texts.end() - 1, texts.end());
    else std::rotate(texts.begin(), texts.begin() + 1, texts.end());
    roster.Rewrite(first, texts);
}

}  // namespace

void RunMenuCommand(capture::GetPIC& window, capture::MenuItem item) {
    using capture::MenuItem;
    switch (item) {
    case MenuItem::Add: Add(window); break;
    case MenuItem::Del: Del(window); break;
    case MenuItem::clearall: clearall(window); break;
    case MenuItem::replace: replace(window); break;
    case MenuItem::totop: totop(window); break;
    case MenuItem::tolast: tolast(window); break;
    }
}

void Del(capture::GetPIC& window) { ConfirmedRemoval(window); }

void List1_DblClick(capture::GetPIC& window) {
    if (!window.IsChecked(ControlId::Check2)) return ConfirmedRemoval(window);
    RosterList roster = RosterOf(window);
    if (int selected = roster.Selection(); selected != kNoSelection) roster.Remove(selected);
}

void clearall(capture::GetPIC& window) { RosterOf(window).Clear(); }

void replace(capture::GetPIC& window) noexcept {
    RosterList roster = RosterOf(window);
    // From the last entry to the first: removals leave the positions still to
    // be visited where they were. An entry whose test fails stays.
    for (int i = roster.Count() - 1; i >= 0; --i)
        RunOrSkip([&] {
            if (HasStoredPhoto(roster.Text(i))) roster.Remove(i);
        });
}

void totop(capture::GetPIC& window) noexcept {
    RunOrSkip([&] {
        RosterList roster = RosterOf(window);
        int selected = roster.Selection();
        if (selected != kNoSelection) MoveEntry(roster, selected, 0);
    });
}

void tolast(capture::GetPIC& window) noexcept {
    RunOrSkip([&] {
        RosterList roster = RosterOf(window);
        int selected = roster.Selection();
        if (selected != kNoSelection) MoveEntry(roster, selected, roster.Count() - 1);
    });
}

}  // namespace vardolin::roster
