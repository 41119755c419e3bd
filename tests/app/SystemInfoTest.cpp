#include <gtest/gtest.h>

#include "state/SetupState.h"
#include "support/TestSupport.h"

TEST(InitSystemInfo, AcceptsTheVistaPrefixWithItsArchitecture) {
    ASSERT_TRUE(InitSystemInfo());
    EXPECT_EQ(wiztest::Is64BitPrefix() ? 6006 : 6003, g_setup.osCode);
    EXPECT_FALSE(g_setup.legacyPlatform);
}

TEST(InitSystemInfo, CopiesTheSystemFolders) {
    ASSERT_TRUE(InitSystemInfo());
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_STREQ(windows, g_setup.windowsDir.c_str());
    EXPECT_EQ(0, _strnicmp(windows, g_setup.windowsDrive.c_str(), 3));
    EXPECT_EQ(3u, g_setup.windowsDrive.Length());
    EXPECT_STREQ((std::string(windows) + "\\system32").c_str(), g_setup.systemDir.c_str());
    EXPECT_STREQ((std::string(windows) + "\\system32\\Drivers").c_str(), g_setup.driversDir.c_str());
    EXPECT_STREQ((std::string(windows) + "\\Inf").c_str(), g_setup.infDir.c_str());
    EXPECT_STREQ((std::string(windows) + "\\Temp").c_str(), g_setup.tempDir.c_str());
    EXPECT_FALSE(g_setup.programFilesDir.IsEmpty());
    EXPECT_FALSE(g_setup.programsMenuDir.IsEmpty());
    EXPECT_FALSE(g_setup.startupDir.IsEmpty());
    EXPECT_FALSE(g_setup.desktopDir.IsEmpty());
}

TEST(ComposeSetupPaths, TakesTheRunningModuleAndTheCurrentFolder) {
    ASSERT_TRUE(InitSystemInfo());
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    ComposeSetupPaths();
    EXPECT_EQ(wiztest::ModulePath(), g_setup.setupExePath.c_str());
    EXPECT_STREQ(current, g_setup.sourceDir.c_str());
    EXPECT_STREQ("app_tests.exe", g_setup.setupExeName.c_str());
    EXPECT_STREQ((std::string(g_setup.programFilesDir.c_str()) + "\\Kestrin Duoflex").c_str(),
                 g_setup.installDir.c_str());
}
