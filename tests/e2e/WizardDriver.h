#pragma once
// The wizard as a user meets it: started as build/Setup.exe, found by its
// title, its pages and buttons read and pressed from outside the process.
#include <windows.h>

#include <string>

#include "support/ProductTraces.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"

namespace wiztest {

extern const char kSheetTitle[];
// The Finish page's texts after a run in which every step succeeded.
extern const char kInstallSuccess[];
extern const char kRemoveSuccess[];
const int kBackButton = 0x3023, kNextButton = 0x3024, kFinishButton = 0x3025, kCancelButton = IDCANCEL;

// Starts Setup.exe (from the build folder unless exePath names another, in
// workingDir or the build folder) and waits for its sheet; null when no sheet
// appeared.
HWND StartWizard(Process& process, const std::string& workingDir = std::string(),
                 const std::string& exePath = std::string());
HWND CurrentPage(HWND sheet);
// The text of a control on the current page.
std::string PageText(HWND sheet, int controlId);
// Puts text into the folder box of the current page, as a paste would.
void SetFolderText(HWND sheet, const std::string& folder);

// Cancels the wizard, answering Yes if it asks; true when the process ended.
bool CancelWizard(HWND sheet, Process& process);
// Presses Finish on the Finish page; true when the process ended with code 0.
bool FinishWizard(HWND sheet, Process& process);

// Starts a first installation, into folder when it is not empty (typed on
// the destination page) and otherwise into the default folder, as most users
// make it; the sheet is on the Finish page when this returns it, null otherwise.
HWND InstallUpToFinish(Process& setup, const std::string& workingDir = std::string(),
                       const std::string& exePath = std::string(), const std::string& folder = std::string());
// Starts the wizard in maintenance mode and chooses a setup type (kSetupRepair
// or kSetupRemove); the sheet is on the Finish page when this returns it.
HWND MaintainUpToFinish(Process& setup, int setupType, const std::string& workingDir = std::string(),
                        const std::string& exePath = std::string());
HWND RemoveUpToFinish(Process& setup);

// Page controls that tell which page is showing.
const int kWelcomeBody = 2002, kSetupRepair = 2100, kSetupRemove = 2101, kFolderEdit = 2200,
          kFolderBrowse = 2201, kInstallStatus = 2400, kInstallProgress = 2401, kRemoveStatus = 2500,
          kRemoveProgress = 2501, kFinishText = 2600;
// Answer buttons of the wizard's message dialog.
const int kAnswer1 = 802, kAnswer2 = 803, kAnswer3 = 804, kMessageText = 805;

bool OnPage(HWND sheet, int controlId);
bool WaitForPage(HWND sheet, int controlId, DWORD timeoutMs = kUiTimeoutMs);
// A question or warning of the wizard (any top-level window of the process
// but the sheet); null when none came.
HWND WaitForMessage(const Process& process, HWND sheet, DWORD timeoutMs = kUiTimeoutMs);
// Clicks an answer of that message and waits until it is gone.
void Answer(HWND message, int buttonId);

// Where the product goes in this prefix (the 32-bit view of Program Files).
struct ProductPaths {
    std::string programFiles, setupCopyDir, installDir, programsMenu, menuFolder;
};
ProductPaths DefaultProductPaths();
// The driver package files of this prefix's architecture, and of the other one.
const char* const* DriverFiles(bool amd64);

// The driver search path of both registry views, put back as it was.
class SavedDevicePath {
public:
    SavedDevicePath();
    // Takes DevicePath away in both views: no folder can then be added.
    static void Delete();

private:
    SavedRegistryValue view32_, view64_;
};

// Makes Wine report another Windows version to Setup.exe alone ("winxp",
// "win7"); an empty version restores the prefix's own.
void SetReportedVersion(const std::string& version);

}  // namespace wiztest
