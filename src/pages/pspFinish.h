#pragma once
#include "app/CPspEx.h"

class CPspFinish : public CPspEx {
public:
    CPspFinish();

protected:
    BOOL OnSetActive() override;
};
