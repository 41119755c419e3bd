#include "fw/ShellApi.h"

#include <shellapi.h>

#include "fw/SystemLibrary.h"

namespace {

enum Entry {
    kSHGetSpecialFolderPathW,
    kSHGetMalloc,
    kSHBrowseForFolderA,
    kSHGetPathFromIDListW,
    kShellExecuteA,
    kEntryCount
};

const char* const kEntryNames[kEntryCount] = {
    "SHGetSpecialFolderPathW", "SHGetMalloc", "SHBrowseForFolderA", "SHGetPathFromIDListW", "ShellExecuteA",
};

FARPROC g_entries[kEntryCount];
EntryPointTable g_shell32(Shell32Library, kEntryNames, g_entries, kEntryCount);

}  // namespace

BOOL ShellApi::SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create) {
    auto bound = g_shell32.Get<decltype(&::SHGetSpecialFolderPathW)>(kSHGetSpecialFolderPathW);
    return bound ? bound(owner, path, csidl, create) : FALSE;
}

HRESULT ShellApi::SHGetMalloc(IMalloc** allocator) {
    auto bound = g_shell32.Get<decltype(&::SHGetMalloc)>(kSHGetMalloc);
    return bound ? bound(allocator) : E_FAIL;
}

PIDLIST_ABSOLUTE ShellApi::SHBrowseForFolderA(LPBROWSEINFOA info) {
    auto bound = g_shell32.Get<decltype(&::SHBrowseForFolderA)>(kSHBrowseForFolderA);
    return bound ? bound(info) : nullptr;
}

BOOL ShellApi::SHGetPathFromIDListW(PCIDLIST_ABSOLUTE item, LPWSTR path) {
    auto bound = g_shell32.Get<decltype(&::SHGetPathFromIDListW)>(kSHGetPathFromIDListW);
    return bound ? bound(item, path) : FALSE;
}

HINSTANCE ShellApi::ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show) {
    auto bound = g_shell32.Get<decltype(&::ShellExecuteA)>(kShellExecuteA);
    return bound ? bound(owner, verb, file, parameters, folder, show)
                 : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}
