#include "pages/pspRemove.h"

#include "app/pshMain.h"
#include "app/wizWizard.h"
#include "res/resource.h"

CPspRemove::CPspRemove() : CPspEx(IDD_REMOVE) {
    SetPageTitle("");
    SetHeaderTitle("Removing files");
    SetHeaderSubTitle("");
}

BOOL CPspRemove::OnSetActive() {
    Sheet()->EnableWizardButtons(false, false, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}
