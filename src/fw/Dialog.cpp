#include "fw/Dialog.h"

#include "fw/Resources.h"
#include "fw/WinApp.h"

HWND DefaultDialogOwner() {
    WinApp* app = WinApp::Current();
    HWND owner = app ? app->MainWindowHandle() : nullptr;
    if (!owner || !::IsWindow(owner))
        return nullptr;
    return ::GetLastActivePopup(::GetAncestor(owner, GA_ROOT));
}

INT_PTR Dialog::DoModal(HWND parent) {
    return ::DialogBoxParamA(ResourceHandle(), MAKEINTRESOURCEA(templateId_), parent,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self = msg == WM_INITDIALOG
                       ? reinterpret_cast<Dialog*>(lp)
                       : reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return Route(self, hwnd, msg, wp, lp);
}

INT_PTR Dialog::Route(Dialog* self, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!self)
        return FALSE;  // messages before WM_INITDIALOG
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    }
    INT_PTR result = self->OnMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

BOOL Dialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

bool Dialog::OnCommand(WORD, WORD, HWND) { return false; }

bool Dialog::OnNotify(NMHDR*, LRESULT&) { return false; }

bool Dialog::ReflectToControl(HWND control, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    SubclassWnd* owner = SubclassWnd::FromHandle(control);
    return owner && owner->OnReflectedMessage(msg, wp, lp, result);
}

INT_PTR Dialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND: {
        HWND control = reinterpret_cast<HWND>(lp);
        if (control)  // the control sees its own notification, then the parent acts on it
            ReflectToControl(control, msg, wp, lp, result);
        WORD id = LOWORD(wp), code = HIWORD(wp);
        if (OnCommand(id, code, control))
            return TRUE;
        if (code == BN_CLICKED && id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (code == BN_CLICKED && id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY:
        if (OnNotify(reinterpret_cast<NMHDR*>(lp), result)) {
            ::SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    case WM_DRAWITEM:
        return ReflectToControl(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem, msg, wp, lp, result);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        // These answer with the brush itself, not through DWLP_MSGRESULT.
        if (ReflectToControl(reinterpret_cast<HWND>(lp), msg, wp, lp, result))
            return static_cast<INT_PTR>(result);
        return FALSE;
    default:
        return FALSE;
    }
}
