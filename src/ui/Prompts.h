#pragma once
// The questions and warnings of the setup, asked in its own message dialog.
#include <windows.h>

// Shows the message with the buttons and icon of the MessageBox style and
// answers the chosen button's result (IDOK, IDCANCEL, IDRETRY, IDYES, IDNO).
int ShowMessage(const char* title, const char* text, UINT style);
// The same with the captions of the three answer buttons given.
int ShowMessageWithButtons(const char* title, const char* text, UINT style, const char* yes, const char* no,
                           const char* cancel);

// Asks whether to cancel the setup; true only for Yes.
bool ConfirmCancel();
