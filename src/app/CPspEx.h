#pragma once
// The common base of the wizard's pages.
#include "fw/PropertyPageEx.h"

class CPshMain;

class CPspEx : public PropertyPageEx {
public:
    explicit CPspEx(UINT templateId) : PropertyPageEx(templateId) {}

protected:
    CPshMain* Sheet() const;
};
