// The camera owns its Win32 handles (GDI objects, device contexts, events,
// registry keys) with the same owners as the capture window: each releases
// its handle exactly once, on every path.
#pragma once

#include "win/Win32Handles.h"

namespace vardolin::democam {

using vardolin::ScopedSelection;
using vardolin::UniqueEvent;
using vardolin::UniqueGdiObject;
using vardolin::UniqueKey;
using vardolin::UniqueMemoryDc;

}  // namespace vardolin::democam
