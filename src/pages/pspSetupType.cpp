#include "pages/pspSetupType.h"

#include "fw/Resources.h"
#include "pages/CancelPrompt.h"
#include "res/resource.h"
#include "state/SetupState.h"
#include "ui/BtnSTLayout.h"

CPspSetupType::CPspSetupType() : CPspEx(IDD_SETUPTYPE) {
    SetPageTitle("");
    SetHeaderTitle(LoadResourceString(IDS_SELECT_SETUP).c_str());
    SetHeaderSubTitle(LoadResourceString(IDS_SELECT_SETUP_SUB).c_str());
}

void CPspSetupType::DoDataExchange() {
    BindControl(IDC_SETUP_REPAIR, repairButton_);
    BindControl(IDC_SETUP_REMOVE, removeButton_);
}

void CPspSetupType::SetUpChoice(BtnST& button, int iconId, const char* caption) {
    button.UseIcon(::LoadIconA(ResourceHandle(), MAKEINTRESOURCEA(iconId)));
    button.SetWindowText(caption);
    button.SetContentLayout(kImageAbove, true);
    button.SetHoverCursor(IDC_HAND_POINTER, true);
}

BOOL CPspSetupType::OnInitDialog() {
    CPspEx::OnInitDialog();
    g_setup.removeChosen = false;
    SetUpChoice(repairButton_, IDI_REPAIR, "Repair/Upgrade");
    SetUpChoice(removeButton_, IDI_REMOVE, "Remove");
    LoadResourceString(IDS_REPAIR_TEXT, text_);
    SetDlgItemText(IDC_SETUP_REPAIR_TEXT, text_.c_str());
    LoadResourceString(IDS_REMOVE_TEXT, text_);
    SetDlgItemText(IDC_SETUP_REMOVE_TEXT, text_.c_str());
    return TRUE;
}

BOOL CPspSetupType::OnSetActive() {
    Sheet()->EnableWizardButtons(true, false, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}

BOOL CPspSetupType::OnQueryCancel() { return ConfirmCancelLocalized() ? CPspEx::OnQueryCancel() : FALSE; }

bool CPspSetupType::OnCommand(WORD id, WORD code, HWND) {
    if (code != BN_CLICKED || (id != IDC_SETUP_REPAIR && id != IDC_SETUP_REMOVE))
        return false;
    g_setup.removeChosen = id == IDC_SETUP_REMOVE;
    if (g_setup.removeChosen)
        Sheet()->RunRemoval();
    else
        Sheet()->RunInstallation();
    return true;
}
