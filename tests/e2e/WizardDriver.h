#pragma once
// The wizard as a user meets it: started as build/Setup.exe, found by its
// title, its pages and buttons read and pressed from outside the process.
#include <windows.h>

#include <string>

#include "support/UiDriver.h"

namespace wiztest {

extern const char kSheetTitle[];
extern const char kUninstallKey[];
const int kBackButton = 0x3023, kNextButton = 0x3024, kFinishButton = 0x3025, kCancelButton = IDCANCEL;

// Starts Setup.exe (from the build folder, in workingDir or its own folder)
// and waits for its sheet; null when no sheet appeared.
HWND StartWizard(Process& process, const std::string& workingDir = std::string());
HWND CurrentPage(HWND sheet);
// The dialog template id of the current page (comctl32 gives pages no control id).
std::string PageText(HWND sheet, int controlId);

// Cancels the wizard, answering Yes if it asks; true when the process ended.
bool CancelWizard(HWND sheet, Process& process);

// The uninstall entry that decides the mode.
void RemoveUninstallEntry();
void CreateUninstallEntry();

// Makes Wine report another Windows version to Setup.exe alone ("winxp",
// "win7"); an empty version restores the prefix's own.
void SetReportedVersion(const std::string& version);

}  // namespace wiztest
