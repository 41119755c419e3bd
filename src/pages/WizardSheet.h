#pragma once
// What the pages ask of the wizard sheet that holds them: the states of the
// wizard buttons and the moves to the runs and to the Finish page.
#include "fw/PropertySheetEx.h"

// Control ids of the sheet's standard wizard buttons.
const int kBackButtonId = 0x3023;
const int kNextButtonId = 0x3024;
const int kFinishButtonId = 0x3025;

class WizardSheet : public PropertySheetEx {
public:
    using PropertySheetEx::PropertySheetEx;

    virtual void ShowWizardButtons(bool back, bool next, bool cancel, bool finish) const = 0;
    virtual void EnableWizardButtons(bool back, bool next, bool cancel, bool finish) const = 0;

    // Makes the install (remove) page the active one and runs it; the run ends
    // on the Finish page.
    virtual void RunInstallation() = 0;
    virtual void RunRemoval() = 0;
    virtual void ShowFinishPage() = 0;
};
