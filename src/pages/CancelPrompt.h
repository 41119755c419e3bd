#pragma once
// The cancel question of the Welcome and setup-type pages, in the texts of the
// string table.

// Fills the five cancel-confirmation texts of the setup state.
void LoadCancelTexts();

// Asks whether to cancel the setup with the texts of the string table that
// the sheet loaded; true only for Yes.
bool ConfirmCancelLocalized();
