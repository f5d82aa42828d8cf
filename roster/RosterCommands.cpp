#include "roster/RosterCommands.h"

#include "win/ContinueOnError.h"
#include "roster/PhotoFiles.h"

#include <algorithm>

namespace vardolin::roster {
namespace {

using vardolin::RunOrSkip;

void ConfirmedRemoval(RosterList roster, vardolin::TopmostWindow& window, const vardolin::Environment& environment) {
    int selected = roster.Selection();
    if (selected == kNoSelection) return;
    window.Cancel_SetTop();
    int answer = environment.ShowMessageBox(window.Window(), kConfirmRemovalText + roster.Text(selected),
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

void Del(RosterList roster, vardolin::TopmostWindow& window, const vardolin::Environment& environment) {
    ConfirmedRemoval(roster, window, environment);
}

void List1_DblClick(RosterList roster, vardolin::TopmostWindow& window, const vardolin::Environment& environment,
                    bool directDelete) {
    if (!directDelete) return ConfirmedRemoval(roster, window, environment);
    if (int selected = roster.Selection(); selected != kNoSelection) roster.Remove(selected);
}

void clearall(RosterList roster) { roster.Clear(); }

void replace(RosterList roster) noexcept {
    // From the last entry to the first: removals leave the positions still to
    // be visited where they were. An entry whose test fails stays.
    for (int i = roster.Count() - 1; i >= 0; --i)
        RunOrSkip([&] {
            if (HasStoredPhoto(roster.Text(i))) roster.Remove(i);
        });
}

void totop(RosterList roster) noexcept {
    RunOrSkip([&] {
        int selected = roster.Selection();
        if (selected != kNoSelection) MoveEntry(roster, selected, 0);
    });
}

void tolast(RosterList roster) noexcept {
    RunOrSkip([&] {
        int selected = roster.Selection();
        if (selected != kNoSelection) MoveEntry(roster, selected, roster.Count() - 1);
    });
}

void OpenPhotoFolder(vardolin::TopmostWindow& window, const vardolin::Environment& environment) noexcept {
    RunOrSkip([&] {
        const std::filesystem::path folder = LibraryFolder() / L"Pic";
        CreateDirectoryW(folder.c_str(), nullptr);
        DWORD attributes = GetFileAttributesW(folder.c_str());
        bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (isFolder && environment.folderOpener(DisplayPath(folder))) return;
        // Missing because the component's folder takes no new entries, or a
        // file in its place, or no file manager to show it.
        std::wstring notice = isFolder ? L"" : UnwritableFolderNotice(LibraryFolder());
        if (notice.empty()) notice = kPhotoFolderNotOpenedText + DisplayPath(folder);
        window.Cancel_SetTop();
        environment.ShowMessageBox(window.Window(), notice, kPhotoFolderTitle, MB_OK | MB_ICONEXCLAMATION);
        window.SetTop();
    });
}

}  // namespace vardolin::roster
