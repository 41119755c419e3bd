#include "pages/pspInstall.h"

#include "engine/wizInstall.h"
#include "res/resource.h"
#include "state/SetupState.h"

CPspInstall::CPspInstall() : CPspProgress(IDD_INSTALL, IDC_INSTALL_STATUS, IDC_INSTALL_PROGRESS, "Setup Status") {}

bool CPspInstall::RunInstall() {
    bool restored = !g_setup.alreadyInstalled || RestoreInstallDir();
    BeginRun();
    RecordStep(restored, "restoring the installation folder");
    SetStatus("Status: Copying files...");
    SetPos(20);
    RecordStep(InstallFiles(), "copying files");
    SetPos(40);
    SetPos(60);
    SetStatus("Status: Building shortcut...");
    RecordStep(CreateShortcuts(), "building the shortcut");
    SetPos(70);
    SetStatus("Status: Registing setting...");
    RecordStep(TuneTcpParameters(), "network settings");
    SetPos(80);
    RecordStep(RegisterUninstall(), "registering the uninstall entry");
    SetPos(85);
    SetStatus("Status: Miscellaneous setting...");
    RecordStep(InstallDriver(), "driver installation");
    SetPos(100);
    EndRun();
    return true;
}
