// The crop frame `L`: a 156 x 188 outline inside the still-photo box that the
// user drags with the left button; each release copies the pixels under it
// into the crop preview.
#pragma once

#include "capture/PictureBox.h"
#include "capture/photo/PhotoParts.h"

namespace vardolin::capture {

struct FrameBox {
    int left, top, width, height;
};

// One move of the frame with the left button held: the offset of the pointer
// from the grab point (twips, 15 to the pixel) is added in whole pixels, and
// the frame is kept inside the inner area. Buttons other than the left alone,
// or a frame outside the inner area, leave it where it is.
FrameBox MoveCropFrame(FrameBox frame, SIZE inner, int buttons, float x, float y, int pressX, int pressY);

// The frame's mouse events: button 1 left, 2 right, 4 middle (for a move: the
// buttons held); pointer position in twips from the frame's top-left corner.
void L_MouseDown(CaptureSession& session, int button, float x, float y);
void L_MouseMove(const PhotoParts& photo, int buttons, float x, float y);
void L_MouseUp(const PhotoParts& photo, int button);

// Puts the frame's top-left corner at topLeft (inner pixels, already kept
// inside as a drag keeps it) and takes the crop there, as a release does.
void PlaceCropFrame(const PhotoParts& photo, POINT topLeft);

// The keyboard's way of framing, on the still-photo box: an arrow key moves
// the frame `step` pixels as a short drag would (kept inside the picture),
// Space takes the crop where the frame is; both end as a release does, so the
// crop preview follows.
void L_KeyDown(const PhotoParts& photo, UINT key, int step = 1);

// How far Shift with an arrow key moves the frame.
inline constexpr int kShiftedFrameStep = 10;

// Turn the still-photo box's mouse messages into the frame's events: those
// over the frame, and all of them while a button pressed on it is held.
void StillMouseDown(const PhotoParts& photo, const MouseEvent& mouse);
void StillMouseMove(const PhotoParts& photo, const MouseEvent& mouse);
void StillMouseUp(const PhotoParts& photo, const MouseEvent& mouse);

}  // namespace vardolin::capture
