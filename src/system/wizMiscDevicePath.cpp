#include "system/wizMisc.h"

#include <string.h>

#include "fw/SystemLibrary.h"
#include "fw/UniqueHandle.h"

namespace {

const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kDevicePathValue[] = "DevicePath";

typedef BOOL(WINAPI* IsWow64ProcessFn)(HANDLE, PBOOL);

// Plug and Play reads DevicePath in the system's own view; a 32-bit process on
// 64-bit Windows would otherwise be redirected to the 32-bit copy.
REGSAM NativeRegistryView() {
    IsWow64ProcessFn isWow64 = EntryPoint<IsWow64ProcessFn>(::GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    if (isWow64 && isWow64(::GetCurrentProcess(), &wow64) && wow64)
        return KEY_WOW64_64KEY;
    return 0;
}

String LowerCase(const char* text) {
    String lower(text);
    if (!lower.IsEmpty()) {
        char* buffer = lower.GetBuffer(lower.Length());
        ::CharLowerBuffA(buffer, static_cast<DWORD>(lower.Length()));
        lower.ReleaseBuffer(static_cast<long>(lower.Length()));
    }
    return lower;
}

// The whole string value, whatever its length, and its type.
bool ReadWholeString(HKEY key, const char* name, String& out, DWORD& type) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        char* buffer = out.GetBuffer(size);
        LONG status = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
        if (status == ERROR_MORE_DATA)
            continue;  // the value grew between the two queries
        if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
            out.ReleaseBuffer(0);
            return false;
        }
        buffer[size] = '\0';  // the data need not carry its own terminator
        out.ReleaseBuffer();
        return true;
    }
    out.ReleaseBuffer(0);
    return false;
}

}  // namespace

bool DevicePathListsFolder(const char* value, const char* folder) {
    String lowerValue = LowerCase(value), lowerFolder = LowerCase(folder);
    size_t folderLength = lowerFolder.Length();
    if (folderLength == 0)
        return false;
    const char* text = lowerValue.c_str();
    for (const char* found = strstr(text, lowerFolder.c_str()); found;
         found = strstr(found + 1, lowerFolder.c_str())) {
        // A whole entry only: a match that begins after another character may
        // begin on the second byte of a double-byte character.
        bool startsEntry = found == text || found[-1] == ';';
        char after = found[folderLength];
        if (startsEntry && (after == ';' || after == '\0'))
            return true;
    }
    return false;
}

bool AddDevicePath(const char* folder) {
    if (!*folder || strlen(folder) >= MAX_PATH)
        return false;
    UniqueRegKey key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | NativeRegistryView(),
                        key.Receive()) != ERROR_SUCCESS)
        return false;
    String value;
    DWORD type = REG_NONE;
    if (!ReadWholeString(key.Get(), kDevicePathValue, value, type))
        return false;
    // The device library stages the package of the first folder on the list
    // that holds one: an older package listed before this folder would win.
    // The folder goes first, and every entry that lists it goes out.
    char* list = value.GetBuffer(value.Length());
    String updated(folder);
    for (char* entry = list; entry;) {
        char* end = strchr(entry, ';');
        if (end)
            *end++ = '\0';
        if (!DevicePathListsFolder(entry, folder)) {
            updated += ';';
            updated += entry;
        } else if (entry == list) {
            return true;  // first already: nothing to write
        }
        entry = end;
    }
    return ::RegSetValueExA(key.Get(), kDevicePathValue, 0, type, reinterpret_cast<const BYTE*>(updated.c_str()),
                            static_cast<DWORD>(updated.Length() + 1)) == ERROR_SUCCESS;
}
