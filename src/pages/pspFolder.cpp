#include "pages/pspFolder.h"

#include "fw/Path.h"
#include "fw/WinApp.h"
#include "res/resource.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"
#include "ui/Prompts.h"

namespace {
const int kFolderLimit = 260;
}

CPspFolder::CPspFolder() : CPspEx(IDD_FOLDER) {
    SetPageTitle("");
    SetHeaderTitle("Choose Destination Location");
    SetHeaderSubTitle("");
}

void CPspFolder::DoDataExchange() { BindControl(IDC_FOLDER_EDIT, folderEdit_); }

BOOL CPspFolder::OnInitDialog() {
    CPspEx::OnInitDialog();
    folderEdit_.LimitText(kFolderLimit);
    folderEdit_.SetWindowText(GetInstallDir().c_str());
    SetDlgItemText(IDC_FOLDER_MSG,
                   String::Format("Setup will install %s in the following folder.\n\nTo install to this folder, "
                                  "click \"Next\". To install to a different folder, click \"Browse\" and select "
                                  "another folder.",
                                  kWizardName)
                       .c_str());
    return TRUE;
}

BOOL CPspFolder::OnSetActive() {
    Sheet()->EnableWizardButtons(true, true, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}

BOOL CPspFolder::OnQueryCancel() { return ConfirmCancel() ? CPspEx::OnQueryCancel() : FALSE; }

bool CPspFolder::OnCommand(WORD id, WORD code, HWND) {
    if (id != IDC_FOLDER_BROWSE || code != BN_CLICKED)
        return false;
    Browse();
    return true;
}

void CPspFolder::Browse() {
    String chosen;
    if (!BrowseForFolder(WinApp::Current() ? WinApp::Current()->MainWindowHandle() : GetParent(),
                         GetInstallDir().c_str(), chosen))
        return;
    folderEdit_.SetWindowText(BrowsedFolderText(chosen).c_str());
}

String BrowsedFolderText(const String& chosen) {
    return chosen.Length() == 3 ? chosen : chosen + "\\";  // a drive root already ends in one
}

LRESULT CPspFolder::StayWithTextSelected() {
    folderEdit_.SetFocus();
    folderEdit_.SetSel(0, kFolderLimit);
    return -1;
}

String AcceptedFolderPath(const char* typed) {
    // Such a name would fail only at its own level, after the levels above it
    // were made. The edit box shows "?" for a character the code page lacks.
    if (HasCharacterNotAllowedInNames(typed))
        return String();
    char full[MAX_PATH];
    DWORD length = ::GetFullPathNameA(typed, MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return String();
    return String(full, length);
}

LRESULT CPspFolder::OnWizardNext() {
    String typed = folderEdit_.GetWindowText().Trimmed();
    if (typed.IsEmpty()) {
        folderEdit_.SetWindowText(GetInstallDir().c_str());
        return StayWithTextSelected();
    }
    String folder = AcceptedFolderPath(typed.c_str());
    int made = folder.IsEmpty() ? -1 : MakeDirectoryTree(folder.c_str());
    if (made == 1 && ShowMessage("Warning...",
                                 "The target folder already exists.\n\nDo you want to continue installation?",
                                 MB_ICONWARNING | MB_YESNOCANCEL) != IDYES)
        return StayWithTextSelected();
    if (made == -1) {
        ShowMessage("Warning...", "The target folder is invalid!\n\nPlease try the other one...",
                    MB_ICONWARNING);
        return StayWithTextSelected();
    }
    if (made == 0)
        RemoveDirectoryTree(folder.c_str());  // only a test: the run creates it again
    SetInstallDir(folder.c_str());
    Sheet()->RunInstallation();
    return -1;  // the run has moved the sheet to the Finish page already
}
