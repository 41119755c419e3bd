#pragma once
// The program's own resources: dialogs, bitmaps, icons and the string table.
#include <windows.h>

#include "fw/String.h"

// The module that holds the resources: the running executable.
HINSTANCE ResourceHandle();

// The string-table text for id; false (and an empty text) when absent.
bool LoadResourceString(unsigned id, String& out);
String LoadResourceString(unsigned id);
