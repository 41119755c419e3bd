#include "engine/EnginePaths.h"

#include <windows.h>

#include "app/SetupState.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A component of nothing but dots and spaces climbs or stays (Windows drops
// trailing dots and spaces): the path would not say where it leads.
bool HasDotComponent(const char* path) {
    const char* component = path;
    for (const char* at = path;; ++at) {
        if (*at == '\0' || IsSeparator(*at)) {
            bool onlyDots = at > component && component[0] == '.';
            for (const char* c = component; c < at && onlyDots; ++c)
                onlyDots = *c == '.' || *c == ' ';
            if (onlyDots)
                return true;
            if (*at == '\0')
                return false;
            component = at + 1;
        }
    }
}

bool FullForm(const char* path, String& out) {
    char buffer[MAX_PATH];
    DWORD length = ::GetFullPathNameA(path, MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    out = String(buffer, length);
    return true;
}

// The full form without trailing separators (a drive root keeps its own).
bool NormalFolder(const char* folder, String& out) {
    if (!folder || !IsFullPath(folder) || HasDotComponent(folder) || !FullForm(folder, out))
        return false;
    size_t length = out.Length();
    while (length > 3 && out[length - 1] == '\\')
        --length;
    out = out.Left(length);
    return true;
}

bool IsFolderIn(const String& parent, const char* programs) {
    String normalPrograms;
    return programs && *programs && NormalFolder(programs, normalPrograms) &&
           parent.EqualsNoCase(normalPrograms.c_str());
}

}  // namespace

bool IsFullPath(const char* path) {
    if (!path)
        return false;
    bool drive =
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' && path[2] == '\\';
    bool unc = path[0] == '\\' && path[1] == '\\' && path[2] != '\0' && path[2] != '\\';
    return drive || unc;
}

bool IsSameFilePath(const char* first, const char* second) {
    String firstFull, secondFull;
    return first && second && *first && *second && FullForm(first, firstFull) && FullForm(second, secondFull) &&
           firstFull.EqualsNoCase(secondFull.c_str());
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
