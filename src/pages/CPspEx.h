#pragma once
// The common base of the wizard's pages; they live only in a WizardSheet.
#include "fw/PropertyPageEx.h"
#include "pages/WizardSheet.h"

class CPspEx : public PropertyPageEx {
public:
    explicit CPspEx(UINT templateId) : PropertyPageEx(templateId) {}

    bool IsActivePage() const;

protected:
    WizardSheet* Sheet() const;
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // Activates the page, then lets SetInitialFocus place the keyboard focus:
    // Wine keeps it on the previous page's control otherwise.
    BOOL OnSetActive() override;
    // Gives the focus to what should hold it when the page opens, with FocusOn
    // or FocusSheetButton.
    virtual void SetInitialFocus() const = 0;

    // Gives the keyboard focus to a control of this page or of the sheet (or to the page itself).
    void FocusOn(HWND control) const;
    // Makes a wizard button the sheet's default and gives it the focus, so Enter presses it.
    void FocusSheetButton(int buttonId) const;
};
