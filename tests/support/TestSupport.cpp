#include "support/TestSupport.h"

#include <shlwapi.h>
#include <algorithm>
#include <stdio.h>

#include "fw/SystemLibrary.h"
#include "fw/UniqueHandle.h"

namespace wiztest {

std::string UniqueName(const char* stem) {
    static LONG counter = 0;
    char name[96];
    // Wine reuses process ids from run to run, so the start time keeps names apart.
    static const DWORD started = GetTickCount();
    snprintf(name, sizeof(name), "%s-%lu-%lu-%ld", stem, GetCurrentProcessId(), started,
             InterlockedIncrement(&counter));
    return name;
}

ScratchDir::ScratchDir() {
    CreateDirectoryA("C:\\wiztest", nullptr);
    path_ = "C:\\wiztest\\" + UniqueName("dir");
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() { DeleteTree(path_); }

ScratchKey::ScratchKey() {
    path_ = "Software\\WizTest\\" + UniqueName("key");
    UniqueRegKey key;
    RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
}

ScratchKey::~ScratchKey() { RegDeleteTree(HKEY_CURRENT_USER, path_); }

namespace {
// Walks the tree depth first; a directory link is removed, never followed.
// A link at the top is left alone: Wine removes a link's target, not the link.
void DeleteTreeUnchecked(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return;
    WIN32_FIND_DATAA entry;
    UniqueFind find(FindFirstFileA((path + "\\*").c_str(), &entry));
    if (find) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (directory && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                DeleteTreeUnchecked(child);
            else if (directory)
                RemoveDirectoryA(child.c_str());
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find.Get(), &entry));
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

bool Mentions(const std::string& path, const char* part) { return path.find(part) != std::string::npos; }
}  // namespace

void DeleteTree(const std::string& path) {
    // Guard against ever walking anything but the test's own scratch area.
    if (path.size() >= 12 && Mentions(path, "wiztest"))
        DeleteTreeUnchecked(path);
}

void DeleteProductTree(const std::string& path) {
    if (path.size() > 12 && (Mentions(path, "Kestrin Duoflex") || Mentions(path, "\\Orvel") || Mentions(path, "wiztest")))
        DeleteTreeUnchecked(path);
}

namespace {
std::vector<std::string> SortedNames(const std::string& folder, bool filesOnly) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find)
        return names;
    do {
        std::string name = entry.cFileName;
        bool directory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (name != "." && name != ".." && !(filesOnly && directory))
            names.push_back(name);
    } while (FindNextFileA(find.Get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

std::vector<std::string> ListFolder(const std::string& folder) { return SortedNames(folder, false); }
std::vector<std::string> ListFiles(const std::string& folder) { return SortedNames(folder, true); }

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return bytes;
    DWORD size = GetFileSize(file.Get(), nullptr), read = 0;
    bytes.resize(size);
    if (size && !ReadFile(file.Get(), bytes.data(), size, &read, nullptr))
        read = 0;
    bytes.resize(read);
    return bytes;
}

bool WriteFileBytes(const std::string& path, const void* data, size_t size) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

std::string ModulePath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string BuildDir() {
    char path[MAX_PATH];
    lstrcpynA(path, ModulePath().c_str(), MAX_PATH);
    PathRemoveFileSpecA(path);  // ...\tests
    PathRemoveFileSpecA(path);  // the build folder
    return path;
}

std::string SetupExePath() {
    const char* otherBuild = getenv("WIZ_SETUP_EXE");
    return otherBuild ? otherBuild : BuildDir() + "\\Setup.exe";
}

std::string PrefixName() {
    const char* name = getenv("WIZ_PREFIX");
    return name ? name : "vista32";
}

bool Is64BitPrefix() { return PrefixName() == "vista64"; }

bool RegKeyExists(HKEY root, const std::string& path, REGSAM view) {
    UniqueRegKey key;
    return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, key.Receive()) == ERROR_SUCCESS;
}

bool RegReadValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                  std::vector<unsigned char>* data, REGSAM view) {
    UniqueRegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, key.Receive()) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key.Get(), name.c_str(), nullptr, type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        data->resize(size);
        status = RegQueryValueExA(key.Get(), name.c_str(), nullptr, type, data->data(), &size);
        data->resize(size);
    }
    return status == ERROR_SUCCESS;
}

std::string RegReadString(HKEY root, const std::string& path, const std::string& name, REGSAM view) {
    DWORD type = 0;
    std::vector<unsigned char> data;
    if (!RegReadValue(root, path, name, &type, &data, view) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    std::string text(data.begin(), data.end());
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

SavedValue SaveValue(HKEY root, const std::string& key, const std::string& name, REGSAM view) {
    SavedValue saved;
    saved.present = RegReadValue(root, key, name, &saved.type, &saved.data, view);
    return saved;
}

void RestoreValue(HKEY root, const std::string& key, const std::string& name, const SavedValue& saved, REGSAM view) {
    UniqueRegKey handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE | view, handle.Receive()) != ERROR_SUCCESS)
        return;
    if (saved.present)
        RegSetValueExA(handle.Get(), name.c_str(), 0, saved.type, saved.data.data(),
                       static_cast<DWORD>(saved.data.size()));
    else
        RegDeleteValueA(handle.Get(), name.c_str());
}

void RegDeleteTree(HKEY root, const std::string& path, REGSAM view) {
    UniqueRegKey key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, key.Receive()) != ERROR_SUCCESS)
        return;
    char name[256];
    while (RegEnumKeyA(key.Get(), 0, name, sizeof(name)) == ERROR_SUCCESS) {
        std::string child = path + "\\" + name;
        size_t before = child.size();
        RegDeleteTree(root, child, view);
        if (RegKeyExists(root, child, view) && before)
            break;  // could not delete: avoid looping forever
    }
    key.Reset();
    typedef LONG(WINAPI * RegDeleteKeyExAFn)(HKEY, LPCSTR, REGSAM, DWORD);
    RegDeleteKeyExAFn deleteEx = EntryPoint<RegDeleteKeyExAFn>(GetModuleHandleA("advapi32.dll"), "RegDeleteKeyExA");
    if (deleteEx && view)
        deleteEx(root, path.c_str(), view, 0);
    else
        RegDeleteKeyA(root, path.c_str());
}

::testing::AssertionResult SameRect(const RECT& expected, const RECT& actual) {
    if (EqualRect(&expected, &actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected (" << expected.left << "," << expected.top << ","
                                         << expected.right << "," << expected.bottom << ") got (" << actual.left
                                         << "," << actual.top << "," << actual.right << "," << actual.bottom << ")";
}

REGSAM NativeView() { return Is64BitPrefix() ? KEY_WOW64_64KEY : 0; }
REGSAM RedirectedView() { return Is64BitPrefix() ? KEY_WOW64_32KEY : 0; }

std::string ReadDevicePath(REGSAM view, DWORD* type) {
    DWORD storedType = REG_NONE;
    std::vector<unsigned char> data;
    if (!RegReadValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "DevicePath", &storedType,
                      &data, view))
        return "<missing>";
    if (type)
        *type = storedType;
    std::string text(data.begin(), data.end());
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

}  // namespace wiztest
