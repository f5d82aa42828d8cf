// The capture window's About button CmdOK ("关于") and how the About window
// attaches to it.
#pragma once

namespace vardolin::capture {
class GetPIC;
struct GetPICExtensions;
}  // namespace vardolin::capture

namespace vardolin::about {

// Takes the capture window off the top and shows the About window; while it
// is open, only brings it to the front. Every step runs even if one fails.
void CmdOK_Click(capture::GetPIC& captureWindow) noexcept;

// Fills the capture window's slot for the About button.
void Attach(capture::GetPICExtensions& slots);

}  // namespace vardolin::about
