#include "fw/Path.h"

#include <string.h>

namespace {

bool IsDriveLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

// MAX_PATH of the Windows headers, which this file does not include.
const size_t kMaxPathChars = 260;

}  // namespace

bool HasDrivePrefix(const char* path) { return path && IsDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\'; }

bool IsDriveRoot(const char* path) { return HasDrivePrefix(path) && path[3] == '\0'; }

bool HasUncPrefix(const char* path) {
    return path && path[0] == '\\' && path[1] == '\\' && path[2] != '\0' && path[2] != '\\';
}

bool IsFullPath(const char* path) { return HasDrivePrefix(path) || HasUncPrefix(path); }

const char* UncShareEnd(const char* path) {
    if (!HasUncPrefix(path))
        return nullptr;
    const char* serverEnd = strchr(path + 2, '\\');
    if (!serverEnd || serverEnd[1] == '\0' || serverEnd[1] == '\\')
        return nullptr;
    const char* shareEnd = strchr(serverEnd + 1, '\\');
    return shareEnd ? shareEnd : serverEnd + strlen(serverEnd);
}

bool IsRootFolder(const char* path) {
    if (IsDriveRoot(path))
        return true;
    if (!HasUncPrefix(path))
        return false;
    const char* shareEnd = UncShareEnd(path);
    return !shareEnd || shareEnd[0] == '\0' || shareEnd[1] == '\0';
}

bool IsDotsAndSpaces(const char* component, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        if (component[i] != '.' && component[i] != ' ')
            return false;
    }
    return length > 0;
}

bool HasDotsAndSpacesComponent(const char* path) {
    const char* component = path;
    for (const char* at = path;; ++at) {
        if (*at == '\0' || IsPathSeparator(*at)) {
            if (IsDotsAndSpaces(component, static_cast<size_t>(at - component)))
                return true;
            if (*at == '\0')
                return false;
            component = at + 1;
        }
    }
}

String JoinPath(const char* folder, const char* name) {
    size_t length = folder ? strlen(folder) : 0;
    if (length == 0)
        return String(name);
    String path(folder, length);
    if (!IsPathSeparator(folder[length - 1]))
        path += '\\';
    path += name;
    return path;
}

bool JoinPathWithinMaxPath(const char* folder, const char* name, String& out) {
    out = folder && *folder ? JoinPath(folder, name) : String();
    if (!out.IsEmpty() && out.Length() < kMaxPathChars)
        return true;
    out.Clear();
    return false;
}

String WithoutLongPathPrefix(const char* path) {
    if (!path || path[0] != '\\' || path[1] != '\\' || (path[2] != '?' && path[2] != '.') || path[3] != '\\')
        return String(path);
    const char* rest = path + 4;
    if (_strnicmp(rest, "UNC\\", 4) == 0)
        return String("\\\\") + (rest + 4);
    return String(rest);
}

String WithoutTrailingSeparators(const String& path) {
    size_t length = path.Length();
    while (length > 0 && path[length - 1] == '\\' && !IsDriveRoot(path.Left(length).c_str()))
        --length;
    return path.Left(length);
}
