#include "fw/ShellApi.h"

#include <shellapi.h>

#include "fw/SystemLibrary.h"

namespace {

#define SHELL32_FUNCTIONS(F) \
    F(SHGetSpecialFolderPathW) F(SHGetMalloc) F(SHBrowseForFolderA) F(SHGetPathFromIDListW) F(ShellExecuteA)
ENTRY_POINT_TABLE(g_shell32, Shell32Library, SHELL32_FUNCTIONS);

}  // namespace

BOOL ShellApi::SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create) {
    auto bound = BOUND_ENTRY(g_shell32, SHGetSpecialFolderPathW);
    return bound ? bound(owner, path, csidl, create) : FALSE;
}

HRESULT ShellApi::SHGetMalloc(IMalloc** allocator) {
    auto bound = BOUND_ENTRY(g_shell32, SHGetMalloc);
    return bound ? bound(allocator) : E_FAIL;
}

PIDLIST_ABSOLUTE ShellApi::SHBrowseForFolderA(LPBROWSEINFOA info) {
    auto bound = BOUND_ENTRY(g_shell32, SHBrowseForFolderA);
    return bound ? bound(info) : nullptr;
}

BOOL ShellApi::SHGetPathFromIDListW(PCIDLIST_ABSOLUTE item, LPWSTR path) {
    auto bound = BOUND_ENTRY(g_shell32, SHGetPathFromIDListW);
    return bound ? bound(item, path) : FALSE;
}

HINSTANCE ShellApi::ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show) {
    auto bound = BOUND_ENTRY(g_shell32, ShellExecuteA);
    return bound ? bound(owner, verb, file, parameters, folder, show)
                 : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}
