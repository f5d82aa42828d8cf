#include "capture/photo/PhotoFolderCheck.h"

#include "roster/PhotoFiles.h"
#include "roster/RosterTexts.h"
#include "win/BackgroundWork.h"
#include "win/ComponentError.h"

namespace vardolin::capture {

std::shared_ptr<PhotoFolderCheck> PhotoFolderCheck::Start(HWND window, UINT message) {
    auto check = std::make_shared<PhotoFolderCheck>();
    std::filesystem::path folder;
    try {
        folder = roster::PhotoFolder();
    } catch (...) {
        check->notice_ = WideDescription(CurrentError());
        PostMessageW(window, message, 0, 0);
        return check;
    }
    RunInBackground([check, folder, window, message] {
        if (DWORD error = roster::FolderReachError(folder)) {
            std::wstring notice = roster::UnreachableFolderText(roster::DisplayPath(folder), SystemMessage(error));
            std::lock_guard<std::mutex> held(check->lock_);
            check->notice_ = std::move(notice);
        }
        PostMessageW(window, message, 0, 0);
    });
    return check;
}

std::wstring PhotoFolderCheck::TakeNotice() {
    std::lock_guard<std::mutex> held(lock_);
    return std::exchange(notice_, std::wstring());
}

}  // namespace vardolin::capture
