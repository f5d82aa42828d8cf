// Owners for the Win32 and COM handles of every part (windows, GDI objects,
// device contexts, registry keys, kernel objects, BSTRs, memory the system
// hands over with CoTaskMemAlloc or LocalAlloc): each one releases its handle
// exactly once, on every path.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace vardolin {

// A move-only owner of one handle, released by Traits::Close.
template <class Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }
    Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old) Traits::Close(old);
    }

private:
    Handle handle_{};
};

// The traits of a handle that one system function releases. Kind tells apart
// owners of handles that share a C type and a release function but not a use.
template <class H, auto Free, class Kind = void>
struct ClosedBy {
    using Handle = H;
    static void Close(H handle) noexcept { Free(handle); }
};

using UniquePen = UniqueHandle<ClosedBy<HPEN, DeleteObject>>;
using UniqueFont = UniqueHandle<ClosedBy<HFONT, DeleteObject>>;
using UniqueBitmap = UniqueHandle<ClosedBy<HBITMAP, DeleteObject>>;
using UniqueBrush = UniqueHandle<ClosedBy<HBRUSH, DeleteObject>>;
using UniqueGdiObject = UniqueHandle<ClosedBy<HGDIOBJ, DeleteObject>>;
using UniqueMemoryDc = UniqueHandle<ClosedBy<HDC, DeleteDC>>;
using UniqueKey = UniqueHandle<ClosedBy<HKEY, RegCloseKey>>;
using UniqueMenu = UniqueHandle<ClosedBy<HMENU, DestroyMenu>>;
using UniqueWindow = UniqueHandle<ClosedBy<HWND, DestroyWindow>>;
using UniqueHook = UniqueHandle<ClosedBy<HHOOK, UnhookWindowsHookEx>>;
using UniqueBstr = UniqueHandle<ClosedBy<BSTR, SysFreeString>>;

// Kernel objects that are null when they could not be made; one type each, so
// that an event cannot stand where a thread or a file is meant.
using UniqueEvent = UniqueHandle<ClosedBy<HANDLE, CloseHandle, struct EventKind>>;
using UniqueThread = UniqueHandle<ClosedBy<HANDLE, CloseHandle, struct ThreadKind>>;

// Files: CreateFile's failure value INVALID_HANDLE_VALUE is kept as null.
using UniqueFile = UniqueHandle<ClosedBy<HANDLE, CloseHandle, struct FileKind>>;
inline UniqueFile AdoptFile(HANDLE file) noexcept { return UniqueFile(file == INVALID_HANDLE_VALUE ? nullptr : file); }

// A directory search (FindFirstFile), its failure value kept as null.
using UniqueSearch = UniqueHandle<ClosedBy<HANDLE, FindClose>>;
inline UniqueSearch AdoptSearch(HANDLE search) noexcept {
    return UniqueSearch(search == INVALID_HANDLE_VALUE ? nullptr : search);
}

// Memory a COM call hands to the caller (names, media types, arrays).
template <class T = void>
using UniqueCoTaskMem = UniqueHandle<ClosedBy<T*, CoTaskMemFree>>;

// Memory a Win32 call allocates for the caller (FormatMessage's text, ...).
template <class T = void>
using UniqueLocalMemory = UniqueHandle<ClosedBy<T*, LocalFree>>;

// A device context taken with GetDC, given back with ReleaseDC.
class WindowDc {
public:
    WindowDc() noexcept = default;
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDc(WindowDc&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = other.window_;
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { reset(); }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept {
        if (dc_) ReleaseDC(window_, std::exchange(dc_, nullptr));
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// Selects an object into a device context and puts the previous one back.
class ScopedSelection {
public:
    ScopedSelection() noexcept = default;
    ScopedSelection(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ScopedSelection(ScopedSelection&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
    ScopedSelection& operator=(ScopedSelection&& other) noexcept {
        if (this != &other) {
            reset();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;
    ~ScopedSelection() { reset(); }

    // Whether the object was selected (and will be deselected).
    explicit operator bool() const noexcept { return previous_ && previous_ != HGDI_ERROR; }

    void reset() noexcept {
        if (dc_ && previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
        dc_ = nullptr;
        previous_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

}  // namespace vardolin
