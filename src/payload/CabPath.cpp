#include "payload/CabPath.h"

#include <ctype.h>
#include <string.h>

#include "fw/Path.h"

namespace {

bool EqualsNoCase(const char* text, size_t length, const char* name) {
    size_t nameLength = strlen(name);
    if (length != nameLength)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (toupper(static_cast<unsigned char>(text[i])) != toupper(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

// The digits 1 to 9 and the superscripts one, two and three, which Windows
// also reads as the numbers of COM and LPT ports. A byte is a superscript only
// where the code page says so (0xB9 is one in 1252, a katakana in 932).
bool IsPortNumber(char ch) {
    WCHAR wide = 0;
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &ch, 1, &wide, 1);
    return (wide >= L'1' && wide <= L'9') || wide == 0xB9 || wide == 0xB2 || wide == 0xB3;
}

// Windows opens a device for these names in any folder, whatever the extension.
bool IsDeviceName(const char* component, size_t length) {
    size_t base = 0;
    while (base < length && component[base] != '.')
        ++base;
    while (base > 0 && component[base - 1] == ' ')
        --base;
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* device : kDevices) {
        if (EqualsNoCase(component, base, device))
            return true;
    }
    if (base == 4 && IsPortNumber(component[3]))
        return EqualsNoCase(component, 3, "COM") || EqualsNoCase(component, 3, "LPT");
    return false;
}

bool IsAcceptableComponent(const char* component, size_t length) {
    return length > 0 && !IsDotsAndSpaces(component, length) && !IsDeviceName(component, length);
}

}  // namespace

bool CopyBounded(char* buffer, size_t size, const char* text) {
    if (size == 0)
        return false;
    size_t length = text ? strlen(text) : 0;
    if (length >= size) {
        buffer[0] = '\0';
        return false;
    }
    if (length)
        memcpy(buffer, text, length);
    buffer[length] = '\0';
    return true;
}

const char* StripMemberRoot(const char* memberName) {
    if (HasDrivePrefix(memberName))
        return memberName + 3;
    if (memberName[0] == '\\' && memberName[1] == '\\') {
        const char* rest = memberName + 2;
        const char* afterServer = ComponentEnd(rest);
        if (!*afterServer)
            return rest;
        rest = afterServer + 1;
        const char* afterShare = ComponentEnd(rest);
        return *afterShare ? afterShare + 1 : rest;
    }
    return memberName;
}

bool IsContainedRelativePath(const char* path) {
    if (!path || !path[0] || IsPathSeparator(path[0]) || strchr(path, ':'))
        return false;
    for (const char* component = path;; ++component) {
        const char* end = ComponentEnd(component);
        if (!IsAcceptableComponent(component, static_cast<size_t>(end - component)))
            return false;
        if (!*end)
            return true;
        component = end;
    }
}

bool IsPlainFileName(const char* name) {
    if (!name || !name[0] || *ComponentEnd(name))
        return false;
    return IsContainedRelativePath(name);
}

bool ComposeMemberTargetPath(const char* destination, const char* memberName, char* target, size_t targetSize) {
    if (targetSize)
        target[0] = '\0';
    if (!destination || !memberName)
        return false;
    const char* relative = StripMemberRoot(memberName);
    if (!IsContainedRelativePath(relative))
        return false;
    size_t destinationLength = strlen(destination);
    size_t relativeLength = strlen(relative);
    if (destinationLength + relativeLength >= targetSize)
        return false;
    memcpy(target, destination, destinationLength);
    for (size_t i = 0; i <= relativeLength; ++i)
        target[destinationLength + i] = relative[i] == '/' ? '\\' : relative[i];
    return true;
}

bool CabinetTrail::Visit(const char* name) {
    for (int i = 0; i < count; ++i) {
        if (names[i].EqualsNoCase(name))
            return false;
    }
    if (count == kCapacity)
        return false;
    names[count++] = name;
    return true;
}

long FolderScanStart(const char* path) {
    if (HasDrivePrefix(path))
        return 2;
    if (path[0] == '\\' && path[1] == '\\') {
        const char* shareEnd = UncShareEnd(path);
        return shareEnd && *shareEnd ? static_cast<long>(shareEnd - path) : -1;
    }
    return 0;
}
