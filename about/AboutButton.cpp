#include "AboutButton.h"

#include "ContinueOnError.h"

namespace vardolin::about {

void CmdOK_Click(capture::TopmostWindow& captureWindow, frmAbout& about) noexcept {
    // The About window puts the capture window on top again when it closes.
    captureWindow.Cancel_SetTop();
    capture::RunOrSkip([&] { about.Show(); });
}

}  // namespace vardolin::about
