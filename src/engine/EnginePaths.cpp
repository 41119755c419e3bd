#include "engine/EnginePaths.h"

#include <windows.h>
#include <shlobj.h>

#include <stdlib.h>

#include "fw/UniqueHandle.h"
#include "state/SetupState.h"
#include "system/CWinSetup.h"

namespace {

bool FullForm(const char* path, String& out) {
    char buffer[MAX_PATH];
    DWORD length = ::GetFullPathNameA(path, MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    // An existing path spelt with 8.3 short names takes its long form.
    char longForm[MAX_PATH];
    DWORD longLength = ::GetLongPathNameA(buffer, longForm, MAX_PATH);
    out = longLength > 0 && longLength < MAX_PATH ? String(longForm, longLength) : String(buffer, length);
    return true;
}

// The full form without trailing separators (a drive root keeps its own).
bool NormalFolder(const char* folder, String& out) {
    if (!folder || !IsFullPath(folder) || HasDotsAndSpacesComponent(folder) || !FullForm(folder, out))
        return false;
    out = WithoutTrailingSeparators(out);
    return true;
}

bool IsFolderIn(const String& parent, const char* programs) {
    String normalPrograms;
    return programs && *programs && NormalFolder(programs, normalPrograms) &&
           parent.EqualsNoCase(normalPrograms.c_str());
}

// Whether normal (a NormalFolder) is folder or lies below it.
bool IsFolderOrBelow(const String& normal, const char* folder) {
    String top;
    if (!folder || !*folder || !NormalFolder(folder, top))
        return false;
    if (normal.EqualsNoCase(top.c_str()))
        return true;
    size_t length = top.Length();
    return normal.Length() > length && normal.Left(length).EqualsNoCase(top.c_str()) &&
           (IsDriveRoot(top.c_str()) || normal[length] == '\\');
}

bool AnyMatches(const String& normal, const char* const* folders, bool withTree) {
    for (; folders && *folders; ++folders) {
        if (withTree ? IsFolderOrBelow(normal, *folders) : IsFolderIn(normal, *folders))
            return true;
    }
    return false;
}

struct FileIdentity {
    DWORD volume, indexHigh, indexLow;
};

bool IdentityOf(const char* path, FileIdentity& out) {
    UniqueFile file(::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !::GetFileInformationByHandle(file.Get(), &info))
        return false;
    out = FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

}  // namespace

bool IsSameFilePath(const char* first, const char* second) {
    String firstFull, secondFull;
    return first && second && *first && *second && FullForm(first, firstFull) && FullForm(second, secondFull) &&
           firstFull.EqualsNoCase(secondFull.c_str());
}

bool IsSameFile(const char* first, const char* second) {
    if (IsSameFilePath(first, second))
        return true;
    FileIdentity a, b;
    return first && second && IdentityOf(first, a) && IdentityOf(second, b) && a.volume == b.volume &&
           a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

bool IsAcceptableInstallFolder(const char* folder, const char* const* exactFolders, const char* const* treeFolders) {
    String normal;
    if (!NormalFolder(folder, normal) || IsRootFolder(normal.c_str()))
        return false;
    return !AnyMatches(normal, exactFolders, false) && !AnyMatches(normal, treeFolders, true);
}

bool IsAcceptableInstallFolder(const char* folder) {
    CWinSetup folders;
    // The 64-bit Program Files folder, which a 32-bit program's shell does not name.
    const char* nativeProgramFiles = getenv("ProgramW6432");
    String exact[] = {folders.GetShellFolder(CSIDL_PROGRAM_FILES),
                      folders.GetShellFolder(CSIDL_PROGRAM_FILES_COMMON),
                      nativeProgramFiles ? String(nativeProgramFiles) : String(),
                      folders.GetShellFolder(CSIDL_PROFILE),
                      folders.GetShellFolder(CSIDL_PROGRAMS),
                      folders.GetShellFolder(CSIDL_COMMON_PROGRAMS)};
    String tree[] = {folders.GetWindowsDir(), folders.GetShellFolder(CSIDL_WINDOWS),
                     folders.GetShellFolder(CSIDL_STARTMENU), folders.GetShellFolder(CSIDL_COMMON_STARTMENU)};
    const char* exactList[] = {exact[0].c_str(), exact[1].c_str(), exact[2].c_str(),
                               exact[3].c_str(), exact[4].c_str(), exact[5].c_str(), nullptr};
    const char* treeList[] = {tree[0].c_str(), tree[1].c_str(), tree[2].c_str(), tree[3].c_str(), nullptr};
    return IsAcceptableInstallFolder(folder, exactList, treeList);
}

bool IsProductMenuFolder(const char* folder, const char* userPrograms, const char* commonPrograms) {
    String normal;
    if (!NormalFolder(folder, normal))
        return false;
    long separator = normal.FindLast('\\');
    if (separator < 0)
        return false;
    String name = normal.Mid(static_cast<size_t>(separator) + 1);
    String parent = normal.Left(static_cast<size_t>(separator));
    if (!name.EqualsNoCase(kProductName))
        return false;
    return IsFolderIn(parent, userPrograms) || IsFolderIn(parent, commonPrograms);
}

String QuotedPath(const char* path) { return String::Format("\"%s\"", path); }
