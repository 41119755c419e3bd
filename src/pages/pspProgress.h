#pragma once
// What the install and remove pages share: a status line, a progress bar, the
// run's button states, and the guard that keeps the sheet from closing under
// a running engine: Cancel and the close box are unavailable while it works.
#include "engine/wizInstall.h"
#include "fw/Controls.h"
#include "pages/CPspEx.h"

class CPspProgress : public CPspEx {
public:
    CPspProgress(UINT templateId, int statusId, int progressId, const char* headerTitle);

    bool IsRunning() const { return running_; }

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    // The run disables every button, so the page itself holds the focus.
    void SetInitialFocus() const override { FocusOn(GetSafeHwnd()); }
    BOOL OnQueryCancel() override;
    LRESULT OnWizardNext() override;

    // Runs every row of run, in order, between the run's opening and its end
    // on the Finish page; each operation that did not do its work is named on
    // the Finish page.
    void Run(const EngineRun& run);

private:
    // The opening of a run: status "Status: ", the bar at 0 and shown, the pause.
    void BeginRun();
    // The end of a run: "Status: Done.", the final button states, the Finish page.
    void EndRun();
    void SetStatus(const char* text) const { status_.SetWindowText(text); }
    // Names an engine step that did not do its work, for the Finish page.
    static void NoteFailure(const char* name);

    void AllowClosing(bool allow) const;

    int statusId_;
    int progressId_;
    Static status_;
    ProgressBar progress_;
    bool running_ = false;
};
