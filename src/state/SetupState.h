#pragma once
// The process-wide setup state: mode, operating-system code, folders and every
// composed path. Each group names the functions that write it; nothing else does.
#include <windows.h>

#include "fw/String.h"

struct SetupState {
    // InitSystemInfo, through the operating-system gate of CPshMain::OnInitDialog.
    bool legacyPlatform = false;
    // The CPshMain constructor, from whether the uninstall entry exists.
    bool alreadyInstalled = false;
    // CPspSetupType: false when its page's dialog is made, then the choice clicked.
    bool removeChosen = false;
    // InitSystemInfo.
    WORD osCode = 0;

    // InitSystemInfo.
    String windowsDrive, windowsDir, systemDir, driversDir, infDir, tempDir;
    String programFilesDir, programsMenuDir, startupDir, desktopDir;

    // ComposeSetupPaths(From), from the folders above; installDir and
    // utilityExePath again through SetInstallDir (the folder page,
    // RestoreInstallDir).
    String setupExeName, sourceDir, setupExePath;
    String setupCopyDir, setupCopyName, setupCopyPath;
    String installDir, utilityExeName, utilityExePath;
    String menuFolderName, menuFolderDir, menuUninstallLink, menuUtilityLink;
    String startupUtilityLink, desktopUninstallLink, desktopUtilityLink;
    String uninstallKeyName, productName, uninstallCommand;

    // LoadCancelTexts (pages/CancelPrompt), from the string table.
    String cancelTitle, cancelText, yesText, noText, cancelButtonText;

    // CPspProgress: emptied when a run begins, extended by each step that
    // failed. The engine steps of the last run that did not do their work, by
    // name, separated by ", "; empty when every step succeeded.
    String failedSteps;
};

extern SetupState& g_setup;

// Operating-system codes the wizard accepts.
const WORD kOsVistaX86 = 6003;
const WORD kOsVistaAmd64 = 6006;

const char* const kProductName = "Kestrin Duoflex Wireless Adapter";
// The wizard's short name: in its texts, and the name of the mutex that keeps
// a second wizard from starting.
const char* const kWizardName = "Wireless Adapter Setup";
const char* const kUninstallParentKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// "SOFTWARE\...\Uninstall\<keyName>": the uninstall entry's key under
// HKEY_LOCAL_MACHINE.
String UninstallKeyPath(const char* keyName);

// The code for a reported version: 351 ... 502 for older systems, 6003/6006 for
// Vista by native processor architecture, 0 for everything else.
WORD OsCodeFromVersion(DWORD major, DWORD minor, WORD nativeArchitecture);
WORD GetOsCode();

bool InitSystemInfo();

// Composes every name and path from the folder fields. The running program's
// own full path is the source of the setup copy.
void ComposeSetupPaths();
void ComposeSetupPathsFrom(SetupState& state, const char* modulePath, const char* currentDir);

void SetInstallDir(const char* folder);
String GetInstallDir();
