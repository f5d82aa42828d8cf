// The fonts the host's windows use; their GDI objects and device contexts
// are owned with the handle owners of Win32Handles.h.
#pragma once

#include "Win32Handles.h"

namespace vardolin::devhost::app {

using capture::ScopedSelection;
using capture::UniqueBitmap;
using capture::UniqueBrush;
using capture::UniqueFont;
using capture::UniqueMemoryDc;
using capture::UniquePen;

// The face that shows Chinese and Latin names alike, at a pixel height.
UniqueFont CreateSheetFont(int pixelHeight);
// The system's message font, for labels, buttons and edit boxes.
UniqueFont CreateMessageFont();

}  // namespace vardolin::devhost::app
