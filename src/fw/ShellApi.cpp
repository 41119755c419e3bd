#include "fw/ShellApi.h"

#include <shellapi.h>

#include "fw/SystemLibrary.h"

BOOL ShellApi::SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create) {
    WIZ_BIND_ONCE(Shell32Library(), SHGetSpecialFolderPathA);
    return bound ? bound(owner, path, csidl, create) : FALSE;
}

HRESULT ShellApi::SHGetMalloc(IMalloc** allocator) {
    WIZ_BIND_ONCE(Shell32Library(), SHGetMalloc);
    return bound ? bound(allocator) : E_FAIL;
}

PIDLIST_ABSOLUTE ShellApi::SHBrowseForFolderA(LPBROWSEINFOA info) {
    WIZ_BIND_ONCE(Shell32Library(), SHBrowseForFolderA);
    return bound ? bound(info) : nullptr;
}

BOOL ShellApi::SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path) {
    WIZ_BIND_ONCE(Shell32Library(), SHGetPathFromIDListA);
    return bound ? bound(item, path) : FALSE;
}

HINSTANCE ShellApi::ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show) {
    WIZ_BIND_ONCE(Shell32Library(), ShellExecuteA);
    return bound ? bound(owner, verb, file, parameters, folder, show)
                 : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}
