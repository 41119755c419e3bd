#pragma once
// Helpers shared by the tests: scratch folders and registry keys that clean up
// after themselves, and small file helpers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wiztest {

// A fresh folder below C:\wiztest, removed with everything in it at the end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// A fresh key below HKCU\Software\WizTest, deleted with its subkeys at the end.
class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    HKEY Root() const { return HKEY_CURRENT_USER; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::string UniqueName(const char* stem);
// Deletes a scratch folder tree (read-only files too); refuses anything but
// the tests' own scratch area.
void DeleteTree(const std::string& path);
// The same for a folder of the product's ("Kestrin Duoflex", "\\Orvel") or the tests'.
void DeleteProductTree(const std::string& path);
bool PathExists(const std::string& path);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> ListFolder(const std::string& folder);
// Only the files (not folders) directly in folder, sorted.
std::vector<std::string> ListFiles(const std::string& folder);
bool IsDirectory(const std::string& path);
std::vector<unsigned char> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const void* data, size_t size);
inline bool WriteTextFile(const std::string& path, const std::string& text) {
    return WriteFileBytes(path, text.data(), text.size());
}

// The full path of this test program.
std::string ModulePath();
// Folder of the build output (drive Y: in the test prefixes) and Setup.exe in it.
std::string BuildDir();
// The Setup.exe under test: the build folder's, or the one WIZ_SETUP_EXE names
// (a Windows path, such as that of a signed build).
std::string SetupExePath();
// "vista32" or "vista64": the prefix this test runs in.
std::string PrefixName();
bool Is64BitPrefix();

// Registry helpers for checks, independent of the program's own registry code.
bool RegKeyExists(HKEY root, const std::string& path, REGSAM view = 0);
bool RegReadValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                  std::vector<unsigned char>* data, REGSAM view = 0);
std::string RegReadString(HKEY root, const std::string& path, const std::string& name, REGSAM view = 0);
void RegDeleteTree(HKEY root, const std::string& path, REGSAM view = 0);

// A registry value as it was, or its absence; RestoreValue writes it back
// (deletes the value when it was absent) into an existing key.
struct SavedValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<unsigned char> data;
};
SavedValue SaveValue(HKEY root, const std::string& key, const std::string& name, REGSAM view = 0);
void RestoreValue(HKEY root, const std::string& key, const std::string& name, const SavedValue& saved, REGSAM view = 0);

// A registry value as it was when this was made, put back when it goes.
class SavedRegistryValue {
public:
    SavedRegistryValue(HKEY root, const std::string& key, const std::string& name, REGSAM view = 0)
        : root_(root), key_(key), name_(name), view_(view), saved_(SaveValue(root, key, name, view)) {}
    ~SavedRegistryValue() { RestoreValue(root_, key_, name_, saved_, view_); }
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

private:
    HKEY root_;
    std::string key_, name_;
    REGSAM view_;
    SavedValue saved_;
};

// Two rectangles alike, or both shown in the failure message.
::testing::AssertionResult SameRect(const RECT& expected, const RECT& actual);

// The view Plug and Play reads DevicePath from, and the one a 32-bit program lands in.
REGSAM NativeView();
REGSAM RedirectedView();
// The driver search path as the view holds it (any type, terminators dropped);
// "<missing>" when there is no such value.
std::string ReadDevicePath(REGSAM view, DWORD* type = nullptr);

}  // namespace wiztest
