#include "fw/CommonControls.h"

#include "fw/SystemLibrary.h"

namespace {

#define COMCTL32_FUNCTIONS(F)                                                                        \
    F(InitCommonControlsEx) F(PropertySheetA) F(SetWindowSubclass) F(GetWindowSubclass) F(RemoveWindowSubclass) \
        F(DefSubclassProc)
ENTRY_POINT_TABLE(g_comctl32, Comctl32Library, COMCTL32_FUNCTIONS);

}  // namespace

BOOL CommonControls::InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    auto bound = BOUND_ENTRY(g_comctl32, InitCommonControlsEx);
    return bound ? bound(controls) : FALSE;
}

INT_PTR CommonControls::PropertySheetA(LPCPROPSHEETHEADERA header) {
    auto bound = BOUND_ENTRY(g_comctl32, PropertySheetA);
    return bound ? bound(header) : -1;
}

BOOL CommonControls::SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    auto bound = BOUND_ENTRY(g_comctl32, SetWindowSubclass);
    return bound ? bound(window, procedure, id, data) : FALSE;
}

BOOL CommonControls::GetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* data) {
    auto bound = BOUND_ENTRY(g_comctl32, GetWindowSubclass);
    return bound ? bound(window, procedure, id, data) : FALSE;
}

BOOL CommonControls::RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    auto bound = BOUND_ENTRY(g_comctl32, RemoveWindowSubclass);
    return bound ? bound(window, procedure, id) : FALSE;
}

LRESULT CommonControls::DefSubclassProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto bound = BOUND_ENTRY(g_comctl32, DefSubclassProc);
    return bound ? bound(window, message, wp, lp) : 0;
}
