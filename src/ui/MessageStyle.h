#pragma once
// What a MessageBox style value asks of the message dialog: which buttons,
// which icon, which button starts with the focus, what each button answers,
// and where the answer buttons go. No windows here.
#include <windows.h>

struct MessageStyle {
    UINT buttonSet;      // MB_OK, MB_OKCANCEL, MB_YESNOCANCEL, MB_YESNO or MB_RETRYCANCEL
    UINT iconKind;       // MB_ICONSTOP, MB_ICONQUESTION, MB_ICONWARNING or MB_ICONINFORMATION
    UINT defaultButton;  // MB_DEFBUTTON1, MB_DEFBUTTON2 or MB_DEFBUTTON3
};

// Unknown button sets fall back to OK, unknown icons to information and
// unknown default-button bits to the first button.
MessageStyle DecodeMessageStyle(UINT style);

// The icon resource for an icon kind.
int MessageIconId(UINT iconKind);

// How many answer buttons the set shows (1 to 3).
int AnswerButtonCount(UINT buttonSet);

// The built-in caption of answer button 0..2 for the set; "" where none shows.
const char* DefaultAnswerCaption(UINT buttonSet, int index);

// The dialog result of answer button 0..2 for the set; IDCANCEL where none shows.
int AnswerResult(UINT buttonSet, int index);

// The answer button (0..2) that starts with the focus.
int InitialFocusIndex(const MessageStyle& style);

// Moves the answer buttons for the set. The rectangles are in the dialog's
// client coordinates; only the shown buttons matter.
void LayOutAnswerButtons(UINT buttonSet, const RECT& client, RECT buttons[3]);
