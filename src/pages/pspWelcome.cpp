#include "pages/pspWelcome.h"

#include "fw/Resources.h"
#include "pages/CancelPrompt.h"
#include "res/resource.h"
#include "state/SetupState.h"

CPspWelcome::CPspWelcome() : CPspEx(IDD_WELCOME) { SetHideHeader(); }

void CPspWelcome::DoDataExchange() {
    BindControl(IDC_WELCOME_HEADING, heading_);
    BindControl(IDC_WELCOME_BODY, body_);
}

BOOL CPspWelcome::OnInitDialog() {
    CPspEx::OnInitDialog();
    // The heading's box holds two lines at 96 DPI; a 20-pixel font (of any
    // width) took three there.
    headingFont_.Reset(::CreateFontA(16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                                     nullptr));
    headingText_ = LoadResourceString(IDS_WELCOME_TO) + " " + LoadResourceString(IDS_PRODUCT_SETUP);
    heading_.SetFont(static_cast<HFONT>(headingFont_.Get()), true);
    heading_.SetWindowText(headingText_.c_str());
    const char* body = g_setup.alreadyInstalled
                           ? "The %s application has been installed.\n\nThis wizard will guide you to "
                             "repair, upgrade, or to remove it.\n\n"
                           : "This wizard will guide you to install %s application.\n\n";
    body_.SetWindowText(String::Format(body, kProductName).c_str());
    ::ShowWindow(GetDlgItem(IDC_WELCOME_BITMAP), SW_HIDE);
    return TRUE;
}

BOOL CPspWelcome::OnSetActive() {
    Sheet()->EnableWizardButtons(false, true, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}

BOOL CPspWelcome::OnQueryCancel() { return ConfirmCancelLocalized() ? CPspEx::OnQueryCancel() : FALSE; }
