// The roster list's drawing tools: the list window's device context with a
// black 1-pixel pen and the stock hollow brush selected into it. They live
// from the capture window's load to its unload; the drag outline is drawn
// with them.
#pragma once

#include "win/Win32Handles.h"

namespace vardolin::roster {

class ListDrawingTools {
public:
    // Raises an error when a tool cannot be had.
    explicit ListDrawingTools(HWND list);

    HDC Dc() const noexcept { return dc_.get(); }
    HPEN Pen() const noexcept { return pen_.get(); }
    HBRUSH HollowBrush() const noexcept { return hollowBrush_; }

private:
    // Released in reverse order: the old objects go back into the DC, the DC
    // is released, and only then is the pen (no longer selected) deleted.
    UniquePen pen_;
    HBRUSH hollowBrush_;
    WindowDc dc_;
    ScopedSelection penSelection_;
    ScopedSelection brushSelection_;
};

}  // namespace vardolin::roster
