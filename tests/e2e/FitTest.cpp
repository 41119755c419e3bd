// Every text of every page and dialog fits its control, in both modes, at 96
// and at 120 DPI: measured inside the running wizard by the fit probe.
#include <gtest/gtest.h>

#include <windows.h>

#include "e2e/WizardDriver.h"
#include "fw/SystemLibrary.h"
#include "support/TestSupport.h"

using namespace wiztest;

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";

// The screen density of the programs started while it is set.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi) {
        DWORD size = sizeof(saved_), type = 0;
        hadValue_ = RegGetValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", RRF_RT_REG_DWORD, &type, &saved_,
                                 &size) == ERROR_SUCCESS;
        Write(dpi);
    }
    ~LogPixels() {
        if (hadValue_)
            Write(saved_);
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels");
    }

private:
    static void Write(DWORD dpi) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    }
    DWORD saved_ = 96;
    bool hadValue_ = false;
};

// Loads the probe into the wizard's process and runs it there; answers the
// number of clipped texts (-1 when the probe could not run) and its report.
int ProbeFit(const Process& process, std::string& report) {
    std::string dll = BuildDir() + "\\tests\\fitprobe.dll";
    HMODULE local = LoadLibraryA(dll.c_str());
    FARPROC probe = local ? GetProcAddress(local, "ProbeFit@4") : nullptr;
    HANDLE target = OpenProcess(PROCESS_ALL_ACCESS, FALSE, process.Id());
    if (!probe || !target)
        return -1;
    void* name = VirtualAllocEx(target, nullptr, dll.size() + 1, MEM_COMMIT, PAGE_READWRITE);
    WriteProcessMemory(target, name, dll.c_str(), dll.size() + 1, nullptr);
    auto runRemote = [&](LPTHREAD_START_ROUTINE start, void* argument) {
        DWORD result = 0;
        HANDLE thread = CreateRemoteThread(target, nullptr, 0, start, argument, 0, nullptr);
        if (thread && WaitForSingleObject(thread, kUiTimeoutMs) == WAIT_OBJECT_0)
            GetExitCodeThread(thread, &result);
        else
            result = 0xFFFFFFFF;
        if (thread)
            CloseHandle(thread);
        return result;
    };
    auto loadLibrary = EntryPoint<LPTHREAD_START_ROUTINE>(GetModuleHandleA("kernel32.dll"), "LoadLibraryA");
    DWORD remoteBase = runRemote(loadLibrary, name);  // a 32-bit process: the module handle fits
    DWORD clipped = 0xFFFFFFFF;
    if (remoteBase && remoteBase != 0xFFFFFFFF) {
        DWORD_PTR offset = reinterpret_cast<DWORD_PTR>(probe) - reinterpret_cast<DWORD_PTR>(local);
        clipped = runRemote(reinterpret_cast<LPTHREAD_START_ROUTINE>(remoteBase + offset), nullptr);
    }
    CloseHandle(target);
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::vector<unsigned char> text = ReadFileBytes(std::string(path) + "fitprobe.txt");
    report.assign(text.begin(), text.end());
    return static_cast<int>(clipped);
}

class FitTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveProductTraces(); }
    void TearDown() override {
        setup_.Kill();
        RemoveProductTraces();
    }

    // Probes the wizard as it is now; every text it measured fits.
    void ExpectEveryTextFits(const char* where, const char* mustMeasure) {
        std::string report;
        int clipped = ProbeFit(setup_, report);
        EXPECT_EQ(0, clipped) << where << ":\n" << report;
        EXPECT_NE(std::string::npos, report.find(mustMeasure)) << where << ":\n" << report;
    }

    // With the message that `button` opens over the current page, then answered.
    void ExpectFitsWithMessage(HWND sheet, int button, const char* where, const char* mustMeasure, int answer) {
        ClickControl(sheet, button);
        HWND message = WaitForMessage(setup_, sheet);
        ASSERT_TRUE(message);
        ExpectEveryTextFits(where, mustMeasure);
        Answer(message, answer);
    }

    // The folder page and its two messages: an invalid folder, then the
    // default folder that already exists, confirmed.
    void ExpectFolderPageFits(HWND sheet) {
        ExpectEveryTextFits("folder page", "Destination Folder:");
        const std::string folder = PageText(sheet, kFolderEdit);
        SetFolderText(sheet, "Q:\\Kestrin Duoflex");  // no drive Q: in the prefix
        ExpectFitsWithMessage(sheet, kNextButton, "invalid folder", "The target folder is invalid!", kAnswer1);
        SetFolderText(sheet, folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        ExpectFitsWithMessage(sheet, kNextButton, "existing folder", "The target folder already exists.", kAnswer1);
    }

    // Both modes: a first installation, then a removal; answers the sheet's width.
    LONG WalkBothModes() {
        HWND sheet = StartWizard(setup_);
        EXPECT_TRUE(sheet);
        if (!sheet)
            return 0;
        RECT rect;
        GetWindowRect(sheet, &rect);
        ExpectFitsWithMessage(sheet, kCancelButton, "first install, Welcome", "Welcome to the", kAnswer2);
        ClickControl(sheet, kNextButton);
        EXPECT_TRUE(WaitForPage(sheet, kFolderEdit));
        ExpectFolderPageFits(sheet);
        EXPECT_TRUE(WaitForPage(sheet, kFinishText));
        ExpectEveryTextFits("after the installation", "has successfully installed");
        EXPECT_TRUE(FinishWizard(sheet, setup_));

        sheet = StartWizard(setup_);
        EXPECT_TRUE(sheet);
        if (!sheet)
            return 0;
        ExpectEveryTextFits("maintenance, Welcome", "has been installed");
        ClickControl(sheet, kNextButton);
        EXPECT_TRUE(WaitForPage(sheet, kSetupRepair));
        ExpectEveryTextFits("setup type page", "Repair/Upgrade");
        ClickControl(CurrentPage(sheet), kSetupRemove);
        EXPECT_TRUE(WaitForPage(sheet, kFinishText));
        ExpectEveryTextFits("after the removal", "has successfully uninstalled");
        EXPECT_TRUE(FinishWizard(sheet, setup_));
        return rect.right - rect.left;
    }

    Process setup_;
};

}  // namespace

TEST_F(FitTest, EveryTextFitsAt96And120Dpi) {
    LONG width96 = 0, width120 = 0;
    {
        LogPixels dpi(96);
        SCOPED_TRACE("96 DPI");
        width96 = WalkBothModes();
    }
    {
        LogPixels dpi(120);
        SCOPED_TRACE("120 DPI");
        width120 = WalkBothModes();
    }
    // The density took: dialog units scale the sheet with it.
    EXPECT_GT(width120 * 100, width96 * 115) << width96 << " px at 96 DPI, " << width120 << " px at 120";
}
