#include "roster/RosterCommands.h"

#include "roster/PhotoFiles.h"
#include "win/BackgroundWork.h"
#include "win/ComponentError.h"
#include "win/ContinueOnError.h"
#include "win/Settings.h"

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

void Tell(vardolin::TopmostWindow& window, const vardolin::Environment& environment, const std::wstring& text) {
    window.Cancel_SetTop();
    environment.ShowMessageBox(window.Window(), text, kPhotoFolderTitle, MB_OK | MB_ICONEXCLAMATION);
    window.SetTop();
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
    RunOrSkip([&] {
        const std::filesystem::path folder = PhotoFolder();
        const std::vector<std::wstring> texts = roster.Texts();
        // The photo folder may be a slow share: looked up away from the window.
        std::vector<char> stored(texts.size(), 0);
        vardolin::RunAwayFromWindow([&] {
            for (size_t i = 0; i < texts.size(); ++i) RunOrSkip([&] { stored[i] = HasStoredPhoto(folder, texts[i]); });
        });
        // From the last entry to the first: removals leave the positions still
        // to be visited where they were. An entry whose test fails stays.
        for (int i = static_cast<int>(texts.size()) - 1; i >= 0; --i)
            RunOrSkip([&] {
                if (stored[i]) roster.Remove(i);
            });
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
        std::filesystem::path folder;
        try {
            folder = PhotoFolder();
        } catch (...) {
            return Tell(window, environment, vardolin::WideDescription(vardolin::CurrentError()));
        }
        std::wstring notice = vardolin::ResultAwayFromWindow([&] {
            DWORD made = CreateDirectoryW(folder.c_str(), nullptr) ? 0 : GetLastError();
            // Missing because it cannot be made or reached, or a file in its
            // place, or no file manager to show it.
            DWORD attributes = GetFileAttributesW(folder.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                DWORD why = FolderReachError(folder);
                if (!why) why = made ? made : ERROR_PATH_NOT_FOUND;
                return UnreachableFolderText(DisplayPath(folder), vardolin::SystemMessage(why));
            }
            return environment.folderOpener(DisplayPath(folder)) ? std::wstring()
                                                                 : kPhotoFolderNotOpenedText + DisplayPath(folder);
        });
        if (!notice.empty()) Tell(window, environment, notice);
    });
}

void ChangePhotoFolder(vardolin::TopmostWindow& window, const vardolin::Environment& environment) noexcept {
    RunOrSkip([&] {
        if (vardolin::PhotoFolderSetByPolicy()) return;
        std::wstring current;
        RunOrSkip([&] { current = DisplayPath(PhotoFolder()); });
        window.Cancel_SetTop();
        std::optional<std::wstring> chosen;
        RunOrSkip([&] { chosen = environment.folderPicker(window.Window(), current); });
        window.SetTop();
        if (!chosen || chosen->empty()) return;
        try {
            vardolin::RememberPhotoFolder(*chosen);
        } catch (...) {
            Tell(window, environment, vardolin::WideDescription(vardolin::CurrentError()));
        }
    });
}

}  // namespace vardolin::roster
