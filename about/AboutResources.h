// Resource identifiers of the About window (shared by about.rc and the code).
#pragma once

// The artwork: a JPEG file stored as raw data.
#define IDR_ABOUT_ARTWORK 701
