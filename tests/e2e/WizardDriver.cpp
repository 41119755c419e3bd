#include "e2e/WizardDriver.h"

#include "support/TestDevices.h"

#include <commctrl.h>
#include <shlobj.h>

#include "support/TestSupport.h"

namespace wiztest {

const char kSheetTitle[] = "Kestrin Duoflex Wireless Adapter Setup";
const char kInstallSuccess[] =
    "The Wireless Adapter Setup has successfully installed.\n\nPlease make sure the adapter is installed on your "
    "PC.\n\nClick \"Finish\" to exit the wizard.";
const char kRemoveSuccess[] =
    "The Wireless Adapter Setup has successfully uninstalled.\n\nClick \"Finish\" to exit the uninstall wizard.";

HWND StartWizard(Process& process, const std::string& workingDir, const std::string& exePath) {
    if (!process.Start(exePath.empty() ? SetupExePath() : exePath, workingDir.empty() ? BuildDir() : workingDir))
        return nullptr;
    return WaitForTopWindow(kSheetTitle, process.Id());
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::string PageText(HWND sheet, int controlId) { return ControlText(CurrentPage(sheet), controlId); }

void SetFolderText(HWND sheet, const std::string& folder) {
    SendMessageA(GetDlgItem(CurrentPage(sheet), kFolderEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
}

HWND InstallUpToFinish(Process& setup, const std::string& workingDir, const std::string& exePath,
                       const std::string& folder) {
    HWND sheet = StartWizard(setup, workingDir, exePath);
    if (!sheet)
        return nullptr;
    ClickControl(sheet, kNextButton);
    if (!WaitForPage(sheet, kFolderEdit))
        return nullptr;
    if (!folder.empty())
        SetFolderText(sheet, folder);
    ClickControl(sheet, kNextButton);
    return WaitForPage(sheet, kFinishText) ? sheet : nullptr;
}

HWND MaintainUpToFinish(Process& setup, int setupType, const std::string& workingDir, const std::string& exePath) {
    HWND sheet = StartWizard(setup, workingDir, exePath);
    if (!sheet)
        return nullptr;
    ClickControl(sheet, kNextButton);
    if (!WaitForPage(sheet, setupType))
        return nullptr;
    ClickControl(CurrentPage(sheet), setupType);
    return WaitForPage(sheet, kFinishText) ? sheet : nullptr;
}

HWND RemoveUpToFinish(Process& setup) { return MaintainUpToFinish(setup, kSetupRemove); }

bool CancelWizard(HWND sheet, Process& process) {
    ClickControl(sheet, kCancelButton);
    DWORD exitCode = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (process.WaitExit(3000, &exitCode))
            return true;
        // A confirmation: its first answer button is Yes.
        if (HWND question = FindOtherTopWindow(process.Id(), sheet))
            ClickControl(question, 802);
    }
    return process.WaitExit(kUiTimeoutMs, &exitCode);
}

bool FinishWizard(HWND sheet, Process& process) {
    ClickControl(sheet, kFinishButton);
    DWORD exitCode = 1;
    return process.WaitExit(kUiTimeoutMs, &exitCode) && exitCode == 0;
}

bool OnPage(HWND sheet, int controlId) { return GetDlgItem(CurrentPage(sheet), controlId) != nullptr; }

bool WaitForPage(HWND sheet, int controlId, DWORD timeoutMs) {
    return WaitUntil([&] { return OnPage(sheet, controlId); }, timeoutMs);
}

HWND WaitForMessage(const Process& process, HWND sheet, DWORD timeoutMs) {
    HWND message = nullptr;
    WaitUntil([&] { return (message = FindOtherTopWindow(process.Id(), sheet)) != nullptr; }, timeoutMs);
    return message;
}

void Answer(HWND message, int buttonId) {
    if (buttonId)
        ClickControl(message, buttonId);
    else
        CloseWindowBox(message);
    WaitUntil([&] { return !IsWindow(message) || !IsWindowVisible(message); });
}

ProductPaths DefaultProductPaths() {
    ProductPaths paths;
    paths.programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
    paths.setupCopyDir = paths.programFiles + "\\Orvel\\Setup\\LQ38\\Kestrin Duoflex";
    paths.installDir = paths.programFiles + "\\Kestrin Duoflex";
    paths.programsMenu = ShellFolder(CSIDL_PROGRAMS);
    paths.menuFolder = paths.programsMenu + "\\" + kProduct;
    return paths;
}

const char* const* DriverFiles(bool amd64) {
    static const char* const x86[] = {"vxa38.sys", "vxa38.inf", "vxa38.cat", nullptr};
    static const char* const x64[] = {"vxa3864.sys", "vxa3864.inf", "vxa3864.cat", nullptr};
    return amd64 ? x64 : x86;
}

namespace {
const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
}

SavedDevicePath::SavedDevicePath()
    : view32_(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "DevicePath", KEY_WOW64_32KEY),
      view64_(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "DevicePath", KEY_WOW64_64KEY) {}

void SavedDevicePath::Delete() {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_SET_VALUE | view, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "DevicePath");
            RegCloseKey(key);
        }
    }
}

void SetReportedVersion(const std::string& version) {
    const char* path = "Software\\Wine\\AppDefaults\\Setup.exe";
    if (version.empty()) {
        RegDeleteTree(HKEY_CURRENT_USER, path);
        return;
    }
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
    RegCloseKey(key);
}

}  // namespace wiztest
