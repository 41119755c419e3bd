#pragma once
// The application object: one running wizard at a time, then the sheet.
#include "fw/WinApp.h"

class CWizard97App : public WinApp {
protected:
    int Main() override;
};

// Shows the running wizard's sheet when another copy is already running.
void BringRunningWizardForward();
