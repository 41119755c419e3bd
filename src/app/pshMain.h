#pragma once
// The wizard window: a Wizard97 sheet holding the pages of the install mode.
#include "app/CPspEx.h"
#include "fw/PropertySheetEx.h"
#include "pages/pspFinish.h"
#include "pages/pspFolder.h"
#include "pages/pspInstall.h"
#include "pages/pspRemove.h"
#include "pages/pspSetupType.h"
#include "pages/pspWelcome.h"

// Control ids of the sheet's standard wizard buttons.
const int kBackButtonId = 0x3023;
const int kNextButtonId = 0x3024;
const int kFinishButtonId = 0x3025;

class CPshMain : public PropertySheetEx {
public:
    CPshMain(const char* caption, HWND parent, UINT startPage, HBITMAP watermark, HPALETTE palette,
             HBITMAP header);

    void ShowWizardButtons(bool back, bool next, bool cancel, bool finish) const;
    void EnableWizardButtons(bool back, bool next, bool cancel, bool finish) const;

    CPspWelcome welcomePage;
    CPspSetupType setupTypePage;
    CPspFolder folderPage;
    CPspInstall installPage;
    CPspRemove removePage;
    CPspFinish finishPage;

protected:
    BOOL OnInitDialog() override;

private:
    void SetButtonCaptions();
    void LayoutButtons() const;

    String text_;
};
