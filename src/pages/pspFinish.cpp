#include "pages/pspFinish.h"

#include "fw/MessageRecord.h"
#include "fw/Resources.h"
#include "res/resource.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

CPspFinish::CPspFinish() : CPspEx(IDD_FINISH) {
    SetPageTitle("");
    SetHeaderTitle(LoadResourceString(IDS_SETUP_COMPLETE).c_str());
    SetHeaderSubTitle(LoadResourceString(IDS_SETUP_COMPLETE_SUB).c_str());
}

void CPspFinish::DoDataExchange() {
    BindControl(IDC_FINISH_TEXT, result_);
    BindControl(IDC_FINISH_RUN, runCheck_);
}

String FinishText(bool removal, const char* failedSteps) {
    if (failedSteps && *failedSteps)
        return String::Format(removal ? "The removal of %s did not complete.\n\nThese steps failed: %s.\n\n"
                                        "Click \"Finish\" to exit the uninstall wizard."
                                      : "The installation of %s did not complete.\n\nThese steps failed: %s."
                                        "\n\nClick \"Finish\" to exit the wizard.",
                              kProductName, failedSteps);
    if (removal)
        return String::Format("The %s has successfully uninstalled.\n\nClick \"Finish\" to exit the uninstall "
                              "wizard.",
                              kWizardName);
    return String::Format("The %s has successfully installed.\n\nPlease make sure the adapter is installed on "
                          "your PC.\n\nClick \"Finish\" to exit the wizard.",
                          kWizardName);
}

BOOL CPspFinish::OnInitDialog() {
    CPspEx::OnInitDialog();
    text_ = FinishText(g_setup.removeChosen, g_setup.failedSteps.c_str());
    result_.SetWindowText(text_.c_str());
    if (!g_setup.removeChosen)
        runCheck_.SetWindowText(String::Format("Run %s", kProductName).c_str());
    runCheck_.ShowWindow(SW_HIDE);
    if (!g_setup.removeChosen)
        runCheck_.SetCheck(BST_CHECKED);
    return TRUE;
}

BOOL CPspFinish::OnSetActive() {
    // Keys, clicks and close requests made while the run worked may reach the
    // sheet only now, or later still, or leave a request behind that does;
    // none of them was meant for this page.
    DWORD moment = ::GetTickCount();
    earlierInput_.Start(Sheet()->GetSafeHwnd(), moment);
    Sheet()->RefuseRequestsMadeBefore(moment);
    RecordMessage("finish page activates", 0, 0, moment);
    Sheet()->EnableWizardButtons(false, false, false, true);
    Sheet()->ShowWizardButtons(false, false, false, true);
    return CPspEx::OnSetActive();
}

BOOL CPspFinish::OnQueryCancel() { return !Sheet()->IsEarlierRequest(); }

BOOL CPspFinish::OnWizardFinish() {
    if (Sheet()->IsEarlierRequest())
        return FALSE;
    // The installation does not bring the utility itself; asking the shell to
    // open a missing file would end a good setup on the shell's error box.
    if (!g_setup.removeChosen && runCheck_.GetCheck() == BST_CHECKED && FileExists(g_setup.utilityExePath.c_str()))
        ShellOpen(g_setup.utilityExePath.c_str(), "", g_setup.installDir.c_str());
    return CPspEx::OnWizardFinish();
}
