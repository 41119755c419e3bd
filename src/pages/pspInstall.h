#pragma once
#include "app/CPspEx.h"

class CPspInstall : public CPspEx {
public:
    CPspInstall();

protected:
    BOOL OnSetActive() override;
};
