#include "system/wizMisc.h"

#include <stdio.h>
#include <string.h>

#include "fw/Path.h"
#include "fw/SystemLibrary.h"
#include "fw/UniqueHandle.h"

namespace {

// MakeDirectoryTree walks at most this many levels before the last one.
const int kMaxTreePasses = 64;

// fopen with mode, closed again at once: "r" asks whether the file can be
// read, "w" creates it or cuts it to nothing.
bool OpenAndClose(const char* path, const char* mode) {
    FILE* file = fopen(path, mode);
    if (!file)
        return false;
    fclose(file);
    return true;
}

bool CreateOrEmptyFile(const char* path) { return OpenAndClose(path, "w"); }

// 0 when CreateDirectoryA made the folder, -1 otherwise.
int CreateLevel(const char* path) { return ::CreateDirectoryA(path, nullptr) ? 0 : -1; }

int CreateEachLevel(const char* path) {
    size_t length = strlen(path);
    char copy[MAX_PATH];
    int result = -1;
    const char* searchFrom = NextChar(path);
    for (int pass = 0; pass < kMaxTreePasses; ++pass) {
        memcpy(copy, path, length + 1);
        const char* separator = ComponentEnd(searchFrom);
        if (*separator == '\0') {
            if (length == 0)
                return result;
            if (::CreateDirectoryA(copy, nullptr))
                return 0;
            // Only a trailing separator lets an earlier pass make the whole path.
            return ::GetLastError() == ERROR_ALREADY_EXISTS ? 0 : -1;
        }
        size_t cut = static_cast<size_t>(separator - path);
        copy[cut] = '\0';
        result = CreateLevel(copy);
        searchFrom = separator + 1;
    }
    return -1;  // deeper than the passes reach: the folder itself was never made
}

size_t CountSeparatorsAfterFirst(const char* path) {
    size_t count = 0;
    for (const char* at = NextChar(path); *at; at = NextChar(at))
        count += IsPathSeparator(*at);
    return count;
}

}  // namespace

TreeEntryAction ClassifyTreeEntry(DWORD attributes, const char* name) {
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return TreeEntryAction::DeleteFile;
    if (name[0] == '.')
        return TreeEntryAction::LeaveAlone;
    // A junction or directory link leads out of the tree: remove the link, never
    // what it points to.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return TreeEntryAction::RemoveLink;
    return TreeEntryAction::Descend;
}

bool FileExists(const char* path) { return OpenAndClose(path, "r"); }

bool EnsureMarkerFile(const char* fileName, const char* folder, bool recreate) {
    String path;
    if (!JoinPathWithinMaxPath(folder, fileName, path))
        return false;
    if (FileExists(path.c_str()) && !recreate)
        return true;
    return CreateOrEmptyFile(path.c_str());
}

bool DeleteFileAt(const char* path) { return ::DeleteFileA(path) != FALSE; }

bool DeleteFileIn(const char* folder, const char* fileName) {
    String path;
    return JoinPathWithinMaxPath(folder, fileName, path) && DeleteFileAt(path.c_str());
}

int MakeDirectoryTree(const char* path) {
    // The levels are cut from a MAX_PATH copy; a longer path would be cut short.
    if (strlen(path) >= MAX_PATH)
        return -1;
    if (::CreateDirectoryA(path, nullptr))
        return 0;
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return 1;
    if (CountSeparatorsAfterFirst(path) >= static_cast<size_t>(kMaxTreePasses))
        return -1;
    return CreateEachLevel(path);
}

bool RemoveDirectoryTree(const char* folder) {
    String pattern;
    if (!JoinPathWithinMaxPath(folder, "*", pattern))
        return false;
    bool complete = true;
    WIN32_FIND_DATAA entry;
    UniqueFind find(::FindFirstFileA(pattern.c_str(), &entry));
    if (find) {
        do {
            TreeEntryAction action = ClassifyTreeEntry(entry.dwFileAttributes, entry.cFileName);
            if (action == TreeEntryAction::LeaveAlone)
                continue;
            String child;
            if (!JoinPathWithinMaxPath(folder, entry.cFileName, child)) {
                complete = false;
                continue;
            }
            if (action == TreeEntryAction::DeleteFile)
                DeleteFileAt(child.c_str());
            else if (action == TreeEntryAction::RemoveLink)
                ::RemoveDirectoryA(child.c_str());
            else if (!RemoveDirectoryTree(child.c_str()))
                complete = false;
        } while (::FindNextFileA(find.Get(), &entry));
    }
    find.Reset();
    ::RemoveDirectoryA(folder);
    return complete;
}

bool RemoveEmptyDirectory(const char* path) { return ::RemoveDirectoryA(path) != FALSE; }

UniqueFile OpenToQuery(const char* path) {
    return UniqueFile(::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool GetFinalFolderPath(const char* folder, String& out) {
    typedef DWORD(WINAPI * FinalPathFn)(HANDLE, LPSTR, DWORD, DWORD);
    // Vista's; kernel32 is mapped into every process, so no load is needed.
    FinalPathFn finalPath = EntryPoint<FinalPathFn>(::GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleA");
    if (!finalPath || !folder || !*folder)
        return false;
    UniqueFile handle = OpenToQuery(folder);
    if (!handle)
        return false;
    // Room for a path of MAX_PATH characters behind the "\\?\UNC\" prefix.
    char buffer[MAX_PATH + 8];
    DWORD length = finalPath(handle.Get(), buffer, sizeof(buffer), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= sizeof(buffer))
        return false;
    out = WithoutLongPathPrefix(buffer);
    return true;
}

bool IsReparsePoint(const char* path) {
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
