// The capture window's About button CmdOK ("关于").
#pragma once

#include "TopmostWindow.h"
#include "frmAbout.h"

namespace vardolin::about {

// Takes the capture window off the top and shows the About window; while it
// is open, only brings it to the front. Every step runs even if one fails.
void CmdOK_Click(vardolin::TopmostWindow& captureWindow, frmAbout& about) noexcept;

}  // namespace vardolin::about
