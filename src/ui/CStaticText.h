#pragma once
// A static control that draws only its text, so the parent's background
// (a bitmap, a gradient) shows around and between the letters. The parent
// must not clip its children (WS_CLIPCHILDREN), or nothing paints behind it.
#include "fw/Controls.h"

class CStaticText : public Static {
public:
    COLORREF TextColor() const { return textColor_; }
    UINT Format() const { return format_; }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Paint(HDC dc) const;
    LRESULT ReplaceText(WPARAM wp, LPARAM lp);

    COLORREF textColor_ = RGB(0, 0, 0);
    UINT format_ = DT_WORDBREAK;
};

// Draws text with a transparent background in the given font and colour.
void PaintTransparentText(HDC dc, const RECT& rect, const char* text, HFONT font, COLORREF color, UINT format);
