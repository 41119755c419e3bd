#include "pages/pspSetupType.h"

#include "app/pshMain.h"
#include "app/wizWizard.h"
#include "res/resource.h"

CPspSetupType::CPspSetupType() : CPspEx(IDD_SETUPTYPE) {
    SetPageTitle("");
    SetHeaderTitle(LoadResourceString(IDS_SELECT_SETUP).c_str());
    SetHeaderSubTitle(LoadResourceString(IDS_SELECT_SETUP_SUB).c_str());
}

BOOL CPspSetupType::OnSetActive() {
    Sheet()->EnableWizardButtons(true, false, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}
