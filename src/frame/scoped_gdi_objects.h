#pragma once
// Move-only owners of the GDI objects the button bar and its captions use:
// each is released by the function that obtained it, on every path.

#include <windows.h>

#include <utility>

// A pen, brush, bitmap or font, deleted with DeleteObject.
template <typename Handle>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle object) : object_(object) {}
    ~ScopedGdiObject()
    {
        if (object_) DeleteObject(object_);
    }
    ScopedGdiObject(const ScopedGdiObject &) = delete;
    ScopedGdiObject &operator=(const ScopedGdiObject &) = delete;
    ScopedGdiObject(ScopedGdiObject &&other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ScopedGdiObject &operator=(ScopedGdiObject &&) = delete;
    Handle get() const { return object_; }

private:
    Handle object_;
};
using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedPen = ScopedGdiObject<HPEN>;

// An object selected into a DC; the previous one goes back on release.
// Declare it after the object's own owner, so it is released first.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelection()
    {
        if (ok()) SelectObject(dc_, old_);
    }
    ScopedSelection(const ScopedSelection &) = delete;
    ScopedSelection &operator=(const ScopedSelection &) = delete;
    ScopedSelection(ScopedSelection &&other) noexcept
        : dc_(other.dc_), old_(std::exchange(other.old_, nullptr)) {}
    ScopedSelection &operator=(ScopedSelection &&) = delete;
    bool ok() const { return old_ != nullptr && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory DC compatible with another, deleted with DeleteDC.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~ScopedMemoryDC()
    {
        if (dc_) DeleteDC(dc_);
    }
    ScopedMemoryDC(const ScopedMemoryDC &) = delete;
    ScopedMemoryDC &operator=(const ScopedMemoryDC &) = delete;
    ScopedMemoryDC(ScopedMemoryDC &&other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    ScopedMemoryDC &operator=(ScopedMemoryDC &&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// The DC of a whole window, frame included (GetWindowDC), released with ReleaseDC.
class ScopedWindowFrameDC {
public:
    explicit ScopedWindowFrameDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~ScopedWindowFrameDC()
    {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedWindowFrameDC(const ScopedWindowFrameDC &) = delete;
    ScopedWindowFrameDC &operator=(const ScopedWindowFrameDC &) = delete;
    ScopedWindowFrameDC(ScopedWindowFrameDC &&other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    ScopedWindowFrameDC &operator=(ScopedWindowFrameDC &&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};
