#include "engine/wizInstall.h"

#include "engine/EnginePaths.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

bool CreateShortcuts() {
    // Without a Programs folder no menu paths were composed: nothing to create.
    if (g_setup.menuFolderDir.IsEmpty())
        return true;
    // A menu folder that leads elsewhere (a link) is no place for the link.
    if (!IsProductMenuFolder(g_setup.menuFolderDir.c_str()))
        return false;
    MakeDirectoryTree(g_setup.menuFolderDir.c_str());
    // CreateShortcut answers true for a link it could not save: the file tells.
    CreateShortcut(g_setup.setupCopyPath.c_str(), g_setup.setupCopyDir.c_str(), g_setup.menuUninstallLink.c_str(), "");
    return FileExists(g_setup.menuUninstallLink.c_str());
}
