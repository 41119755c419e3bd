#include "pages/pspProgress.h"

#include "fw/MessageRecord.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"
#include "ui/Prompts.h"

CPspProgress::CPspProgress(UINT templateId, int statusId, int progressId, const char* headerTitle)
    : CPspEx(templateId), statusId_(statusId), progressId_(progressId) {
    SetPageTitle("");
    SetHeaderTitle(headerTitle);
    SetHeaderSubTitle("");
}

void CPspProgress::DoDataExchange() {
    BindControl(statusId_, status_);
    BindControl(progressId_, progress_);
}

BOOL CPspProgress::OnInitDialog() {
    CPspEx::OnInitDialog();
    SetStatus("Waiting...");
    return TRUE;
}

BOOL CPspProgress::OnSetActive() {
    Sheet()->EnableWizardButtons(false, false, true, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    return CPspEx::OnSetActive();
}

BOOL CPspProgress::OnQueryCancel() {
    // The engine cannot stop between its steps: while it runs, the sheet stays.
    if (running_)
        return FALSE;
    return ConfirmCancel() ? CPspEx::OnQueryCancel() : FALSE;
}

LRESULT CPspProgress::OnWizardNext() {
    Sheet()->ShowFinishPage();
    return -1;
}

// The close box and Alt+F4 would reach OnQueryCancel too; grey them as well.
void CPspProgress::AllowClosing(bool allow) const {
    HMENU menu = ::GetSystemMenu(Sheet()->GetSafeHwnd(), FALSE);
    if (menu)
        ::EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (allow ? MF_ENABLED : MF_GRAYED));
}

void CPspProgress::BeginRun() {
    running_ = true;
    RecordMessage("run begins", 0, 0, 0);
    g_setup.failedSteps.Clear();
    Sheet()->EnableWizardButtons(false, false, false, false);
    AllowClosing(false);
    SetStatus("Status: ");
    progress_.SetRange(0, 100);
    progress_.SetPos(0);
    progress_.ShowWindow(SW_SHOW);
    PumpWait(1000);
}

void CPspProgress::EndRun() {
    SetStatus("Status: Done.");
    Sheet()->EnableWizardButtons(false, true, false, false);
    Sheet()->ShowWizardButtons(true, true, true, false);
    RecordMessage("run ends", 0, 0, 0);
    running_ = false;
    AllowClosing(true);
    Sheet()->ShowFinishPage();
}

void CPspProgress::NoteFailure(const char* name) {
    if (!g_setup.failedSteps.IsEmpty())
        g_setup.failedSteps += ", ";
    g_setup.failedSteps += name;
}

void CPspProgress::Run(const EngineRun& run) {
    const RunStep* first = g_setup.alreadyInstalled ? run.maintenanceFirst : nullptr;
    bool firstDone = !first || first->operation();
    BeginRun();  // clears the names of failed steps: the first one is named after it
    if (!firstDone)
        NoteFailure(first->failureName);
    for (const RunStep* step = run.steps; step < run.steps + run.stepCount; ++step) {
        if (step->status)
            SetStatus(step->status);
        if (step->operation && !step->operation())
            NoteFailure(step->failureName);
        if (step->position >= 0)
            progress_.SetPos(step->position);
    }
    EndRun();
}
