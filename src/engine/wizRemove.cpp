#include "engine/wizInstall.h"

#include <shlobj.h>
#include <string.h>

#include "engine/EnginePaths.h"
#include "fw/Path.h"
#include "state/SetupState.h"
#include "system/CWinSetup.h"
#include "system/wizMisc.h"

namespace {

bool ReadUninstallValue(const char* name, String& out) {
    String keyPath = UninstallKeyPath(g_setup.uninstallKeyName.c_str());
    return ReadRegistryString(HKEY_LOCAL_MACHINE, keyPath.c_str(), name, out);
}

// Deletes a Start-menu folder tree, but only the product's own: the value that
// names it comes from the registry and may name anything.
void RemoveMenuFolder(const char* folder, const ProgramsFolders& programs) {
    DWORD attributes = ::GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    // A folder that is a link leads elsewhere: only the link goes.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (IsProductMenuFolderName(folder, programs))
            ::RemoveDirectoryA(folder);
    } else if (IsProductMenuFolder(folder, programs)) {
        RemoveDirectoryTree(folder);
    }
}

// Whether nothing is at path (an empty path names nothing).
bool IsGone(const String& path) { return path.IsEmpty() || ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES; }

// Deletes the link; whether it is gone afterwards.
bool DeleteLink(const String& path) {
    if (!path.IsEmpty())
        DeleteFileAt(path.c_str());
    return IsGone(path);
}

// The package first, the marker last (RemovalFileList's order): a removal cut
// short (a crash, a power loss) leaves the marker, so that running it again
// completes it. The marker goes only when the whole package is gone.
bool RemovePackageThenMarker(const char* folder) {
    bool packageGone = true;
    for (const char* const* files = RemovalFileList(g_setup.osCode); files && *files; ++files) {
        bool marker = strcmp(*files, removalMarkerName) == 0;
        if (marker && !packageGone)
            break;
        DeleteFileIn(folder, *files);
        String path;
        bool present = JoinPathWithinMaxPath(folder, *files, path) &&
                       ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        packageGone = packageGone && !present;
    }
    return packageGone;
}

}  // namespace

bool RemoveFiles() {
    String folder;
    // The value may name any folder; removal deletes only in one of the product's.
    if (!ReadUninstallValue("AppFolder", folder) || !IsAcceptableInstallFolder(folder.c_str()))
        return false;
    String marker;
    if (!JoinPathWithinMaxPath(folder.c_str(), removalMarkerName, marker) || !FileExists(marker.c_str()))
        return true;
    bool packageGone = RemovePackageThenMarker(folder.c_str());
    RemoveEmptyDirectory(folder.c_str());
    return packageGone;
}

bool RemoveShortcuts() {
    String menuFolder;
    bool read = ReadUninstallValue("ProgramsFolder", menuFolder);
    CWinSetup folders;
    String commonPrograms = folders.GetShellFolder(CSIDL_COMMON_PROGRAMS);
    ProgramsFolders programs =
        NormalProgramsFolders(folders.GetShellFolder(CSIDL_PROGRAMS).c_str(), commonPrograms.c_str());
    // Without a usable value the folder the wizard composes goes: its
    // Uninstall link must not outlive the uninstall entry.
    if (!read || !IsProductMenuFolderName(menuFolder.c_str(), programs))
        menuFolder = g_setup.menuFolderDir;
    RemoveMenuFolder(menuFolder.c_str(), programs);
    String commonFolder = commonPrograms.IsEmpty() ? String() : JoinPath(commonPrograms, kProductName);
    if (read)
        RemoveMenuFolder(commonFolder.c_str(), programs);
    bool linksGone = DeleteLink(g_setup.desktopUninstallLink);
    linksGone = DeleteLink(g_setup.startupUtilityLink) && linksGone;
    linksGone = DeleteLink(g_setup.desktopUtilityLink) && linksGone;
    return linksGone && IsGone(menuFolder) && IsGone(commonFolder);
}

bool UnregisterUninstall() {
    // RegDeleteKeyA refuses a key with subkeys, which the tree deletion behind it
    // still removes: what counts is whether the entry is gone.
    DeleteRegistryKey(HKEY_LOCAL_MACHINE, kUninstallParentKey, g_setup.uninstallKeyName.c_str());
    return !RegistryKeyMayExist(HKEY_LOCAL_MACHINE, kUninstallParentKey, g_setup.uninstallKeyName.c_str());
}
