#include "pages/pspRemove.h"

#include "engine/wizInstall.h"
#include "res/resource.h"

CPspRemove::CPspRemove() : CPspProgress(IDD_REMOVE, IDC_REMOVE_STATUS, IDC_REMOVE_PROGRESS, "Removing files") {}

bool CPspRemove::RunRemove() {
    Run(removalRun);
    return true;
}
