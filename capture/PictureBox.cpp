#include "capture/PictureBox.h"

#include "win/ModuleInstance.h"
#include "win/UntrappedError.h"

#include <algorithm>

namespace vardolin::capture {
namespace {

constexpr const wchar_t* kClassName = L"VardolinPictureBox";

SIZE InnerSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

void DrawPicture(HDC dc, HBITMAP picture) {
    if (!picture) return;
    BITMAP info{};
    if (!GetObjectW(picture, sizeof info, &info)) return;
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    ScopedSelection selected(source.get(), picture);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void DrawFrameOutline(HDC dc, const RECT& frame) {
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    FrameRect(dc, &frame, black);
}

}  // namespace

PictureBox::PictureBox(HWND parent, int controlId, const RECT& bounds, Options options) {
    // Attached once created: the creation messages are left to the system.
    HWND window =
        CreateWindowExW(options.border ? WS_EX_CLIENTEDGE : 0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                        bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), ModuleInstance(), nullptr);
    if (window) Attach(window);
    if (options.persistentImage && window_) {
        SIZE size = InnerSize(window_);
        WindowDc screen(window_);
        image_.reset(CreateCompatibleDC(screen.get()));
        imageBitmap_.reset(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
        imageSelection_ = ScopedSelection(image_.get(), imageBitmap_.get());
        Clear();
    }
}

void PictureBox::SetKeyHandler(std::function<void(UINT key)> handler) {
    keys_ = std::move(handler);
    UpdateTabStop();
}

void PictureBox::UpdateTabStop() {
    LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE) & ~LONG_PTR{WS_TABSTOP};
    if (keys_ && picture_) style |= WS_TABSTOP;
    SetWindowLongPtrW(window_, GWL_STYLE, style);
}

void PictureBox::SetPicture(UniqueBitmap picture) {
    picture_ = std::move(picture);
    UpdateTabStop();
    Clear();
}

void PictureBox::Clear() {
    if (image_) {
        DrawBackground(image_.get());
        DrawPicture(image_.get(), picture_.get());
    }
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void PictureBox::SetNotice(std::wstring notice) {
    notice_ = std::move(notice);
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void PictureBox::DrawNotice(HDC dc) const {
    if (notice_.empty() || picture_) return;
    SIZE size = InnerSize(window_);
    RECT inner{0, 0, size.cx, size.cy};
    ScopedSelection font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, notice_.c_str(), -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PictureBox::SetWarning(std::wstring warning) {
    warning_ = std::move(warning);
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

// Dark red on the button face, in a band across the picture's bottom, so it
// reads on any photo.
void PictureBox::DrawWarning(HDC dc) const {
    BITMAP shape{};
    if (warning_.empty() || !picture_ || !GetObjectW(picture_.get(), sizeof shape, &shape)) return;
    SIZE size = InnerSize(window_);
    ScopedSelection font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    int bottom = std::min<int>(size.cy, shape.bmHeight);
    RECT band{0, std::max(0, bottom - static_cast<int>(metrics.tmHeight) - 4), std::min<int>(size.cx, shape.bmWidth),
              bottom};
    FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(192, 0, 0));
    DrawTextW(dc, warning_.c_str(), -1, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PictureBox::SetFrame(std::optional<RECT> frame) {
    frame_ = frame;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

void PictureBox::DrawBackground(HDC dc) const {
    RECT inner{0, 0, 0, 0};
    SIZE size = InnerSize(window_);
    inner.right = size.cx;
    inner.bottom = size.cy;
    FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNFACE));
}

void PictureBox::Paint(HDC dc) {
    if (image_) {
        SIZE size = InnerSize(window_);
        BitBlt(dc, 0, 0, size.cx, size.cy, image_.get(), 0, 0, SRCCOPY);
    } else {
        DrawBackground(dc);
        DrawPicture(dc, picture_.get());
    }
    if (frame_) DrawFrameOutline(dc, *frame_);
    if (frame_ && GetFocus() == window_) {
        RECT around = *frame_;
        InflateRect(&around, 2, 2);
        DrawFocusRect(dc, &around);
    }
    DrawWarning(dc);
    DrawNotice(dc);  // over the frame's outline, on the background colour, so it stays legible
}

// Destroyed before the drawing objects it shows.
PictureBox::~PictureBox() {
    if (window_) DestroyWindow(window_);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers the whole inner area
    case WM_SETFONT: font_ = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE: return keys_ ? DLGC_WANTARROWS | DLGC_WANTCHARS : 0;
    case WM_KEYDOWN:
        if (!keys_) break;
        keys_(static_cast<UINT>(wParam));
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(window_, nullptr, FALSE); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        Paint(dc);
        EndPaint(window_, &ps);
        return 0;
    }
    default:
        if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && mouse_) {
            mouse_(FromMessage(message, wParam, lParam));
            return 0;
        }
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT PictureBox::OnUncaughtError(HWND window, UINT, WPARAM, LPARAM) noexcept {
    return ReportUntrapped(GetAncestor(window, GA_ROOT));
}

WNDCLASSEXW PictureBox::WindowClass() noexcept { return NamedWindowClass(kClassName, IDC_ARROW); }

}  // namespace vardolin::capture
