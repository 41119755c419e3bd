#pragma once
#include "app/CPspEx.h"

class CPspSetupType : public CPspEx {
public:
    CPspSetupType();

protected:
    BOOL OnSetActive() override;
};
