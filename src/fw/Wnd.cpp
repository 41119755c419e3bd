#include "fw/Wnd.h"

#include "fw/CommonControls.h"

bool Wnd::AttachDlgItem(HWND parent, int id) {
    hwnd_ = ::GetDlgItem(parent, id);
    return hwnd_ != nullptr;
}

HWND Wnd::Detach() {
    HWND hwnd = hwnd_;
    hwnd_ = nullptr;
    return hwnd;
}

String Wnd::GetWindowText() const {
    String text;
    int length = ::GetWindowTextLengthA(hwnd_);
    if (length > 0) {
        char* buffer = text.GetBuffer(static_cast<size_t>(length));
        int copied = ::GetWindowTextA(hwnd_, buffer, length + 1);
        text.ReleaseBuffer(copied);
    }
    return text;
}

String Wnd::GetDlgItemText(int id) const {
    Wnd child(GetDlgItem(id));
    return child.GetWindowText();
}

RECT Wnd::GetWindowRect() const {
    RECT rect = {0, 0, 0, 0};
    ::GetWindowRect(hwnd_, &rect);
    return rect;
}

RECT Wnd::GetClientRect() const {
    RECT rect = {0, 0, 0, 0};
    ::GetClientRect(hwnd_, &rect);
    return rect;
}

RECT Wnd::GetChildRect(HWND child) const {
    RECT rect = {0, 0, 0, 0};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Wnd::MoveWindow(const RECT& rect, bool repaint) const {
    ::MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 repaint ? TRUE : FALSE);
}

void Wnd::SetFont(HFONT font, bool redraw) const {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw ? TRUE : FALSE, 0));
}

// Every subclass of ours uses the same id, so that FromHandle can find the object.
static const UINT_PTR kSubclassId = 0x5753;

SubclassWnd::~SubclassWnd() { UnsubclassWindow(); }

bool SubclassWnd::AttachDlgItem(HWND parent, int id) {
    return SubclassWindow(::GetDlgItem(parent, id));
}

bool SubclassWnd::SubclassWindow(HWND hwnd) {
    UnsubclassWindow();
    if (!hwnd ||
        !CommonControls::SetWindowSubclass(hwnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    hwnd_ = hwnd;
    OnSubclassed();
    return true;
}

void SubclassWnd::UnsubclassWindow() {
    if (hwnd_ && FromHandle(hwnd_) == this)
        CommonControls::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
    hwnd_ = nullptr;
}

SubclassWnd* SubclassWnd::FromHandle(HWND hwnd) {
    DWORD_PTR refData = 0;
    if (!hwnd || !CommonControls::GetWindowSubclass(hwnd, SubclassProc, kSubclassId, &refData))
        return nullptr;
    return reinterpret_cast<SubclassWnd*>(refData);
}

bool SubclassWnd::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT SubclassWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT SubclassWnd::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return CommonControls::DefSubclassProc(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK SubclassWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR refData) {
    SubclassWnd* self = reinterpret_cast<SubclassWnd*>(refData);
    if (msg == WM_NCDESTROY) {
        CommonControls::RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
        LRESULT result = CommonControls::DefSubclassProc(hwnd, msg, wp, lp);
        self->hwnd_ = nullptr;
        return result;
    }
    return self->WindowProc(msg, wp, lp);
}
