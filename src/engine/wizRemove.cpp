#include "engine/wizInstall.h"

#include <shlobj.h>

#include "app/SetupState.h"
#include "engine/EnginePaths.h"
#include "system/CWinSetup.h"
#include "system/wizMisc.h"

namespace {

bool ReadUninstallValue(const char* name, String& out) {
    return ReadRegistryString(HKEY_LOCAL_MACHINE, UninstallKeyPath().c_str(), name, out);
}

// Deletes a Start-menu folder tree, but only the product's own: the value that
// names it comes from the registry and may name anything.
void RemoveMenuFolder(const char* folder, const String& userPrograms, const String& commonPrograms) {
    if (!IsProductMenuFolder(folder, userPrograms.c_str(), commonPrograms.c_str()))
        return;
    DWORD attributes = ::GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    // A folder that is a link leads elsewhere: only the link goes.
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        ::RemoveDirectoryA(folder);
    else
        RemoveDirectoryTree(folder);
}

void DeleteLink(const String& path) {
    if (!path.IsEmpty())
        DeleteFileAt(path.c_str());
}

}  // namespace

bool RemoveFiles() {
    String folder;
    if (!ReadUninstallValue("AppFolder", folder) || !IsFullPath(folder.c_str()))
        return false;
    String marker;
    if (!JoinFolderAndName(folder.c_str(), removalMarkerName, marker) || !FileExists(marker.c_str()))
        return true;
    const char* const* files = RemovalFileList(g_setup.osCode);
    for (; files && *files; ++files)
        DeleteFileIn(folder.c_str(), *files);
    RemoveEmptyDirectory(folder.c_str());
    return true;
}

bool RemoveShortcuts() {
    String menuFolder;
    bool read = ReadUninstallValue("ProgramsFolder", menuFolder);
    if (read) {
        CWinSetup folders;
        String userPrograms = folders.GetShellFolder(CSIDL_PROGRAMS);
        String commonPrograms = folders.GetShellFolder(CSIDL_COMMON_PROGRAMS);
        RemoveMenuFolder(menuFolder.c_str(), userPrograms, commonPrograms);
        if (!commonPrograms.IsEmpty())
            RemoveMenuFolder(JoinPath(commonPrograms, kProductName).c_str(), userPrograms, commonPrograms);
    }
    DeleteLink(g_setup.desktopUninstallLink);
    DeleteLink(g_setup.startupUtilityLink);
    DeleteLink(g_setup.desktopUtilityLink);
    return read;
}

bool UnregisterUninstall() {
    return DeleteRegistryKey(HKEY_LOCAL_MACHINE, kUninstallParentKey, g_setup.uninstallKeyName.c_str());
}
