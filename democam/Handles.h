// Owners for the Win32 handles the camera uses (GDI objects, device contexts,
// events, registry keys): each releases its handle exactly once, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace vardolin::democam {

template <class Handle, auto Close>
class UniqueHandle {
public:
    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }
    void reset(Handle handle = Handle{}) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old) Close(old);
    }

private:
    Handle handle_{};
};

inline void CloseGdiObject(HGDIOBJ object) noexcept { DeleteObject(object); }
inline void CloseMemoryDc(HDC dc) noexcept { DeleteDC(dc); }
inline void CloseKernelHandle(HANDLE handle) noexcept { CloseHandle(handle); }
inline void CloseKey(HKEY key) noexcept { RegCloseKey(key); }

using UniqueGdiObject = UniqueHandle<HGDIOBJ, CloseGdiObject>;
using UniqueMemoryDc = UniqueHandle<HDC, CloseMemoryDc>;
using UniqueEvent = UniqueHandle<HANDLE, CloseKernelHandle>;
using UniqueKey = UniqueHandle<HKEY, CloseKey>;

// Selects an object into a device context and puts the previous one back.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;
    ~ScopedSelection() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace vardolin::democam
