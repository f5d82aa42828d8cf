// The fonts the host's windows use; their GDI objects and device contexts
// are owned with the handle owners of Win32Handles.h.
#pragma once

#include "win/Win32Handles.h"

namespace vardolin::devhost::app {

using vardolin::ScopedSelection;
using vardolin::UniqueBitmap;
using vardolin::UniqueBrush;
using vardolin::UniqueFont;
using vardolin::UniqueMemoryDc;
using vardolin::UniquePen;

// The face that shows Chinese and Latin names alike, at a pixel height.
UniqueFont CreateSheetFont(int pixelHeight);
// The system's message font, for labels, buttons and edit boxes.
UniqueFont CreateMessageFont();

}  // namespace vardolin::devhost::app
