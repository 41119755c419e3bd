#include "fw/CommonControls.h"

#include "fw/SystemLibrary.h"

namespace {

enum Entry {
    kInitCommonControlsEx,
    kPropertySheetA,
    kSetWindowSubclass,
    kGetWindowSubclass,
    kRemoveWindowSubclass,
    kDefSubclassProc,
    kEntryCount
};

const char* const kEntryNames[kEntryCount] = {
    "InitCommonControlsEx", "PropertySheetA",       "SetWindowSubclass",
    "GetWindowSubclass",    "RemoveWindowSubclass", "DefSubclassProc",
};

FARPROC g_entries[kEntryCount];
EntryPointTable g_comctl32(Comctl32Library, kEntryNames, g_entries, kEntryCount);

}  // namespace

BOOL CommonControls::InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    auto bound = g_comctl32.Get<decltype(&::InitCommonControlsEx)>(kInitCommonControlsEx);
    return bound ? bound(controls) : FALSE;
}

INT_PTR CommonControls::PropertySheetA(LPCPROPSHEETHEADERA header) {
    auto bound = g_comctl32.Get<decltype(&::PropertySheetA)>(kPropertySheetA);
    return bound ? bound(header) : -1;
}

BOOL CommonControls::SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    auto bound = g_comctl32.Get<decltype(&::SetWindowSubclass)>(kSetWindowSubclass);
    return bound ? bound(window, procedure, id, data) : FALSE;
}

BOOL CommonControls::GetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* data) {
    auto bound = g_comctl32.Get<decltype(&::GetWindowSubclass)>(kGetWindowSubclass);
    return bound ? bound(window, procedure, id, data) : FALSE;
}

BOOL CommonControls::RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    auto bound = g_comctl32.Get<decltype(&::RemoveWindowSubclass)>(kRemoveWindowSubclass);
    return bound ? bound(window, procedure, id) : FALSE;
}

LRESULT CommonControls::DefSubclassProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto bound = g_comctl32.Get<decltype(&::DefSubclassProc)>(kDefSubclassProc);
    return bound ? bound(window, message, wp, lp) : 0;
}
