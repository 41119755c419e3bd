#include "pages/pspInstall.h"

#include "app/pshMain.h"
#include "app/wizWizard.h"
#include "res/resource.h"

CPspInstall::CPspInstall() : CPspEx(IDD_INSTALL) {
    SetPageTitle("");
    SetHeaderTitle("Setup Status");
    SetHeaderSubTitle("");
}

BOOL CPspInstall::OnSetActive() {
    Sheet()->EnableWizardButtons(false, false, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}
