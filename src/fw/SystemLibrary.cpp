#include "fw/UniqueHandle.h"

#include "fw/Path.h"

HMODULE LoadSystemLibrary(const char* fileName) {
    char folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    String path;
    if (length == 0 || length >= MAX_PATH || !JoinPathWithinMaxPath(String(folder, length).c_str(), fileName, path))
        return nullptr;
    return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
