#include "pages/pspWelcome.h"

#include "app/SetupState.h"
#include "app/pshMain.h"
#include "app/wizWizard.h"
#include "res/resource.h"

CPspWelcome::CPspWelcome() : CPspEx(IDD_WELCOME) { SetHideHeader(); }

BOOL CPspWelcome::OnInitDialog() {
    CPspEx::OnInitDialog();
    String heading = LoadResourceString(IDS_WELCOME_TO) + " " + LoadResourceString(IDS_PRODUCT_SETUP);
    SetDlgItemText(IDC_WELCOME_HEADING, heading.c_str());
    const char* body = g_setup.alreadyInstalled
                           ? "The %s application has been installed.\n\nThis wizard will guide you to "
                             "repair, upgrade, or to remove it.\n\n"
                           : "This wizard will guide you to install %s application.\n\n";
    SetDlgItemText(IDC_WELCOME_BODY, String::Format(body, kProductName).c_str());
    ::ShowWindow(GetDlgItem(IDC_WELCOME_BITMAP), SW_HIDE);
    return TRUE;
}

BOOL CPspWelcome::OnSetActive() {
    Sheet()->EnableWizardButtons(false, true, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}
