#include "AboutButton.h"

#include "ContinueOnError.h"

namespace vardolin::about {

void CmdOK_Click(vardolin::TopmostWindow& captureWindow, frmAbout& about) noexcept {
    // The About window puts the capture window on top again when it closes.
    captureWindow.Cancel_SetTop();
    vardolin::RunOrSkip([&] { about.Show(); });
}

}  // namespace vardolin::about
