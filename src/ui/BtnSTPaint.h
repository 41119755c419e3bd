#pragma once
// How a BtnST looks for one state: a function of a device context, the
// button's rectangle and the state, so it can draw into any bitmap.
#include <windows.h>

struct BtnSTColors {
    COLORREF backIn, foreIn;        // hovered or pressed
    COLORREF backOut, foreOut;      // neither
    COLORREF backFocus, foreFocus;  // focused
};

// The system's button colours for all three states.
BtnSTColors SystemBtnSTColors();

struct BtnSTPaintState {
    bool pressed = false;
    bool focused = false;
    bool disabled = false;
    bool hovered = false;
    bool flat = false;
    bool defaultButton = false;
    bool hoverBorder = true;
    bool flatFocus = false;
    int layout = 0;
    POINT imageMargin = {3, 6};
    POINT pressedShift = {1, 1};
    BtnSTColors colors = {};
    // Icon 0 shows while hovered or pressed, icon 1 (when given) otherwise.
    HICON icons[2] = {nullptr, nullptr};
    SIZE iconSizes[2] = {{0, 0}, {0, 0}};
    const char* caption = "";
    HFONT font = nullptr;
};

// Which of the two icons shows (0 or 1); -1 when there is none.
int ChooseBtnSTIcon(const BtnSTPaintState& state);

void PaintBtnST(HDC dc, const RECT& rect, const BtnSTPaintState& state);
