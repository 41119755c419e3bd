// Setup.exe started as a user starts it, checked from outside the process.
#include <gtest/gtest.h>

#include "e2e/WizardDriver.h"
#include "support/TestSupport.h"

using namespace wiztest;

namespace {
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveUninstallEntry();
        SetReportedVersion("");
    }
    void TearDown() override {
        RemoveUninstallEntry();
        SetReportedVersion("");
    }
};
}  // namespace

TEST_F(StartupTest, FirstInstallOpensOnTheWelcomePage) {
    Process setup;
    HWND sheet = StartWizard(setup);
    ASSERT_TRUE(sheet) << "no wizard window appeared";
    EXPECT_EQ(kSheetTitle, WindowText(sheet));
    EXPECT_EQ("Welcome to the Kestrin Duoflex Wireless Adapter Setup", PageText(sheet, 2000));
    EXPECT_EQ("This wizard will guide you to install Kestrin Duoflex Wireless Adapter application.\n\n",
              PageText(sheet, 2002));
    EXPECT_FALSE(IsControlEnabled(sheet, kBackButton));
    EXPECT_TRUE(IsControlEnabled(sheet, kNextButton));
    EXPECT_TRUE(IsControlVisible(sheet, kNextButton));
    EXPECT_FALSE(IsControlVisible(sheet, kFinishButton));
    EXPECT_TRUE(CancelWizard(sheet, setup));
}

TEST_F(StartupTest, AnInstalledProductOpensInMaintenanceMode) {
    CreateUninstallEntry();
    Process setup;
    HWND sheet = StartWizard(setup);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(kSheetTitle, WindowText(sheet));
    EXPECT_EQ("The Kestrin Duoflex Wireless Adapter application has been installed.\n\nThis wizard will "
              "guide you to repair, upgrade, or to remove it.\n\n",
              PageText(sheet, 2002));
    EXPECT_TRUE(CancelWizard(sheet, setup));
}

TEST_F(StartupTest, ASecondStartBringsTheRunningWizardForward) {
    Process first;
    HWND sheet = StartWizard(first);
    ASSERT_TRUE(sheet);
    ShowWindow(sheet, SW_HIDE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(sheet); }));

    Process second;
    ASSERT_TRUE(second.Start(SetupExePath(), BuildDir()));
    DWORD exitCode = 1;
    EXPECT_TRUE(second.WaitExit(kUiTimeoutMs, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(sheet) != FALSE; }));
    EXPECT_EQ(1, CountTopWindows(kSheetTitle));
    EXPECT_TRUE(CancelWizard(sheet, first));
}

TEST_F(StartupTest, StartsFromAnyWorkingFolder) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    Process setup;
    HWND sheet = StartWizard(setup, windows);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(CancelWizard(sheet, setup));
}

namespace {
void ExpectRefusal(const char* version, const char* message) {
    SetReportedVersion(version);
    Process setup;
    ASSERT_TRUE(setup.Start(SetupExePath(), BuildDir()));
    HWND box = WaitForTopWindow("Warning", setup.Id());
    ASSERT_TRUE(box) << "no refusal for " << version;
    EXPECT_TRUE(FindChildByText(box, message)) << version;
    EXPECT_FALSE(FindTopWindow(kSheetTitle, setup.Id()));
    ClickControl(box, IDOK);
    DWORD exitCode = 1;
    ASSERT_TRUE(setup.WaitExit(kUiTimeoutMs, &exitCode));
    EXPECT_EQ(0u, exitCode);
}
}  // namespace

TEST_F(StartupTest, WindowsXpIsRefused) {
    ExpectRefusal("winxp", "This utility is used for Windows Vista only!\n\n");
}

TEST_F(StartupTest, Windows7IsRefused) { ExpectRefusal("win7", "Not support for this OS!\n\n"); }
