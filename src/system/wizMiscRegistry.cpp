#include "system/wizMisc.h"

#include <string.h>

#include "fw/SystemLibrary.h"
#include "fw/UniqueHandle.h"

namespace {

// The reader's buffer: 255 characters and the terminator.
const DWORD kRegistryStringBytes = 256;
// Room for the composed path subkey\keyName, terminator included.
const size_t kKeyPathChars = 2048;

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

bool OpenKey(HKEY root, const char* subkey, REGSAM access, UniqueRegKey& key) {
    return ::RegOpenKeyExA(root, subkey, 0, access, key.Receive()) == ERROR_SUCCESS;
}

bool SetValue(HKEY root, const char* subkey, const char* name, DWORD type, const void* data, DWORD size) {
    UniqueRegKey key;
    if (!OpenKey(root, subkey, KEY_ALL_ACCESS, key))
        return false;
    return ::RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool ComposeKeyPath(const char* subkey, const char* keyName, String& out) {
    if (strlen(subkey) + 1 + strlen(keyName) >= kKeyPathChars)
        return false;
    out = String::Format("%s\\%s", subkey, keyName);
    return true;
}

typedef DWORD(WINAPI* SHDeleteKeyAFn)(HKEY, LPCSTR);

// Removes a key together with its subkeys, where RegDeleteKeyA cannot.
void DeleteKeyTree(HKEY parent, const char* keyName) {
    UniqueModule shlwapi(LoadSystemLibrary("shlwapi.dll"));
    if (!shlwapi)
        return;
    SHDeleteKeyAFn deleteTree = EntryPoint<SHDeleteKeyAFn>(shlwapi.Get(), "SHDeleteKeyA");
    if (deleteTree)
        deleteTree(parent, keyName);
}

}  // namespace

bool ReadRegistryString(HKEY root, const char* subkey, const char* name, String& out) {
    out.Clear();
    UniqueRegKey key;
    if (!OpenKey(root, subkey, KEY_READ, key))
        return false;
    char buffer[kRegistryStringBytes];
    DWORD size = sizeof(buffer);
    DWORD type = REG_NONE;
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        !IsStringType(type) || size > sizeof(buffer))
        return false;
    // The data need not end in a NUL. Without one inside what was returned, the
    // text either fills the whole buffer (no room for the terminator: too long)
    // or was stored unterminated, and is taken as it was returned.
    const char* end = static_cast<const char*>(memchr(buffer, '\0', size));
    size_t length = end ? static_cast<size_t>(end - buffer) : size;
    if (length >= sizeof(buffer))
        return false;
    out = String(buffer, length);
    return true;
}

bool WriteRegistryString(HKEY root, const char* subkey, const char* name, const char* text) {
    return SetValue(root, subkey, name, REG_SZ, text, static_cast<DWORD>(strlen(text) + 1));
}

bool WriteRegistryDword(HKEY root, const char* subkey, const char* name, DWORD value) {
    return SetValue(root, subkey, name, REG_DWORD, &value, sizeof(value));
}

bool OpenOrCreateKey(HKEY root, const char* subkey, const char* keyName, bool create) {
    String path;
    if (!ComposeKeyPath(subkey, keyName, path))
        return false;
    UniqueRegKey key;
    if (OpenKey(root, path.c_str(), KEY_ALL_ACCESS, key))
        return true;
    if (!create)
        return false;
    UniqueRegKey parent;
    if (!OpenKey(root, subkey, KEY_ALL_ACCESS, parent))
        return false;
    UniqueRegKey created;
    return ::RegCreateKeyExA(parent.Get(), keyName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                             created.Receive(), nullptr) == ERROR_SUCCESS;
}

bool DeleteRegistryKey(HKEY root, const char* subkey, const char* keyName) {
    // An empty name would make both deletions act on the parent key itself.
    if (!keyName || !*keyName)
        return false;
    UniqueRegKey parent;
    if (!OpenKey(root, subkey, KEY_ALL_ACCESS, parent))
        return false;
    if (::RegDeleteKeyA(parent.Get(), keyName) == ERROR_SUCCESS)
        return true;
    DeleteKeyTree(parent.Get(), keyName);
    return false;
}

bool RegistryKeyMayExist(HKEY root, const char* subkey, const char* keyName) {
    String path;
    if (!ComposeKeyPath(subkey, keyName, path))
        return true;  // not known to be absent
    UniqueRegKey key;
    return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_FILE_NOT_FOUND;
}
