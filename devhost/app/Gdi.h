// Owners for the GDI objects and device contexts the host's windows draw
// with, and the font its windows use.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace vardolin::devhost::app {

struct GdiObjectDeleter {
    void operator()(void* object) const noexcept { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using GdiPtr = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using FontPtr = GdiPtr<HFONT>;
using BrushPtr = GdiPtr<HBRUSH>;
using PenPtr = GdiPtr<HPEN>;
using BitmapPtr = GdiPtr<HBITMAP>;

struct MemoryDcDeleter {
    void operator()(HDC dc) const noexcept { DeleteDC(dc); }
};
using MemoryDcPtr = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

// Selects an object into a device context for as long as it lives.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The face that shows Chinese and Latin names alike, at a pixel height.
FontPtr CreateSheetFont(int pixelHeight);
// The system's message font, for labels, buttons and edit boxes.
FontPtr CreateMessageFont();

}  // namespace vardolin::devhost::app
