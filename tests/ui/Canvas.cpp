#include "Canvas.h"

#include <algorithm>

namespace uitest {

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<DWORD*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all = Rect();
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    DWORD value = bits_[y * width_ + x];
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void Canvas::CopyFromWindow(HWND window, int x, int y) {
    HDC source = GetDCEx(window, nullptr, DCX_CACHE);
    BitBlt(dc_, 0, 0, width_, height_, source, x, y, SRCCOPY);
    ReleaseDC(window, source);
}

int Canvas::Count(const RECT& area, const std::function<bool(int, int, COLORREF)>& predicate) const {
    int count = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height_); ++y)
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width_); ++x)
            if (predicate(x, y, Pixel(x, y)))
                ++count;
    return count;
}

RECT Canvas::BoundsOfOther(const RECT& area, COLORREF color) const {
    RECT bounds = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    Count(area, [&](int x, int y, COLORREF pixel) {
        if (pixel == color)
            return false;
        bounds.left = std::min<LONG>(bounds.left, x);
        bounds.top = std::min<LONG>(bounds.top, y);
        bounds.right = std::max<LONG>(bounds.right, x + 1);
        bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
        return true;
    });
    if (bounds.left == LONG_MAX)
        return RECT{0, 0, 0, 0};
    return bounds;
}

bool Canvas::SameArea(const Canvas& other, const RECT& area) const {
    return Count(area, [&](int x, int y, COLORREF pixel) { return other.Pixel(x, y) != pixel; }) == 0;
}

void DrawExpectedIcon(Canvas& canvas, HICON icon, int x, int y) {
    DrawIconEx(canvas.Dc(), x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

}  // namespace uitest
