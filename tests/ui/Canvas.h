#pragma once
// A 32-bit memory bitmap to draw into and read pixels back from.
#include <windows.h>

#include <functional>

namespace uitest {

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT Rect() const { return RECT{0, 0, width_, height_}; }
    COLORREF Pixel(int x, int y) const;

    // Copies what is on screen in a window's client area (children included).
    void CopyFromWindow(HWND window, int x, int y);
    // The number of pixels in the area for which the predicate holds.
    int Count(const RECT& area, const std::function<bool(int x, int y, COLORREF)>& predicate) const;
    // The bounding box of the pixels of the area that differ from `color`; empty when none.
    RECT BoundsOfOther(const RECT& area, COLORREF color) const;
    bool SameArea(const Canvas& other, const RECT& area) const;

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    DWORD* bits_ = nullptr;
};

// An icon drawn on a plain background at the given place: the expected look.
void DrawExpectedIcon(Canvas& canvas, HICON icon, int x, int y);

}  // namespace uitest
