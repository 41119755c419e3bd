#include <gtest/gtest.h>

#include <shlobj.h>

#include "support/TestSupport.h"
#include "system/CWinSetup.h"

TEST(CWinSetup, FoldersBelowAWindowsDirectory) {
    CWinSetup folders;
    ASSERT_TRUE(folders.ResolveFrom("C:\\WINDOWS", 10, false));
    EXPECT_STREQ("C:\\", folders.GetWindowsDrive().c_str());
    EXPECT_STREQ("C:\\WINDOWS", folders.GetWindowsDir().c_str());
    EXPECT_STREQ("C:\\WINDOWS\\system32", folders.GetSystemDir().c_str());
    EXPECT_STREQ("C:\\WINDOWS\\system32\\Drivers", folders.GetDriversDir().c_str());
    EXPECT_STREQ("C:\\WINDOWS\\Inf", folders.GetInfDir().c_str());
    EXPECT_STREQ("C:\\WINDOWS\\Temp", folders.GetTempDir().c_str());
}

TEST(CWinSetup, WindowsInADriveRootDoublesNoSeparator) {
    CWinSetup folders;
    ASSERT_TRUE(folders.ResolveFrom("C:\\", 3, false));
    EXPECT_STREQ("C:\\", folders.GetWindowsDrive().c_str());
    EXPECT_STREQ("C:\\system32", folders.GetSystemDir().c_str());
    ASSERT_TRUE(folders.ResolveFrom("C:\\", 3, true));
    EXPECT_STREQ("C:\\system", folders.GetSystemDir().c_str());
    EXPECT_STREQ("C:\\system", folders.GetDriversDir().c_str());
    EXPECT_STREQ("C:\\Program Files", folders.GetProgramFilesDir().c_str());
}

TEST(CWinSetup, AShortWindowsDirectoryIsRefused) {
    CWinSetup folders;
    folders.ResolveFrom("C:\\WINDOWS", 10, false);
    EXPECT_FALSE(folders.ResolveFrom("C:", 2, false));
}

TEST(CWinSetup, ShellFoldersComeFromTheShell) {
    CWinSetup folders;
    EXPECT_FALSE(folders.GetShellFolder(CSIDL_PROGRAM_FILES).IsEmpty());
    EXPECT_FALSE(folders.GetShellFolder(CSIDL_PROGRAMS).IsEmpty());
    EXPECT_FALSE(folders.GetShellFolder(CSIDL_COMMON_PROGRAMS).IsEmpty());
    // What the system itself records, read without the shell.
    std::string recorded =
        wiztest::RegReadString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
    ASSERT_FALSE(recorded.empty());
    EXPECT_TRUE(folders.GetProgramFilesDir().EqualsNoCase(recorded.c_str())) << folders.GetProgramFilesDir().c_str();
}

TEST(CWinSetup, AFolderTheShellCannotSupplyIsEmpty) {
    CWinSetup folders;
    EXPECT_TRUE(folders.GetShellFolder(0x7F).IsEmpty());
}
