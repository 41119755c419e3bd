#include "pages/pspFolder.h"

#include "app/pshMain.h"
#include "app/wizWizard.h"
#include "res/resource.h"

CPspFolder::CPspFolder() : CPspEx(IDD_FOLDER) {
    SetPageTitle("");
    SetHeaderTitle("Choose Destination Location");
    SetHeaderSubTitle("");
}

BOOL CPspFolder::OnSetActive() {
    Sheet()->EnableWizardButtons(true, true, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}
