#include "engine/EnginePaths.h"

#include <windows.h>
#include <shlobj.h>

#include <stdlib.h>

#include "fw/UniqueHandle.h"
#include "state/SetupState.h"
#include "system/CWinSetup.h"
#include "system/wizMisc.h"

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

// The full form without trailing separators (a drive root keeps its own); a
// "\\?\" prefix is read as the path behind it.
bool NormalFolder(const char* folder, String& out) {
    String plain = WithoutLongPathPrefix(folder);
    if (!folder || !IsFullPath(plain.c_str()) || HasDotsAndSpacesComponent(plain.c_str()) ||
        !FullForm(plain.c_str(), out))
        return false;
    out = WithoutTrailingSeparators(out);
    return true;
}

// Whether path (a NormalFolder) is top or lies below it.
bool IsSameOrBelow(const String& path, const String& top) {
    if (path.EqualsNoCase(top.c_str()))
        return true;
    size_t length = top.Length();
    return path.Length() > length && path.Left(length).EqualsNoCase(top.c_str()) &&
           (IsDriveRoot(top.c_str()) || path[length] == '\\');
}

bool IsNotFoundError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_DRIVE;
}

// Where normal (a NormalFolder) leads: the final path of its deepest existing
// folder with the rest of its name. False when a part of it cannot be read or
// is a file, or the final path cannot be told.
bool ResolveFolder(const String& normal, String& out) {
    String existing = normal;
    String rest;
    for (;;) {
        DWORD attributes = ::GetFileAttributesA(existing.c_str());
        DWORD error = ::GetLastError();
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            String final;
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || !GetFinalFolderPath(existing.c_str(), final))
                return false;
            return NormalFolder(rest.IsEmpty() ? final.c_str() : JoinPath(final, rest.c_str()).c_str(), out);
        }
        // No part of it exists, not even its drive: it leads nowhere else.
        if (IsRootFolder(existing.c_str())) {
            out = normal;
            return true;
        }
        const char* separator = FindLastSeparator(existing.c_str());
        if (!IsNotFoundError(error) || !separator)
            return false;
        size_t parentLength = static_cast<size_t>(separator - existing.c_str()) + 1;
        String name = existing.Mid(parentLength);
        rest = rest.IsEmpty() ? name : JoinPath(name, rest.c_str());
        existing = WithoutTrailingSeparators(existing.Left(parentLength));
    }
}

struct FileIdentity {
    DWORD volume, indexHigh, indexLow;
};

bool IdentityOf(const char* path, FileIdentity& out) {
    UniqueFile file = OpenToQuery(path);
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

void SystemFolderSet::AddFolder(const char* folder) { Add(folder, Reach::FolderOnly); }

void SystemFolderSet::AddTree(const char* folder) { Add(folder, Reach::FolderAndBelow); }

void SystemFolderSet::Add(const char* folder, Reach reach) {
    String normal;
    if (!folder || !*folder || !NormalFolder(folder, normal))
        return;
    AddNormal(normal, reach);
    String final, normalFinal;
    if (GetFinalFolderPath(normal.c_str(), final) && NormalFolder(final.c_str(), normalFinal) &&
        !normalFinal.EqualsNoCase(normal.c_str()))
        AddNormal(normalFinal, reach);
}

void SystemFolderSet::AddNormal(const String& normal, Reach reach) {
    if (count_ == kCapacity) {
        overflowed_ = true;
        return;
    }
    folders_[count_] = normal;
    trees_[count_] = reach == Reach::FolderAndBelow;
    ++count_;
}

bool SystemFolderSet::Allows(const String& normal) const {
    if (overflowed_ || IsRootFolder(normal.c_str()))
        return false;
    for (int i = 0; i < count_; ++i) {
        if (IsSameOrBelow(folders_[i], normal) || (trees_[i] && IsSameOrBelow(normal, folders_[i])))
            return false;
    }
    return true;
}

namespace {

// The CSIDL values end below this one.
const int kCsidlLimit = 0x40;

bool IsTreeCsidl(int csidl) {
    return csidl == CSIDL_WINDOWS || csidl == CSIDL_SYSTEM || csidl == CSIDL_SYSTEMX86 || csidl == CSIDL_STARTMENU ||
           csidl == CSIDL_COMMON_STARTMENU;
}

void AddFoldersOfThisSystem(SystemFolderSet& set) {
    CWinSetup windows;
    for (int csidl = 0; csidl < kCsidlLimit; ++csidl) {
        String folder = windows.GetShellFolder(csidl);
        if (IsTreeCsidl(csidl))
            set.AddTree(folder.c_str());
        else
            set.AddFolder(folder.c_str());
    }
    set.AddTree(windows.GetWindowsDir().c_str());
    // The 64-bit Program Files folders, which a 32-bit program's shell does not name.
    set.AddFolder(getenv("ProgramW6432"));
    set.AddFolder(getenv("CommonProgramW6432"));
}

}  // namespace

const SystemFolderSet& SystemFoldersOfThisSystem() {
    // On the heap, made on first use and kept for the run: the set is several
    // kilobytes that a run which never needs the guard does not carry.
    static SystemFolderSet* folders = nullptr;
    if (!folders) {
        folders = new SystemFolderSet;
        AddFoldersOfThisSystem(*folders);
    }
    return *folders;
}

bool IsAcceptableInstallFolder(const char* folder, const SystemFolderSet& systemFolders) {
    String normal, final;
    return NormalFolder(folder, normal) && systemFolders.Allows(normal) && !IsReparsePoint(normal.c_str()) &&
           ResolveFolder(normal, final) && systemFolders.Allows(final);
}

bool IsAcceptableInstallFolder(const char* folder) {
    return IsAcceptableInstallFolder(folder, SystemFoldersOfThisSystem());
}

namespace {

// Whether normal (a NormalFolder) is the product's folder directly in one of
// the Programs folders.
bool IsProductFolderIn(const String& normal, const ProgramsFolders& programs) {
    const char* separator = FindLastSeparator(normal.c_str());
    if (!separator)
        return false;
    size_t parentLength = static_cast<size_t>(separator - normal.c_str());
    String parent = normal.Left(parentLength);
    if (!normal.Mid(parentLength + 1).EqualsNoCase(kProductName) || parent.IsEmpty())
        return false;
    return parent.EqualsNoCase(programs.user.c_str()) || parent.EqualsNoCase(programs.common.c_str());
}

String NormalOrEmpty(const char* folder) {
    String normal;
    return folder && *folder && NormalFolder(folder, normal) ? normal : String();
}

}  // namespace

ProgramsFolders NormalProgramsFolders(const char* userPrograms, const char* commonPrograms) {
    return ProgramsFolders{NormalOrEmpty(userPrograms), NormalOrEmpty(commonPrograms)};
}

bool IsProductMenuFolderName(const char* folder, const ProgramsFolders& programs) {
    String normal;
    return NormalFolder(folder, normal) && IsProductFolderIn(normal, programs);
}

bool IsProductMenuFolder(const char* folder, const ProgramsFolders& programs) {
    // ResolveFolder answers a NormalFolder.
    String normal, final;
    return NormalFolder(folder, normal) && IsProductFolderIn(normal, programs) && !IsReparsePoint(normal.c_str()) &&
           ResolveFolder(normal, final) && IsProductFolderIn(final, programs);
}

bool IsProductMenuFolderName(const char* folder, const char* userPrograms, const char* commonPrograms) {
    return IsProductMenuFolderName(folder, NormalProgramsFolders(userPrograms, commonPrograms));
}

bool IsProductMenuFolder(const char* folder, const char* userPrograms, const char* commonPrograms) {
    return IsProductMenuFolder(folder, NormalProgramsFolders(userPrograms, commonPrograms));
}

bool IsProductMenuFolder(const char* folder) {
    CWinSetup windows;
    return IsProductMenuFolder(folder, windows.GetShellFolder(CSIDL_PROGRAMS).c_str(),
                               windows.GetShellFolder(CSIDL_COMMON_PROGRAMS).c_str());
}

String QuotedPath(const char* path) { return String::Format("\"%s\"", path); }
