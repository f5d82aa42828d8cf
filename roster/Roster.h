// The roster of people still to be photographed: import from the host's
// cells, editing commands and drag reordering on the capture window's list.
#pragma once

namespace vardolin::capture {
struct GetPICExtensions;
}

namespace vardolin::roster {

// Fills the capture window's slots for the popup menu commands and the
// list's double-click and mouse events.
void Attach(capture::GetPICExtensions& slots);

}  // namespace vardolin::roster
