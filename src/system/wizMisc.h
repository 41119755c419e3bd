#pragma once
// The thin layer over Windows that the pages and the installation engine share:
// single registry values and keys, files and folder trees, the shell, and the
// driver search path. Every function takes plain strings, keeps no state and
// answers through its result; the one object, DigestChecker, keeps the
// cryptographic provider of its checks.
#include <windows.h>
#include <wincrypt.h>
#include <shtypes.h>

#include "fw/String.h"
#include "fw/UniqueHandle.h"

// Registry store. Each call opens what it needs and closes it again.

// Reads a REG_SZ or REG_EXPAND_SZ value that fits 256 bytes with its terminator;
// anything else (missing, longer, another type) answers false with out empty.
bool ReadRegistryString(HKEY root, const char* subkey, const char* name, String& out);
// The key must exist already; nothing is created.
bool WriteRegistryString(HKEY root, const char* subkey, const char* name, const char* text);
bool WriteRegistryDword(HKEY root, const char* subkey, const char* name, DWORD value);
// True when subkey\keyName exists afterwards; with create, only keyName itself is
// created below an existing subkey.
bool OpenOrCreateKey(HKEY root, const char* subkey, const char* keyName, bool create);
// True only when RegDeleteKeyA removed the key; a key with subkeys is still removed
// through shlwapi's SHDeleteKeyA, but the answer stays false.
bool DeleteRegistryKey(HKEY root, const char* subkey, const char* keyName);
// False only when opening subkey\keyName answers that it is not there: true
// for a key that exists, also one that may not be opened, and when the path
// cannot be composed to ask.
bool RegistryKeyMayExist(HKEY root, const char* subkey, const char* keyName);

// Window messages, files and folders.

// Dispatches the thread's messages, one per pass, until at least `milliseconds`
// have passed (exactly one pass for 0); answers the milliseconds elapsed.
DWORD PumpWait(DWORD milliseconds);
bool FileExists(const char* path);
// Makes sure folder\fileName exists; recreate empties an existing one.
bool EnsureMarkerFile(const char* fileName, const char* folder, bool recreate);
bool DeleteFileAt(const char* path);
bool DeleteFileIn(const char* folder, const char* fileName);
// 0 created, 1 existed already, -1 could not be created.
int MakeDirectoryTree(const char* path);
// Deletes the folder's files and subfolders depth first, then the folder. Leaves
// read-only files, folders whose names begin with "." and whatever holds them.
// False only when a path did not fit MAX_PATH (that part is left alone).
bool RemoveDirectoryTree(const char* folder);
bool RemoveEmptyDirectory(const char* path);
// An existing file or folder opened for reading its attributes and identity
// only, shared with every other use of it; invalid when it cannot be opened.
UniqueFile OpenToQuery(const char* path);
// Where the file system leads an existing folder, links and junctions followed
// (GetFinalPathNameByHandleA), without the "\\?\" prefix; false when the folder
// cannot be opened or the system cannot say.
bool GetFinalFolderPath(const char* folder, String& out);
// Whether path exists and is itself a link or junction (a reparse point).
bool IsReparsePoint(const char* path);

// Checks files against what a build recorded of them. One checker acquires
// one CryptoAPI provider, at its first check, for all the files it checks.
class DigestChecker {
public:
    DigestChecker() = default;
    DigestChecker(const DigestChecker&) = delete;
    DigestChecker& operator=(const DigestChecker&) = delete;

    // Whether the file holds exactly `size` bytes whose SHA-256 is sha256;
    // false too when it cannot be read or the hash cannot be computed.
    bool Matches(const char* path, DWORD size, const BYTE sha256[32]);

private:
    struct ProviderTraits {
        using Handle = HCRYPTPROV;
        static Handle Invalid() { return 0; }
        static void Close(Handle h) { ::CryptReleaseContext(h, 0); }
    };
    UniqueHandle<ProviderTraits> provider_;
};

// The shell.

// The folder browser, preselecting initialFolder when it is not empty.
bool BrowseForFolder(HWND owner, const char* initialFolder, String& out);
// The file-system folder of a shell item, in the code page's characters with
// "?" for those it lacks; false when the item is no file-system folder.
bool FolderPathOfItem(PCIDLIST_ABSOLUTE item, String& out);
bool ShellOpen(const char* file, const char* parameters, const char* folder);
// True unless COM or the shell-link object failed, or linkPath does not fit
// MAX_PATH; a link that could not be saved still answers true.
bool CreateShortcut(const char* target, const char* workingFolder, const char* linkPath,
                    const char* description);

// The driver search path: makes folder the first entry of DevicePath (in the
// native registry view on 64-bit Windows), taking it out where it is listed
// further back; writes nothing when it is first already.
bool AddDevicePath(const char* folder);

// Pure helpers, exposed for their tests.


enum class TreeEntryAction { DeleteFile, Descend, RemoveLink, LeaveAlone };
// What the tree walk does with one entry that FindFirstFileA/FindNextFileA found.
TreeEntryAction ClassifyTreeEntry(DWORD attributes, const char* name);

// Whether folder is listed in a DevicePath value: a match without regard to case
// that ends at ";" or at the end of the value.
bool DevicePathListsFolder(const char* value, const char* folder);
