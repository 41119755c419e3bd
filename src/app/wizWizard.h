#pragma once
// Start-up services of the wizard sheet.
#include "fw/String.h"

// True when the product's uninstall entry of that name opens with full access.
bool IsProductInstalled(const char* keyName);

// Fills the five cancel-confirmation texts of the setup state.
void LoadCancelTexts();

// Asks whether to cancel the setup with the texts of the string table that
// the sheet loaded; true only for Yes.
bool ConfirmCancelLocalized();
