// The photo folder looked at when the capture window opens: a share that is
// offline takes a while to say so, so the look is taken away from the
// window, which hears of the result by a message.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

namespace vardolin::capture {

class PhotoFolderCheck {
public:
    // Resolves the photo folder now and looks at it in the background;
    // posts `message` to `window` when the look is done.
    static std::shared_ptr<PhotoFolderCheck> Start(HWND window, UINT message);

    // Once the message came: empty when the folder can be reached, otherwise
    // the notice that names it and says why it cannot be. Given once.
    std::wstring TakeNotice();

private:
    std::mutex lock_;
    std::wstring notice_;
};

}  // namespace vardolin::capture
