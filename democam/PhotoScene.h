// The demo camera's second scene: a real photograph (a public-domain
// portrait of an astronaut, embedded at build time as a 256-colour picture)
// that drifts slowly across the frame, for trying face finding on a real face.
//
// Like the drawn scene it is laid out on the 320 x 240 stage scaled to the
// frame's height (or width) and centred; the photograph is larger than the
// stage and the stage shows a window of it that wanders over it.
#pragma once

#include "democam/DemoScene.h"

#include <cstdint>

namespace vardolin::democam {

struct PaletteColour {
    uint8_t blue, green, red;
};

struct EmbeddedPhoto {
    int width, height;
    const PaletteColour* palette;
    const unsigned char* indices;  // width x height, top row first
};

// Generated from the photograph by photo_table.py.
extern const EmbeddedPhoto kEmbeddedPhoto;

// Where the stage's top-left corner lies on the photograph at moment t: it
// sweeps the photograph's whole margin, once across in about 20 seconds.
struct PhotoOffset {
    int x, y;
};
PhotoOffset PhotoOffsetAt(std::chrono::milliseconds t);

// Draws the photograph scene at moment t into picture, resized to width x
// height (both at least 1).
void DrawPhotoScene(ScenePicture& picture, int width, int height, std::chrono::milliseconds t);

}  // namespace vardolin::democam
