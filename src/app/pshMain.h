#pragma once
// The wizard window: a Wizard97 sheet holding the pages of the install mode.
#include "pages/WizardSheet.h"
#include "pages/pspFinish.h"
#include "pages/pspFolder.h"
#include "pages/pspInstall.h"
#include "pages/pspRemove.h"
#include "pages/pspSetupType.h"
#include "pages/pspWelcome.h"

class CPshMain : public WizardSheet {
public:
    CPshMain(const char* caption, HWND parent, UINT startPage, HBITMAP watermark, HPALETTE palette,
             HBITMAP header);

    void ShowWizardButtons(bool back, bool next, bool cancel, bool finish) const override;
    void EnableWizardButtons(bool back, bool next, bool cancel, bool finish) const override;
    void RunInstallation() override;
    void RunRemoval() override;
    void ShowFinishPage() override;

    CPspWelcome welcomePage;
    CPspSetupType setupTypePage;
    CPspFolder folderPage;
    CPspInstall installPage;
    CPspRemove removePage;
    CPspFinish finishPage;

protected:
    BOOL OnInitDialog() override;
    void OnFirstPageShown() override;

private:
    void SetButtonCaptions();
    void LayoutButtons() const;

    String text_;
};
