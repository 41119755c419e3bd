#include "ui/Prompts.h"

#include "ui/dlgMsg1.h"

int ShowMessage(const char* title, const char* text, UINT style) {
    dlgMsg1 dialog(title, text, style);
    return dialog.DoModal();
}

int ShowMessageWithButtons(const char* title, const char* text, UINT style, const char* yes, const char* no,
                           const char* cancel) {
    dlgMsg1 dialog(title, text, style, yes, no, cancel);
    return dialog.DoModal();
}

bool ConfirmCancel() {
    return ShowMessage("Warning...",
                       "You have selected to cancel the setup.\n\n"
                       "Are you sure that you want to cancel the installation?",
                       MB_ICONINFORMATION | MB_YESNOCANCEL) == IDYES;
}
