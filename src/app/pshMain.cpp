#include "app/pshMain.h"

#include <stdlib.h>

#include "app/ButtonLayout.h"
#include "app/wizWizard.h"
#include "fw/Resources.h"
#include "fw/SystemLibrary.h"
#include "pages/CancelPrompt.h"
#include "res/resource.h"
#include "state/SetupState.h"

namespace {
const int kWizardButtonIds[4] = {kBackButtonId, kNextButtonId, IDCANCEL, kFinishButtonId};
}

CPshMain::CPshMain(const char* caption, HWND parent, UINT startPage, HBITMAP watermark,
                   HPALETTE palette, HBITMAP header)
    : WizardSheet(caption, parent, startPage, watermark, palette, header) {
    g_setup.alreadyInstalled = IsProductInstalled(kProductName);
    if (g_setup.alreadyInstalled) {
        PropertyPageEx* const maintenance[] = {&welcomePage, &setupTypePage, &installPage, &removePage, &finishPage};
        SetPages(maintenance);
    } else {
        PropertyPageEx* const firstInstall[] = {&welcomePage, &folderPage, &installPage, &finishPage};
        SetPages(firstInstall);
    }
    m_psh.dwFlags |= PSH_WIZARD97;
}

void CPshMain::ShowWizardButtons(bool back, bool next, bool cancel, bool finish) const {
    const bool shown[4] = {back, next, cancel, finish};
    for (int i = 0; i < 4; ++i)
        if (HWND button = GetDlgItem(kWizardButtonIds[i]))
            ::ShowWindow(button, shown[i] ? SW_SHOW : SW_HIDE);
}

void CPshMain::EnableWizardButtons(bool back, bool next, bool cancel, bool finish) const {
    const bool enabled[4] = {back, next, cancel, finish};
    for (int i = 0; i < 4; ++i)
        if (HWND button = GetDlgItem(kWizardButtonIds[i]))
            ::EnableWindow(button, enabled[i] ? TRUE : FALSE);
}

void CPshMain::RunInstallation() {
    SetActivePage(installPage);
    installPage.RunInstall();
}

void CPshMain::RunRemoval() {
    SetActivePage(removePage);
    removePage.RunRemove();
}

void CPshMain::ShowFinishPage() { SetActivePage(finishPage); }

void CPshMain::SetButtonCaptions() {
    if (HWND back = GetDlgItem(kBackButtonId)) {
        LoadResourceString(IDS_BACK, text_);
        ::SetWindowTextA(back, ("< " + text_).c_str());
    }
    if (HWND next = GetDlgItem(kNextButtonId)) {
        LoadResourceString(IDS_NEXT, text_);
        ::SetWindowTextA(next, (text_ + " >").c_str());
    }
    if (HWND cancel = GetDlgItem(IDCANCEL)) {
        LoadResourceString(IDS_CANCEL, text_);
        ::SetWindowTextA(cancel, text_.c_str());
    }
    if (HWND finishButton = GetDlgItem(kFinishButtonId)) {
        LoadResourceString(IDS_FINISH, text_);
        ::SetWindowTextA(finishButton, text_.c_str());
    }
}

void CPshMain::LayoutButtons() const {
    const RECT sheet = GetWindowRect();
    for (int id : kWizardButtonIds) {
        HWND button = GetDlgItem(id);
        if (!button)
            continue;
        RECT rect;
        ::GetWindowRect(button, &rect);
        rect = TallerButton(rect);
        if (id == kFinishButtonId)
            rect = CentredButton(rect, sheet);
        ::MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
        Wnd(button).MoveWindow(rect, true);
    }
}

// Refuses every system but Windows Vista; the process ends here on the others.
static void RunOperatingSystemGate(HWND owner) {
    bool known = InitSystemInfo();
    if (known && g_setup.osCode < kOsVistaX86) {
        ::MessageBoxA(owner, "This utility is used for Windows Vista only!\n\n", "Warning", MB_ICONWARNING);
        exit(0);
    }
    if (!known) {
        ::MessageBoxA(owner, "Not support for this OS!\n\n", "Warning", MB_ICONWARNING);
        exit(0);
    }
}

BOOL CPshMain::OnInitDialog() {
    BOOL result = WizardSheet::OnInitDialog();
    HICON icon = ::LoadIconA(ResourceHandle(), MAKEINTRESOURCEA(IDI_SETUP));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    LoadResourceString(IDS_SHEET_TITLE, text_);
    PinTitle(text_.c_str());
    SetButtonCaptions();
    LayoutButtons();
    RunOperatingSystemGate(hwnd_);
    ComposeSetupPaths();
    LoadCancelTexts();
    return result;
}

// The libraries of the steps load while the user reads the first page; each
// step still asks for its own before it runs.
void CPshMain::OnFirstPageShown() { PreloadLibrariesForLaterSteps(); }
