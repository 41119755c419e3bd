#include "fw/CommonControls.h"

#include "fw/SystemLibrary.h"

BOOL CommonControls::InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    WIZ_BIND_ONCE(Comctl32Library(), InitCommonControlsEx);
    return bound ? bound(controls) : FALSE;
}

INT_PTR CommonControls::PropertySheetA(LPCPROPSHEETHEADERA header) {
    WIZ_BIND_ONCE(Comctl32Library(), PropertySheetA);
    return bound ? bound(header) : -1;
}

BOOL CommonControls::SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    WIZ_BIND_ONCE(Comctl32Library(), SetWindowSubclass);
    return bound ? bound(window, procedure, id, data) : FALSE;
}

BOOL CommonControls::GetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* data) {
    WIZ_BIND_ONCE(Comctl32Library(), GetWindowSubclass);
    return bound ? bound(window, procedure, id, data) : FALSE;
}

BOOL CommonControls::RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    WIZ_BIND_ONCE(Comctl32Library(), RemoveWindowSubclass);
    return bound ? bound(window, procedure, id) : FALSE;
}

LRESULT CommonControls::DefSubclassProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    WIZ_BIND_ONCE(Comctl32Library(), DefSubclassProc);
    return bound ? bound(window, message, wp, lp) : 0;
}
