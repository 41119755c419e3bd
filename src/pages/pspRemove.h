#pragma once
#include "app/CPspEx.h"

class CPspRemove : public CPspEx {
public:
    CPspRemove();

protected:
    BOOL OnSetActive() override;
};
