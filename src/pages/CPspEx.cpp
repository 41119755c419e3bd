#include "pages/CPspEx.h"

WizardSheet* CPspEx::Sheet() const { return static_cast<WizardSheet*>(GetSheet()); }

bool CPspEx::IsActivePage() const { return Sheet()->GetActivePage() == this; }

INT_PTR CPspEx::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // A control of a page that has been left may still hold the focus while a
    // run pumps messages; a key it receives then is not meant for it.
    if (msg == WM_COMMAND && lp && !IsActivePage())
        return TRUE;
    return PropertyPageEx::OnMessage(msg, wp, lp);
}

BOOL CPspEx::OnSetActive() {
    BOOL result = PropertyPageEx::OnSetActive();
    SetInitialFocus();
    return result;
}

void CPspEx::FocusOn(HWND control) const {
    if (control)
        Sheet()->SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

void CPspEx::FocusSheetButton(int buttonId) const {
    Sheet()->SendMessage(DM_SETDEFID, static_cast<WPARAM>(buttonId), 0);
    FocusOn(Sheet()->GetDlgItem(buttonId));
}
