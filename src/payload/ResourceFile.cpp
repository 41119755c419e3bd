#include "payload/ResourceFile.h"

#include <windows.h>
#include <string.h>

#include "fw/Path.h"
#include "fw/String.h"
#include "fw/UniqueHandle.h"

bool WriteResourceToFile(int resourceId, const char* folder, const char* fileName) {
    HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(resourceId), "FILE");
    DWORD size = resource ? ::SizeofResource(nullptr, resource) : 0;
    HGLOBAL loaded = size ? ::LoadResource(nullptr, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes || !folder || !fileName)
        return false;

    String path;
    if (!*folder || !JoinPathWithinMaxPath(folder, fileName, path))
        return false;

    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes, size, &written, nullptr) || written != size)
        return false;
    return ::SetEndOfFile(file.Get()) != FALSE;
}
