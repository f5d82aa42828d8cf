// A picture box: a child window that shows a picture from its top-left corner,
// unscaled, optionally keeps its drawing in a persistent off-screen image, and
// can carry the outline of a crop frame.
#pragma once

#include "win/BaseWindow.h"
#include "win/MouseEvent.h"
#include "win/Win32Handles.h"

#include <functional>
#include <optional>
#include <string>

namespace vardolin::capture {

class PictureBox : public BaseWindow<PictureBox> {
public:
    struct Options {
        bool border = false;           // a sunken edge, not part of the inner area
        bool persistentImage = false;  // drawing kept off screen and survives repaints
    };

    PictureBox(HWND parent, int controlId, const RECT& bounds, Options options);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    HWND Window() const noexcept { return window_; }

    // Takes ownership of the picture; the box shows it from its top-left corner.
    void SetPicture(UniqueBitmap picture);
    HBITMAP Picture() const noexcept { return picture_.get(); }

    // Clears the drawing back to the background and the picture.
    void Clear();

    // One line shown in the middle of the box while it holds no picture (for
    // example why there is no camera picture); empty for none.
    void SetNotice(std::wstring notice);
    const std::wstring& Notice() const noexcept { return notice_; }

    // One line drawn along the bottom of the picture while the box holds one
    // (a problem found in a still); empty for none. Only the window shows
    // it: the picture itself is not drawn on.
    void SetWarning(std::wstring warning);
    const std::wstring& Warning() const noexcept { return warning_; }

    // The device context of the persistent image (null without one).
    HDC ImageDc() const noexcept { return image_.get(); }

    // The crop frame's outline, in inner-area pixels; drawn over the picture.
    void SetFrame(std::optional<RECT> frame);
    std::optional<RECT> Frame() const noexcept { return frame_; }

    // Receives every mouse message of the box, its point in pixels of the inner area.
    void SetMouseHandler(std::function<void(const MouseEvent&)> handler) { mouse_ = std::move(handler); }

    // Makes the box take the arrow keys and Space (each key pressed goes to the
    // handler), a tab stop while it holds a picture, and marks the frame while
    // it has the focus.
    void SetKeyHandler(std::function<void(UINT key)> handler);

private:
    friend class BaseWindow<PictureBox>;
    static WNDCLASSEXW WindowClass() noexcept;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnUncaughtError(HWND window, UINT, WPARAM, LPARAM) noexcept;
    void Paint(HDC dc);
    void DrawBackground(HDC dc) const;
    void DrawNotice(HDC dc) const;
    void DrawWarning(HDC dc) const;
    void UpdateTabStop();

    UniqueBitmap picture_;
    UniqueMemoryDc image_;
    UniqueBitmap imageBitmap_;
    ScopedSelection imageSelection_;
    std::optional<RECT> frame_;
    std::wstring notice_;
    std::wstring warning_;
    HFONT font_ = nullptr;  // given by the parent with WM_SETFONT, not owned
    std::function<void(const MouseEvent&)> mouse_;
    std::function<void(UINT key)> keys_;
};

}  // namespace vardolin::capture
