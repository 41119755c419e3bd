#include "fw/Path.h"

#include <string.h>

namespace {

bool IsDriveLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

// "\\?\" or "\\.\" and the path behind it.
bool IsLongPathPrefixed(const char* path) {
    return path && path[0] == '\\' && path[1] == '\\' && (path[2] == '?' || path[2] == '.') && path[3] == '\\';
}

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
    const char* serverEnd = ComponentEnd(path + 2);
    if (serverEnd[0] == '\0' || serverEnd[1] == '\0' || IsPathSeparator(serverEnd[1]))
        return nullptr;
    return ComponentEnd(serverEnd + 1);
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
    for (const char* component = path;; ++component) {
        const char* end = ComponentEnd(component);
        if (IsDotsAndSpaces(component, static_cast<size_t>(end - component)))
            return true;
        if (*end == '\0')
            return false;
        component = end;
    }
}

bool HasCharacterNotAllowedInNames(const char* path) {
    if (IsLongPathPrefixed(path))
        path += 4;
    for (const char* at = path; *at; at = NextChar(at)) {
        if (static_cast<unsigned char>(*at) < 0x20 || strchr("<>\"|?*", *at))
            return true;
    }
    return false;
}

String JoinPath(const char* folder, const char* name) {
    size_t length = folder ? strlen(folder) : 0;
    if (length == 0)
        return String(name);
    String path(folder, length);
    if (!EndsWithSeparator(folder))
        path += '\\';
    path += name;
    return path;
}

bool JoinPathWithinMaxPath(const char* folder, const char* name, String& out) {
    out = folder && *folder ? JoinPath(folder, name) : String();
    if (!out.IsEmpty() && out.Length() < MAX_PATH)
        return true;
    out.Clear();
    return false;
}

String WithoutLongPathPrefix(const char* path) {
    if (!IsLongPathPrefixed(path))
        return String(path);
    const char* rest = path + 4;
    if (_strnicmp(rest, "UNC\\", 4) == 0)
        return String("\\\\") + (rest + 4);
    return String(rest);
}

String WithoutTrailingSeparators(const String& path) { return path.Left(LengthWithoutTrailingSeparators(path.c_str())); }
