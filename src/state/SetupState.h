#pragma once
// The process-wide setup state: mode, operating-system code, folders and every
// composed path. Filled at start-up; only the writers named here change it.
#include <windows.h>

#include "fw/String.h"

struct SetupState {
    bool legacyPlatform = false;
    bool alreadyInstalled = false;
    bool removeChosen = false;
    WORD osCode = 0;

    String windowsDrive, windowsDir, systemDir, driversDir, infDir, tempDir;
    String programFilesDir, programsMenuDir, startupDir, desktopDir;

    String setupExeName, sourceDir, setupExePath;
    String setupCopyDir, setupCopyName, setupCopyPath;
    String installDir, utilityExeName, utilityExePath;
    String menuFolderName, menuFolderDir, menuUninstallLink, menuUtilityLink;
    String startupUtilityLink, desktopUninstallLink, desktopUtilityLink;
    String uninstallKeyName, productName, uninstallCommand;

    String cancelTitle, cancelText, yesText, noText, cancelButtonText;

    // The engine steps of the last run that did not do their work, by name,
    // separated by ", "; empty when every step succeeded.
    String failedSteps;
};

extern SetupState g_setup;

// Operating-system codes the wizard accepts.
const WORD kOsVistaX86 = 6003;
const WORD kOsVistaAmd64 = 6006;

const char* const kProductName = "Kestrin Duoflex Wireless Adapter";
const char* const kUninstallParentKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

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
