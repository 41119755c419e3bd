#include "engine/wizInstall.h"

#include "engine/EnginePaths.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

bool CreateShortcuts() {
    // Without a Programs folder no menu paths were composed: nothing to create.
    // A menu folder that leads elsewhere (a link) is no place for the link either.
    if (!g_setup.menuFolderDir.IsEmpty() && IsProductMenuFolder(g_setup.menuFolderDir.c_str())) {
        MakeDirectoryTree(g_setup.menuFolderDir.c_str());
        // CreateShortcut answers true for a link it could not save: the file tells.
        CreateShortcut(g_setup.setupCopyPath.c_str(), g_setup.setupCopyDir.c_str(), g_setup.menuUninstallLink.c_str(),
                       "");
        return FileExists(g_setup.menuUninstallLink.c_str());
    }
    return true;
}
