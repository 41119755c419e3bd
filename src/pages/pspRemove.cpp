#include "pages/pspRemove.h"

#include "engine/wizInstall.h"
#include "res/resource.h"

CPspRemove::CPspRemove() : CPspProgress(IDD_REMOVE, IDC_REMOVE_STATUS, IDC_REMOVE_PROGRESS, "Removing files") {}

bool CPspRemove::RunRemove() {
    BeginRun();
    SetStatus("Status: Remove files...");
    RecordStep(RemoveFiles(), "removing files");
    SetPos(40);
    RecordStep(RemoveAdapterDevice(), "removing the adapter device");
    SetPos(70);
    RecordStep(RemoveShortcuts(), "removing shortcuts");
    SetPos(80);
    SetStatus("Status: Remove setting...");
    SetPos(90);
    RecordStep(UnregisterUninstall(), "removing the uninstall entry");
    SetPos(100);
    EndRun();
    return true;
}
