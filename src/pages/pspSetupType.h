#pragma once
// Maintenance mode only: Repair/Upgrade or Remove, each starting its run at once.
#include "pages/CPspEx.h"
#include "ui/BtnST.h"

class CPspSetupType : public CPspEx {
public:
    CPspSetupType();

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void SetInitialFocus() const override { FocusOn(repairButton_.GetSafeHwnd()); }
    BOOL OnQueryCancel() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void SetUpChoice(BtnST& button, int iconId, const char* caption);

    BtnST repairButton_;
    BtnST removeButton_;
    String text_;
};
