#include "ui/CStaticText.h"

void PaintTransparentText(HDC dc, const RECT& rect, const char* text, HFONT font, COLORREF color, UINT format) {
    int saved = ::SaveDC(dc);
    if (font)
        ::SelectObject(dc, font);
    ::SetTextColor(dc, color);
    ::SetBkMode(dc, TRANSPARENT);
    RECT area = rect;
    ::DrawTextA(dc, text, -1, &area, format);
    ::RestoreDC(dc, saved);
}

void CStaticText::Paint(HDC dc) const {
    String text = GetWindowText();
    PaintTransparentText(dc, GetClientRect(), text.c_str(), GetFont(), textColor_, format_);
}

// Nothing of this control erases its old text, so the parent has to paint
// its background there first: hiding the control uncovers that area, and the
// parent repaints it at once, before the control shows its new text on top,
// whatever order the message loop would otherwise paint them in.
LRESULT CStaticText::ReplaceText(WPARAM wp, LPARAM lp) {
    bool visible = (GetStyle() & WS_VISIBLE) != 0;
    if (visible)
        ShowWindow(SW_HIDE);
    LRESULT result = DefaultProc(WM_SETTEXT, wp, lp);
    if (visible) {
        ::UpdateWindow(GetParent());
        ShowWindow(SW_SHOW);
    }
    return result;
}

LRESULT CStaticText::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = wp ? reinterpret_cast<HDC>(wp) : ::BeginPaint(hwnd_, &paint);
        Paint(dc);
        if (!wp)
            ::EndPaint(hwnd_, &paint);
        return 0;
    }
    case WM_SETTEXT:
        return ReplaceText(wp, lp);
    default:
        return DefaultProc(msg, wp, lp);
    }
}
