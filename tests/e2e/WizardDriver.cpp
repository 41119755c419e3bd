#include "e2e/WizardDriver.h"

#include <commctrl.h>

#include "support/TestSupport.h"

namespace wiztest {

const char kSheetTitle[] = "Kestrin Duoflex Wireless Adapter Setup";
const char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrin Duoflex Wireless Adapter";

HWND StartWizard(Process& process, const std::string& workingDir) {
    if (!process.Start(SetupExePath(), workingDir.empty() ? BuildDir() : workingDir))
        return nullptr;
    return WaitForTopWindow(kSheetTitle, process.Id());
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::string PageText(HWND sheet, int controlId) { return ControlText(CurrentPage(sheet), controlId); }

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

void RemoveUninstallEntry() { RegDeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey); }

void CreateUninstallEntry() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
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
