#pragma once
// The arithmetic of the wizard's button layout, in screen coordinates.
#include <windows.h>

// The buttons are made 5 pixels taller: the bottom edge moves down.
RECT TallerButton(RECT button);

// The Finish button centred on the sheet's window rectangle, width kept.
RECT CentredButton(RECT button, RECT sheetWindow);
