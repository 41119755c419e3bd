#include "app/CPspEx.h"

#include "app/pshMain.h"

CPshMain* CPspEx::Sheet() const { return static_cast<CPshMain*>(GetSheet()); }
