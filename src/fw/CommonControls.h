#pragma once
// The common controls' functions that the program calls, bound at run time to
// Comctl32Library(): a function the library does not offer fails, as
// the call would (FALSE, -1 from PropertySheetA, 0 from DefSubclassProc).
#include <windows.h>
#include <commctrl.h>

namespace CommonControls {
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);
INT_PTR PropertySheetA(LPCPROPSHEETHEADERA header);
BOOL SetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL GetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* data);
BOOL RemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT DefSubclassProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
}  // namespace CommonControls
