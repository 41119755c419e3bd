#pragma once
// The first page in both modes: greets the user on the watermark.
#include "fw/UniqueHandle.h"
#include "pages/CPspEx.h"
#include "ui/CStaticText.h"

class CPspWelcome : public CPspEx {
public:
    CPspWelcome();

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void SetInitialFocus() const override { FocusSheetButton(kNextButtonId); }
    BOOL OnQueryCancel() override;

private:
    CStaticText heading_;
    CStaticText body_;
    UniqueGdiObject headingFont_;  // the heading uses it as long as the page lives
    String headingText_;
};
