#pragma once
// Move-only owners of GDI objects, so that what a function obtains is
// released by that function on every path.

#include <windows.h>

#include <utility>

// A window's DC from GetDC, released with ReleaseDC.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDC() { if (dc_) ReleaseDC(window_, dc_); }
    ScopedWindowDC(const ScopedWindowDC &) = delete;
    ScopedWindowDC &operator=(const ScopedWindowDC &) = delete;
    ScopedWindowDC(ScopedWindowDC &&other) noexcept
        : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
    ScopedWindowDC &operator=(ScopedWindowDC &&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A font created from a LOGFONTW and selected into a DC; on release the old
// font goes back into the DC before the new one is deleted.
class ScopedSelectedFont {
public:
    ScopedSelectedFont(HDC dc, const LOGFONTW &font)
        : dc_(dc), font_(CreateFontIndirectW(&font)),
          old_(font_ ? SelectObject(dc, font_) : nullptr) {}
    ~ScopedSelectedFont()
    {
        if (!font_) return;
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    ScopedSelectedFont(const ScopedSelectedFont &) = delete;
    ScopedSelectedFont &operator=(const ScopedSelectedFont &) = delete;
    ScopedSelectedFont(ScopedSelectedFont &&other) noexcept
        : dc_(other.dc_), font_(std::exchange(other.font_, nullptr)), old_(other.old_) {}
    ScopedSelectedFont &operator=(ScopedSelectedFont &&) = delete;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};
