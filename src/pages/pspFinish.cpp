#include "pages/pspFinish.h"

#include "app/pshMain.h"
#include "app/wizWizard.h"
#include "res/resource.h"

CPspFinish::CPspFinish() : CPspEx(IDD_FINISH) {
    SetPageTitle("");
    SetHeaderTitle(LoadResourceString(IDS_SETUP_COMPLETE).c_str());
    SetHeaderSubTitle(LoadResourceString(IDS_SETUP_COMPLETE_SUB).c_str());
}

BOOL CPspFinish::OnSetActive() {
    Sheet()->EnableWizardButtons(false, false, false, true);
    Sheet()->ShowWizardButtons(false, false, false, true);
    return CPspEx::OnSetActive();
}
