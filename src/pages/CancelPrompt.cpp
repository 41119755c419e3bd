#include "pages/CancelPrompt.h"

#include <windows.h>

#include "fw/Resources.h"
#include "res/resource.h"
#include "state/SetupState.h"
#include "ui/Prompts.h"

void LoadCancelTexts() {
    LoadResourceString(IDS_CANCEL_TITLE, g_setup.cancelTitle);
    LoadResourceString(IDS_CANCEL_TEXT, g_setup.cancelText);
    LoadResourceString(IDS_CANCEL_YES, g_setup.yesText);
    LoadResourceString(IDS_CANCEL_NO, g_setup.noText);
    LoadResourceString(IDS_CANCEL_CANCEL, g_setup.cancelButtonText);
}

bool ConfirmCancelLocalized() {
    return ShowMessageWithButtons(g_setup.cancelTitle.c_str(), g_setup.cancelText.c_str(),
                                  MB_ICONINFORMATION | MB_YESNOCANCEL,
                                  g_setup.yesText.c_str(), g_setup.noText.c_str(),
                                  g_setup.cancelButtonText.c_str()) == IDYES;
}
