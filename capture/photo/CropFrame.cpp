#include "capture/photo/CropFrame.h"

#include "win/Twips.h"

#include <cmath>
#include <cstdlib>

namespace vardolin::capture {
namespace {

constexpr int kLeftButtonAlone = 1;

// Nearest integer, halves to even (the default rounding mode).
int Nearest(double value) { return static_cast<int>(std::nearbyint(value)); }

SIZE InnerSize(HWND box) {
    RECT client{};
    GetClientRect(box, &client);
    return {client.right, client.bottom};
}

FrameBox ToBox(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }
RECT ToRect(const FrameBox& f) { return {f.left, f.top, f.left + f.width, f.top + f.height}; }

FrameBox FrameOf(const PictureBox& still) {
    auto frame = still.Frame();
    return frame ? ToBox(*frame) : FrameBox{0, 0, 0, 0};
}

// What the still-photo box shows, without the frame's outline: the background
// and the photo from its top-left corner.
void RenderShownImage(PictureBox& still, HDC target, SIZE inner) {
    RECT all{0, 0, inner.cx, inner.cy};
    FillRect(target, &all, GetSysColorBrush(COLOR_BTNFACE));
    BITMAP shape{};
    if (!still.Picture() || !GetObjectW(still.Picture(), sizeof shape, &shape)) return;
    WindowDc screen(nullptr);
    UniqueMemoryDc source(CreateCompatibleDC(screen.get()));
    ScopedSelection selected(source.get(), still.Picture());
    BitBlt(target, 0, 0, shape.bmWidth, shape.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void CopyCropToPreview(PictureBox& still, PictureBox& preview, const RECT& crop) {
    if (!preview.ImageDc()) return;
    SIZE inner = InnerSize(still.Window());
    WindowDc screen(nullptr);
    UniqueMemoryDc shown(CreateCompatibleDC(screen.get()));
    UniqueBitmap canvas(CreateCompatibleBitmap(screen.get(), inner.cx, inner.cy));
    {
        ScopedSelection selected(shown.get(), canvas.get());
        RenderShownImage(still, shown.get(), inner);
        preview.Clear();
        int width = std::abs(crop.left - crop.right), height = std::abs(crop.top - crop.bottom);
        BitBlt(preview.ImageDc(), 0, 0, width, height, shown.get(), crop.left, crop.top, SRCCOPY);
    }
    InvalidateRect(preview.Window(), nullptr, FALSE);
    UpdateWindow(preview.Window());
}

// Where a mouse message of the still-photo box finds the pointer: over the
// frame or not, whether the box holds the mouse, and the position in twips
// from the frame's top-left corner.
struct StillPointer {
    bool over;
    bool held;
    float x;
    float y;
};

StillPointer PointerOn(const PhotoParts& photo, const MouseEvent& mouse) {
    FrameBox frame = FrameOf(photo.still);
    RECT area = ToRect(frame);
    return {PtInRect(&area, mouse.point) != FALSE, GetCapture() == photo.still.Window(),
            static_cast<float>((mouse.point.x - frame.left) * kTwipsPerPixel),
            static_cast<float>((mouse.point.y - frame.top) * kTwipsPerPixel)};
}

}  // namespace

FrameBox MoveCropFrame(FrameBox frame, SIZE inner, int buttons, float x, float y, int pressX, int pressY) {
    bool inside = inner.cy - frame.height >= frame.top && inner.cx - frame.width >= frame.left &&
                  buttons == kLeftButtonAlone && frame.top >= 0 && frame.left >= 0;
    if (!inside) return frame;
    frame.top += Nearest(static_cast<double>(y) - pressY) / kTwipsPerPixel;
    frame.left += Nearest(static_cast<double>(x) - pressX) / kTwipsPerPixel;
    if (frame.top < 0) frame.top = 0;
    if (frame.left < 0) frame.left = 0;
    if (inner.cy - frame.height < frame.top) frame.top = inner.cy - frame.height;
    if (inner.cx - frame.width < frame.left) frame.left = inner.cx - frame.width;
    return frame;
}

void L_MouseDown(CaptureSession& session, int button, float x, float y) {
    if (button != kLeftButtonAlone) return;
    session.pressX = Nearest(x);
    session.pressY = Nearest(y);
}

void L_MouseMove(const PhotoParts& photo, int buttons, float x, float y) {
    CaptureSession& session = photo.session;
    PictureBox& still = photo.still;
    FrameBox before = FrameOf(still);
    FrameBox after = MoveCropFrame(before, InnerSize(still.Window()), buttons, x, y, session.pressX, session.pressY);
    if (after.left != before.left || after.top != before.top) {
        still.SetFrame(ToRect(after));
        UpdateWindow(still.Window());
    }
}

void L_MouseUp(const PhotoParts& photo, int button) {
    if (button != kLeftButtonAlone) return;
    CaptureSession& session = photo.session;
    FrameBox frame = FrameOf(photo.still);
    session.crop = {frame.left, frame.top, frame.width + frame.left, frame.height + frame.top};
    CopyCropToPreview(photo.still, photo.preview, session.crop);
    session.cropFromPhoto = photo.still.Picture() != nullptr;
}

void PlaceCropFrame(const PhotoParts& photo, POINT topLeft) {
    FrameBox frame = FrameOf(photo.still);
    photo.still.SetFrame(ToRect({topLeft.x, topLeft.y, frame.width, frame.height}));
    L_MouseUp(photo, kLeftButtonAlone);
}

void L_KeyDown(const PhotoParts& photo, UINT key, int step) {
    int dx = key == VK_LEFT ? -step : key == VK_RIGHT ? step : 0;
    int dy = key == VK_UP ? -step : key == VK_DOWN ? step : 0;
    if (!dx && !dy && key != VK_SPACE) return;
    L_MouseDown(photo.session, kLeftButtonAlone, 0, 0);
    if (dx || dy)
        L_MouseMove(photo, kLeftButtonAlone, static_cast<float>(dx * kTwipsPerPixel),
                    static_cast<float>(dy * kTwipsPerPixel));
    L_MouseUp(photo, kLeftButtonAlone);
}

void StillMouseMove(const PhotoParts& photo, const MouseEvent& mouse) {
    StillPointer at = PointerOn(photo, mouse);
    if (at.held ? photo.session.grabbedByFrame : at.over) L_MouseMove(photo, mouse.held, at.x, at.y);
}

void StillMouseDown(const PhotoParts& photo, const MouseEvent& mouse) {
    StillPointer at = PointerOn(photo, mouse);
    // The first button pressed decides who gets the events until all are released.
    if (!at.held) {
        SetCapture(photo.still.Window());
        photo.session.grabbedByFrame = at.over;
    }
    if (photo.session.grabbedByFrame) L_MouseDown(photo.session, mouse.button, at.x, at.y);
}

void StillMouseUp(const PhotoParts& photo, const MouseEvent& mouse) {
    StillPointer at = PointerOn(photo, mouse);
    bool toFrame = at.held ? photo.session.grabbedByFrame : at.over;
    if (at.held && mouse.held == 0) ReleaseCapture();
    if (toFrame) L_MouseUp(photo, mouse.button);
}

}  // namespace vardolin::capture
