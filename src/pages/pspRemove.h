#pragma once
// The removal run, from the Remove choice.
#include "pages/pspProgress.h"

class CPspRemove : public CPspProgress {
public:
    CPspRemove();
    // The caller has made this the active page.
    bool RunRemove();
};
