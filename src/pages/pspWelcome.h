#pragma once
#include "app/CPspEx.h"

class CPspWelcome : public CPspEx {
public:
    CPspWelcome();

protected:
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
};
