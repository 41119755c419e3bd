#include "fw/ShellApi.h"

#include <shellapi.h>

#include "fw/SystemLibrary.h"

namespace {

enum Entry {
    kSHGetSpecialFolderPathA,
    kSHGetMalloc,
    kSHBrowseForFolderA,
    kSHGetPathFromIDListA,
    kShellExecuteA,
    kEntryCount
};

const char* const kEntryNames[kEntryCount] = {
    "SHGetSpecialFolderPathA", "SHGetMalloc", "SHBrowseForFolderA", "SHGetPathFromIDListA", "ShellExecuteA",
};

FARPROC g_entries[kEntryCount];
EntryPointTable g_shell32(Shell32Library, kEntryNames, g_entries, kEntryCount);

}  // namespace

BOOL ShellApi::SHGetSpecialFolderPathA(HWND owner, LPSTR path, int csidl, BOOL create) {
    auto bound = g_shell32.Get<decltype(&::SHGetSpecialFolderPathA)>(kSHGetSpecialFolderPathA);
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

BOOL ShellApi::SHGetPathFromIDListA(PCIDLIST_ABSOLUTE item, LPSTR path) {
    auto bound = g_shell32.Get<decltype(&::SHGetPathFromIDListA)>(kSHGetPathFromIDListA);
    return bound ? bound(item, path) : FALSE;
}

HINSTANCE ShellApi::ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder, INT show) {
    auto bound = g_shell32.Get<decltype(&::ShellExecuteA)>(kShellExecuteA);
    return bound ? bound(owner, verb, file, parameters, folder, show)
                 : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
}
