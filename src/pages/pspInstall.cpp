#include "pages/pspInstall.h"

#include "engine/wizInstall.h"
#include "res/resource.h"

CPspInstall::CPspInstall() : CPspProgress(IDD_INSTALL, IDC_INSTALL_STATUS, IDC_INSTALL_PROGRESS, "Setup Status") {}

bool CPspInstall::RunInstall() {
    Run(installationRun);
    return true;
}
