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

// The digits 1 to 9 and the superscripts one, two and three of code page 1252,
// which Windows also reads as the numbers of COM and LPT ports.
bool IsPortNumber(unsigned char ch) { return (ch >= '1' && ch <= '9') || ch == 0xB9 || ch == 0xB2 || ch == 0xB3; }

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
    if (base == 4 && IsPortNumber(static_cast<unsigned char>(component[3])))
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
        const char* afterServer = strchr(rest, '\\');
        if (!afterServer)
            return rest;
        rest = afterServer + 1;
        const char* afterShare = strchr(rest, '\\');
        return afterShare ? afterShare + 1 : rest;
    }
    return memberName;
}

bool IsContainedRelativePath(const char* path) {
    if (!path || !path[0] || IsPathSeparator(path[0]) || strchr(path, ':'))
        return false;
    const char* component = path;
    for (;;) {
        size_t length = 0;
        while (component[length] && !IsPathSeparator(component[length]))
            ++length;
        if (!IsAcceptableComponent(component, length))
            return false;
        if (!component[length])
            return true;
        component += length + 1;
    }
}

bool IsPlainFileName(const char* name) {
    if (!name || !name[0] || strchr(name, '\\') || strchr(name, '/'))
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
