#pragma once
// The common base of the wizard's pages.
#include "fw/PropertyPageEx.h"

class CPshMain;

class CPspEx : public PropertyPageEx {
public:
    explicit CPspEx(UINT templateId) : PropertyPageEx(templateId) {}

    bool IsActivePage() const;

protected:
    CPshMain* Sheet() const;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // Gives the keyboard focus to a control of this page or of the sheet (or to
    // the page itself): Wine keeps it on the previous page's control otherwise.
    void FocusOn(HWND control) const;
    // Makes a wizard button the sheet's default and gives it the focus, so Enter presses it.
    void FocusSheetButton(int buttonId) const;
};
