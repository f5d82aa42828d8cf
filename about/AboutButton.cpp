#include "AboutButton.h"

#include "ContinueOnError.h"
#include "GetPIC.h"
#include "GetPICExtensions.h"
#include "frmAbout.h"

namespace vardolin::about {

void CmdOK_Click(capture::GetPIC& captureWindow) noexcept {
    // The About window puts the capture window on top again when it closes.
    captureWindow.Cancel_SetTop();
    capture::RunOrSkip([] { AboutWindow().Show(); });
}

void Attach(capture::GetPICExtensions& slots) { slots.cmdOKClick = &CmdOK_Click; }

}  // namespace vardolin::about
