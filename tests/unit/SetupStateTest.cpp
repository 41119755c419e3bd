#include <gtest/gtest.h>

#include "state/SetupState.h"

// The start-up gate tells an older system it knows ("for Windows Vista only")
// from one it does not know: every older version has its own code below Vista's.
TEST(GetOsCode, OlderKnownVersionsHaveDistinctCodesBelowVista) {
    const DWORD versions[][2] = {{3, 51}, {4, 0}, {4, 10}, {4, 90}, {5, 0}, {5, 1}, {5, 2}};
    WORD previous = 0;
    for (const auto& version : versions) {
        WORD code = OsCodeFromVersion(version[0], version[1], PROCESSOR_ARCHITECTURE_INTEL);
        EXPECT_GT(code, previous) << version[0] << "." << version[1];
        EXPECT_LT(code, kOsVistaX86) << version[0] << "." << version[1];
        previous = code;
    }
}

TEST(GetOsCode, VistaDependsOnTheNativeArchitecture) {
    EXPECT_EQ(6003, OsCodeFromVersion(6, 0, PROCESSOR_ARCHITECTURE_INTEL));
    EXPECT_EQ(6006, OsCodeFromVersion(6, 0, PROCESSOR_ARCHITECTURE_AMD64));
    EXPECT_EQ(6003, OsCodeFromVersion(6, 0, PROCESSOR_ARCHITECTURE_IA64));
    EXPECT_EQ(6003, OsCodeFromVersion(6, 0, PROCESSOR_ARCHITECTURE_UNKNOWN));
}

TEST(GetOsCode, EveryOtherVersionIsZero) {
    EXPECT_EQ(0, OsCodeFromVersion(6, 1, PROCESSOR_ARCHITECTURE_AMD64));  // Windows 7
    EXPECT_EQ(0, OsCodeFromVersion(6, 2, PROCESSOR_ARCHITECTURE_INTEL));
    EXPECT_EQ(0, OsCodeFromVersion(10, 0, PROCESSOR_ARCHITECTURE_AMD64));
    EXPECT_EQ(0, OsCodeFromVersion(0, 0, 0));  // a failed version query
    EXPECT_EQ(0, OsCodeFromVersion(5, 3, PROCESSOR_ARCHITECTURE_INTEL));
}

namespace {
SetupState StateWithFolders() {
    SetupState state;
    state.programFilesDir = "C:\\Program Files";
    state.programsMenuDir = "C:\\Users\\me\\Start Menu\\Programs";
    state.startupDir = "C:\\Users\\me\\Start Menu\\Programs\\Startup";
    state.desktopDir = "C:\\Users\\me\\Desktop";
    return state;
}
}  // namespace

TEST(ComposeSetupPaths, ComposesEveryPathFromTheFolders) {
    SetupState s = StateWithFolders();
    ComposeSetupPathsFrom(s, "E:\\Downloads\\Setup.exe", "C:\\Users\\me");
    EXPECT_STREQ("Setup.exe", s.setupExeName.c_str());
    EXPECT_STREQ("C:\\Users\\me", s.sourceDir.c_str());
    EXPECT_STREQ("C:\\Program Files\\Orvel\\Setup\\LQ38\\Kestrin Duoflex", s.setupCopyDir.c_str());
    EXPECT_STREQ("C:\\Program Files\\Orvel\\Setup\\LQ38\\Kestrin Duoflex\\Setup.exe", s.setupCopyPath.c_str());
    EXPECT_STREQ("C:\\Program Files\\Kestrin Duoflex", s.installDir.c_str());
    EXPECT_STREQ("C:\\Program Files\\Kestrin Duoflex\\KestrinDuoflex.exe", s.utilityExePath.c_str());
    EXPECT_STREQ("C:\\Users\\me\\Start Menu\\Programs\\Kestrin Duoflex Wireless Adapter", s.menuFolderDir.c_str());
    EXPECT_STREQ("C:\\Users\\me\\Start Menu\\Programs\\Kestrin Duoflex Wireless Adapter\\Uninstall.lnk",
                 s.menuUninstallLink.c_str());
    EXPECT_STREQ("C:\\Users\\me\\Start Menu\\Programs\\Kestrin Duoflex Wireless Adapter\\"
                 "Kestrin Duoflex Wireless Utility.lnk",
                 s.menuUtilityLink.c_str());
    EXPECT_STREQ("C:\\Users\\me\\Start Menu\\Programs\\Startup\\Kestrin Duoflex Wireless Utility.lnk",
                 s.startupUtilityLink.c_str());
    EXPECT_STREQ("C:\\Users\\me\\Desktop\\Uninstall.lnk", s.desktopUninstallLink.c_str());
    EXPECT_STREQ("C:\\Users\\me\\Desktop\\Kestrin Duoflex Wireless Utility.lnk", s.desktopUtilityLink.c_str());
    EXPECT_STREQ("Kestrin Duoflex Wireless Adapter", s.uninstallKeyName.c_str());
    EXPECT_STREQ("Kestrin Duoflex Wireless Adapter", s.productName.c_str());
    EXPECT_EQ(s.setupCopyPath, s.uninstallCommand);
}

TEST(ComposeSetupPaths, TheSourceIsTheRunningProgramWhateverTheCurrentFolder) {
    SetupState s = StateWithFolders();
    ComposeSetupPathsFrom(s, "E:\\Downloads\\KDSetup.EXE", "D:\\");
    EXPECT_STREQ("KDSetup.exe", s.setupExeName.c_str());
    EXPECT_STREQ("D:\\", s.sourceDir.c_str());
    EXPECT_STREQ("E:\\Downloads\\KDSetup.EXE", s.setupExePath.c_str());
    ComposeSetupPathsFrom(s, "\\\\server\\share\\setup\\Setup.exe", "C:\\");
    EXPECT_STREQ("\\\\server\\share\\setup\\Setup.exe", s.setupExePath.c_str());
    EXPECT_STREQ("Setup.exe", s.setupExeName.c_str());
}

TEST(ComposeSetupPaths, EmptyShellFoldersLeaveTheirLinksEmpty) {
    SetupState s;
    s.programFilesDir = "C:\\Program Files";
    ComposeSetupPathsFrom(s, "C:\\Setup.exe", "C:\\");
    EXPECT_TRUE(s.menuFolderName.IsEmpty());
    EXPECT_TRUE(s.menuFolderDir.IsEmpty());
    EXPECT_TRUE(s.menuUninstallLink.IsEmpty());
    EXPECT_TRUE(s.menuUtilityLink.IsEmpty());
    EXPECT_TRUE(s.startupUtilityLink.IsEmpty());
    EXPECT_TRUE(s.desktopUninstallLink.IsEmpty());
    EXPECT_TRUE(s.desktopUtilityLink.IsEmpty());
    EXPECT_FALSE(s.setupCopyPath.IsEmpty());
}

TEST(SetInstallDir, RecomposesTheUtilityPath) {
    g_setup.utilityExeName = "KestrinDuoflex.exe";  // as composed at start-up
    SetInstallDir("E:\\Tools");
    EXPECT_STREQ("E:\\Tools", GetInstallDir().c_str());
    EXPECT_STREQ("E:\\Tools\\KestrinDuoflex.exe", g_setup.utilityExePath.c_str());
}
