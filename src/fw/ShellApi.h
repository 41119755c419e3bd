#pragma once
// The shell's functions that the program calls, bound at run time to
// Shell32Library(): a function the library does not offer fails, as the call
// would (FALSE, E_FAIL, null; ShellExecuteA answers SE_ERR_DLLNOTFOUND).
#include <windows.h>
#include <shlobj.h>

namespace ShellApi {
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create);
HRESULT SHGetMalloc(IMalloc** allocator);
PIDLIST_ABSOLUTE SHBrowseForFolderA(LPBROWSEINFOA info);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE item, LPWSTR path);
HINSTANCE ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show);
}  // namespace ShellApi
