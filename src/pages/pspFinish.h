#pragma once
// The last page: the outcome of the run, and Finish.
#include "fw/Controls.h"
#include "fw/EarlierInputFilter.h"
#include "pages/CPspEx.h"
#include "ui/CStaticText.h"

class CPspFinish : public CPspEx {
public:
    CPspFinish();

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void SetInitialFocus() const override { FocusSheetButton(kFinishButtonId); }
    BOOL OnQueryCancel() override;
    BOOL OnWizardFinish() override;

private:
    CStaticText result_;
    Button runCheck_;
    String text_;
    EarlierInputFilter earlierInput_;
};

// The result text for the run that took place: the success texts, or which
// steps did not complete.
String FinishText(bool removal, const char* failedSteps);
