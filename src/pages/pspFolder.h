#pragma once
#include "app/CPspEx.h"

class CPspFolder : public CPspEx {
public:
    CPspFolder();

protected:
    BOOL OnSetActive() override;
};
