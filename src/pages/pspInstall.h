#pragma once
// The installation run, from the folder page or the Repair/Upgrade choice.
#include "pages/pspProgress.h"

class CPspInstall : public CPspProgress {
public:
    CPspInstall();
    // The caller has made this the active page.
    bool RunInstall();
};
