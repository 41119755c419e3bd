#include "ui/BtnSTPaint.h"

#include "ui/BtnSTLayout.h"

BtnSTColors SystemBtnSTColors() {
    COLORREF face = ::GetSysColor(COLOR_BTNFACE), text = ::GetSysColor(COLOR_BTNTEXT);
    return BtnSTColors{face, text, face, text, face, text};
}

int ChooseBtnSTIcon(const BtnSTPaintState& state) {
    if (!state.icons[0])
        return -1;
    if (state.hovered || state.pressed || !state.icons[1])
        return 0;
    return 1;
}

// Solid fills through the background colour need no brush of their own.
static void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    ::SetBkColor(dc, color);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

static void FillSolid(HDC dc, LONG left, LONG top, LONG right, LONG bottom, COLORREF color) {
    RECT rect = {left, top, right, bottom};
    FillSolid(dc, rect, color);
}

static void DrawThin3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    FillSolid(dc, r.left, r.top, r.right - 1, r.top + 1, topLeft);
    FillSolid(dc, r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    FillSolid(dc, r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
    FillSolid(dc, r.right - 1, r.top, r.right, r.bottom, bottomRight);
}

static void DrawRaisedEdge(HDC dc, const RECT& r) {
    DrawThin3dRect(dc, r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    RECT inner = r;
    ::InflateRect(&inner, -1, -1);
    DrawThin3dRect(dc, inner, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
}

static COLORREF BackgroundColor(const BtnSTPaintState& s) {
    if (s.hovered || s.pressed)
        return s.colors.backIn;
    return s.focused ? s.colors.backFocus : s.colors.backOut;
}

static void DrawBorder(HDC dc, const RECT& rect, const BtnSTPaintState& s) {
    if (!s.flat) {
        if (s.pressed)
            ::FrameRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNSHADOW));
        else
            DrawRaisedEdge(dc, rect);
        return;
    }
    if (!s.hovered || !s.hoverBorder)
        return;
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (s.pressed)
        DrawThin3dRect(dc, rect, shadow, light);
    else
        DrawThin3dRect(dc, rect, light, shadow);
}

static void DrawCaptionText(HDC dc, const char* caption, RECT rect, COLORREF color) {
    ::SetTextColor(dc, color);
    ::DrawTextA(dc, caption, -1, &rect, DT_WORDBREAK | DT_CENTER);
}

static void DrawCaption(HDC dc, const RECT& area, const BtnSTPaintState& s) {
    RECT measured = area;
    ::DrawTextA(dc, s.caption, -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    SIZE size = {measured.right - measured.left, measured.bottom - measured.top};
    RECT place = CentreInRect(area, size);
    if (s.pressed)
        place = ShiftRect(place, s.pressedShift);
    ::SetBkMode(dc, TRANSPARENT);
    if (s.disabled) {
        DrawCaptionText(dc, s.caption, ShiftRect(place, POINT{1, 1}), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawCaptionText(dc, s.caption, place, ::GetSysColor(COLOR_BTNSHADOW));
    } else {
        DrawCaptionText(dc, s.caption, place, s.hovered || s.pressed ? s.colors.foreIn : s.colors.foreOut);
    }
}

static void DrawContent(HDC dc, const RECT& rect, const BtnSTPaintState& s) {
    bool hasCaption = s.caption && s.caption[0];
    int icon = ChooseBtnSTIcon(s);
    SIZE imageSize = icon >= 0 ? s.iconSizes[icon] : SIZE{0, 0};
    BtnSTContentRects rects = LayOutBtnSTContent(rect, imageSize, hasCaption, s.layout, s.imageMargin);
    if (icon >= 0) {
        RECT image = s.pressed ? ShiftRect(rects.image, s.pressedShift) : rects.image;
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(s.icons[icon]), 0, image.left, image.top,
                     imageSize.cx, imageSize.cy, DST_ICON | (s.disabled ? DSS_DISABLED : DSS_NORMAL));
    }
    if (hasCaption)
        DrawCaption(dc, rects.caption, s);
}

void PaintBtnST(HDC dc, const RECT& itemRect, const BtnSTPaintState& s) {
    int saved = ::SaveDC(dc);
    if (s.font)
        ::SelectObject(dc, s.font);
    RECT rect = itemRect;
    if (!s.flat && (s.focused || s.defaultButton)) {
        ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(&rect, -1, -1);
    }
    FillSolid(dc, rect, BackgroundColor(s));
    DrawBorder(dc, rect, s);
    DrawContent(dc, itemRect, s);
    if (s.focused && (!s.flat || s.flatFocus)) {
        RECT focus = itemRect;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
    ::RestoreDC(dc, saved);
}
