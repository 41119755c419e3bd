#include "ui/BtnST.h"

#include <windowsx.h>

#include "fw/Resources.h"
#include "ui/BtnSTLayout.h"

// The button-type bits of the style that owner drawing replaces.
static const LONG_PTR kTypeBits = 0x1F;

BtnST::BtnST() : colors_(SystemBtnSTColors()) {}

void BtnST::OnSubclassed() {
    LONG_PTR style = GetStyle();
    defaultButton_ = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    ::SetWindowLongPtrA(hwnd_, GWL_STYLE, (style & ~kTypeBits) | BS_OWNERDRAW);
    ::SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void BtnST::RepaintIf(bool repaint) const {
    if (repaint && hwnd_)
        Invalidate();
}

void BtnST::FreeIcons() {
    for (int i = 0; i < 2; ++i) {
        icons_[i].Reset();
        iconSizes_[i] = SIZE{0, 0};
    }
}

bool BtnST::TakeIcon(int index, HICON icon) {
    ICONINFO info;
    if (!::GetIconInfo(icon, &info))
        return false;
    UniqueGdiObject color(info.hbmColor), mask(info.hbmMask);
    icons_[index].Reset(::CopyIcon(icon));
    if (!icons_[index])
        return false;
    iconSizes_[index] = SIZE{static_cast<LONG>(info.xHotspot * 2), static_cast<LONG>(info.yHotspot * 2)};
    return true;
}

DWORD BtnST::UseIcon(HICON hoverIcon, HICON normalIcon, bool repaint) {
    FreeIcons();
    DWORD result = kOk;
    if (hoverIcon && (!TakeIcon(0, hoverIcon) || (normalIcon && !TakeIcon(1, normalIcon)))) {
        FreeIcons();
        result = kInvalidResource;
    }
    RepaintIf(repaint);
    return result;
}

DWORD BtnST::SetFlatLook(bool flat, bool repaint) {
    flat_ = flat;
    if (!flat)
        hovered_ = false;
    RepaintIf(repaint);
    return kOk;
}

DWORD BtnST::SetContentLayout(int layout, bool repaint) {
    if (layout < 0 || layout >= kContentLayoutCount)
        return kInvalidLayout;
    layout_ = layout;
    RepaintIf(repaint);
    return kOk;
}

DWORD BtnST::SetHoverBorder(bool border, bool repaint) {
    hoverBorder_ = border;
    RepaintIf(repaint);
    return kOk;
}

DWORD BtnST::SetHoverCursor(int cursorId, bool repaint) {
    cursor_.Reset();
    DWORD result = kOk;
    if (cursorId) {
        cursor_.Reset(static_cast<HCURSOR>(::LoadImageA(ResourceHandle(), MAKEINTRESOURCEA(cursorId),
                                                        IMAGE_CURSOR, 0, 0, LR_DEFAULTCOLOR)));
        if (!cursor_)
            result = kInvalidResource;
    }
    RepaintIf(repaint);
    return result;
}

BtnSTPaintState BtnST::PaintState(const DRAWITEMSTRUCT& item) const {
    BtnSTPaintState state;
    state.pressed = (item.itemState & ODS_SELECTED) != 0;
    state.focused = (item.itemState & ODS_FOCUS) != 0;
    state.disabled = (item.itemState & ODS_DISABLED) != 0;
    state.hovered = hovered_;
    state.flat = flat_;
    state.defaultButton = defaultButton_;
    state.hoverBorder = hoverBorder_;
    state.flatFocus = flatFocus_;
    state.layout = layout_;
    state.imageMargin = imageMargin_;
    state.pressedShift = pressedShift_;
    state.colors = colors_;
    for (int i = 0; i < 2; ++i) {
        state.icons[i] = icons_[i].Get();
        state.iconSizes[i] = iconSizes_[i];
    }
    state.font = GetFont();
    return state;
}

void BtnST::DrawItem(const DRAWITEMSTRUCT& item) {
    BtnSTPaintState state = PaintState(item);
    String caption = GetWindowText();
    state.caption = caption.c_str();
    PaintBtnST(item.hDC, item.rcItem, state);
}

bool BtnST::OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }
    if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
        result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return true;
    }
    // The parent still acts on the click; the button only takes the focus.
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED)
        ::SetFocus(hwnd_);
    return false;
}

LRESULT BtnST::OnSetStyle(WPARAM style, LPARAM redraw) {
    defaultButton_ = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    return DefaultProc(BM_SETSTYLE, (style & ~static_cast<WPARAM>(kTypeBits)) | BS_OWNERDRAW, redraw);
}

// The dialog manager must still see a push button, or it would neither give
// this button the default look nor send it Enter.
LRESULT BtnST::OnGetDlgCode(WPARAM wp, LPARAM lp) {
    LRESULT code = DefaultProc(WM_GETDLGCODE, wp, lp) & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    return code | (defaultButton_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void BtnST::CancelHover() {
    if (!hovered_)
        return;
    hovered_ = false;
    Invalidate();
}

void BtnST::OnMouseMove(WPARAM keys, LPARAM position) {
    if (!flat_ || ((keys & MK_LBUTTON) && !hovered_))
        return;
    POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ::ClientToScreen(hwnd_, &point);
    if (::WindowFromPoint(point) != hwnd_ || !(alwaysTrack_ || ::GetActiveWindow())) {
        CancelHover();
        return;
    }
    if (hovered_)
        return;
    hovered_ = true;
    Invalidate();
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd_, 0};
    ::TrackMouseEvent(&track);
}

// Disabling takes the focus away from this button; hand it on so that the
// keyboard still reaches the dialog. A focus elsewhere stays where it is.
void BtnST::OnDisabled() {
    CancelHover();
    HWND focus = ::GetFocus();
    if ((focus && focus != hwnd_) || ::GetActiveWindow() != ::GetAncestor(hwnd_, GA_ROOT))
        return;
    HWND parent = GetParent();
    HWND next = ::GetNextDlgTabItem(parent, hwnd_, FALSE);
    ::SetFocus(next && next != hwnd_ ? next : parent);
}

LRESULT BtnST::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETDLGCODE:
        return OnGetDlgCode(wp, lp);
    case BM_SETSTYLE:
        return OnSetStyle(wp, lp);
    case WM_MOUSEMOVE:
        OnMouseMove(wp, lp);
        break;
    case WM_MOUSELEAVE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
        CancelHover();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE)
            CancelHover();
        break;
    case WM_ENABLE: {
        LRESULT result = DefaultProc(msg, wp, lp);
        if (!wp)
            OnDisabled();
        return result;
    }
    case WM_SETCURSOR:
        if (cursor_) {
            ::SetCursor(cursor_.Get());
            return TRUE;
        }
        break;
    case WM_SYSCOLORCHANGE:
        colors_ = SystemBtnSTColors();
        Invalidate();
        break;
    default:
        break;
    }
    return DefaultProc(msg, wp, lp);
}
