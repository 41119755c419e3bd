// The engine's path and value checks, and its payload catalogue.
#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "engine/EnginePaths.h"
#include "engine/wizInstall.h"
#include "res/resource.h"
#include "state/SetupState.h"

using namespace enginetest;

namespace {

const char kUserPrograms[] = "C:\\users\\kim\\Start Menu\\Programs";
const char kCommonPrograms[] = "C:\\ProgramData\\Start Menu\\Programs";

bool Qualifies(const std::string& folder) {
    return IsProductMenuFolder(folder.c_str(), kUserPrograms, kCommonPrograms);
}

std::string UserProduct() { return std::string(kUserPrograms) + "\\Kestrin Duoflex Wireless Adapter"; }

}  // namespace

TEST(IsSameFilePath, ComparesFullFormsWithoutRegardToCase) {
    EXPECT_TRUE(IsSameFilePath("C:\\Program Files\\Orvel\\Setup.exe", "c:\\PROGRAM FILES\\orvel\\setup.EXE"));
    EXPECT_TRUE(IsSameFilePath("C:\\Program Files\\Orvel\\Setup.exe", "C:\\Program Files\\x\\..\\Orvel\\.\\Setup.exe"));
    EXPECT_TRUE(IsSameFilePath("C:\\Program Files\\Orvel\\Setup.exe", "C:/Program Files/Orvel/Setup.exe"));
    EXPECT_FALSE(IsSameFilePath("C:\\Program Files\\Orvel\\Setup.exe", "C:\\Program Files\\Orvel\\Setup.ex"));
    EXPECT_FALSE(IsSameFilePath("C:\\Setup.exe", "D:\\Setup.exe"));
    EXPECT_FALSE(IsSameFilePath("", "")) << "no path names no file";
}

TEST(IsAcceptableInstallFolder, TakesAnyFolderAUserMayChooseButNoSystemFolder) {
    SystemFolderSet system;
    for (const char* folder : {"C:\\Program Files", "C:\\users\\kim", kUserPrograms, "", "Relative"})
        system.Add(folder, false);
    for (const char* tree : {"C:\\windows", "C:\\ProgramData\\Start Menu"})
        system.Add(tree, true);
    auto acceptable = [&](const char* folder) { return IsAcceptableInstallFolder(folder, system); };
    for (const char* folder : {"C:\\Program Files\\Kestrin Duoflex", "D:\\Drivers", "c:\\users\\kim\\Kestrin",
                               "C:\\windowsapps", "C:\\Program Files\\Kestrin Duoflex\\",
                               "\\\\?\\D:\\Drivers", "C:\\ProgramData\\Kestrin"})
        EXPECT_TRUE(acceptable(folder)) << folder;
    for (const char* folder : {"C:\\", "d:\\", "C:", "", "C:\\PROGRAM FILES\\", "C:\\Users\\Kim", kUserPrograms,
                               "C:\\Windows", "C:\\windows\\system32\\drivers", "C:\\ProgramData\\Start Menu",
                               "C:\\ProgramData\\Start Menu\\Programs\\Kestrin", "C:\\Program Files\\x\\..",
                               "C:\\Program Files\\..\\windows\\inf", "Kestrin Duoflex", "C:\\Kestrin\\ \\Duoflex",
                               "C:\\Kestrin\\. .\\Duoflex", "\\\\server\\share", "\\\\server\\share\\"})
        EXPECT_FALSE(acceptable(folder)) << folder;
}

TEST(IsAcceptableInstallFolder, AFolderThatHoldsASystemFolderIsNoneOfTheProducts) {
    SystemFolderSet system;
    system.Add(kUserPrograms, false);
    system.Add("C:\\windows\\system32", true);
    for (const char* folder : {"C:\\users", "C:\\users\\kim\\Start Menu", "c:\\USERS\\kim\\", "C:\\windows"})
        EXPECT_FALSE(IsAcceptableInstallFolder(folder, system)) << folder;
    for (const char* folder : {"C:\\users\\kimberly", "C:\\users\\kim\\Start Menu\\Programs\\Kestrin",
                               "C:\\windows2"})
        EXPECT_TRUE(IsAcceptableInstallFolder(folder, system)) << folder;
}

TEST(IsAcceptableInstallFolder, TheLongPathPrefixNamesTheFolderBehindIt) {
    SystemFolderSet system;
    system.Add("C:\\windows", true);
    system.Add("\\\\?\\C:\\Program Files", false);
    for (const char* folder : {"\\\\?\\C:\\windows", "\\\\?\\c:\\WINDOWS\\inf", "\\\\.\\C:\\windows\\",
                               "\\\\?\\C:\\", "C:\\Program Files", "\\\\?\\UNC\\server\\share"})
        EXPECT_FALSE(IsAcceptableInstallFolder(folder, system)) << folder;
}

TEST(IsAcceptableInstallFolder, ALinkIsJudgedByWhereItLeads) {
    SystemFolderSet system;
    system.Add("C:\\windows", true);
    for (const std::string& folder : {std::string(kWindowsLink), std::string(kWindowsLink) + "\\system32",
                                      std::string(kWindowsLink) + "\\Not There Yet\\Kestrin"})
        EXPECT_FALSE(IsAcceptableInstallFolder(folder.c_str(), system)) << folder;
    EXPECT_TRUE(IsAcceptableInstallFolder("C:\\wiztest-links\\Not There Yet", system));
}

TEST(IsAcceptableInstallFolder, EveryShellFolderOfThisSystemIsRefused) {
    for (int csidl : {CSIDL_COMMON_APPDATA, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_PERSONAL, CSIDL_COMMON_DOCUMENTS,
                      CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU,
                      CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILES_COMMON,
                      CSIDL_PROGRAM_FILESX86, CSIDL_WINDOWS, CSIDL_SYSTEM, CSIDL_PROFILE}) {
        std::string folder = ShellFolder(csidl);
        if (folder.empty())
            continue;
        EXPECT_FALSE(IsAcceptableInstallFolder(folder.c_str())) << folder;
    }
    EXPECT_TRUE(IsAcceptableInstallFolder((ProgramFilesDir() + "\\Kestrin Duoflex").c_str()));
    EXPECT_TRUE(IsAcceptableInstallFolder((ShellFolder(CSIDL_COMMON_APPDATA) + "\\Kestrin Duoflex").c_str()));
}

TEST(IsProductMenuFolder, AProductFolderThatIsALinkIsRefused) {
    wiztest::ScratchDir scratch;
    std::string real = scratch / "Kestrin Duoflex Wireless Adapter";
    ASSERT_TRUE(CreateDirectoryA(real.c_str(), nullptr));
    EXPECT_TRUE(IsProductMenuFolder(real.c_str(), scratch.Path().c_str(), ""));

    std::string linked = std::string(kLinkedPrograms) + "\\Kestrin Duoflex Wireless Adapter";
    EXPECT_TRUE(IsProductMenuFolderName(linked.c_str(), kLinkedPrograms, "")) << "by its name alone";
    EXPECT_FALSE(IsProductMenuFolder(linked.c_str(), kLinkedPrograms, ""));
    EXPECT_FALSE(IsProductMenuFolder((linked + "\\").c_str(), "", kLinkedPrograms));
    EXPECT_FALSE(IsProductMenuFolder(("\\\\?\\" + linked).c_str(), kLinkedPrograms, ""));
}

TEST(IsProductMenuFolder, AcceptsTheProductsFolderInEitherProgramsFolder) {
    EXPECT_TRUE(Qualifies(UserProduct()));
    EXPECT_TRUE(Qualifies(std::string(kCommonPrograms) + "\\Kestrin Duoflex Wireless Adapter"));
    EXPECT_TRUE(Qualifies("c:\\USERS\\kim\\start menu\\programs\\kestrin duoflex wireless adapter"));
    EXPECT_TRUE(Qualifies(UserProduct() + "\\"));
}

TEST(IsProductMenuFolder, RefusesEveryOtherFolder) {
    EXPECT_FALSE(Qualifies(""));
    EXPECT_FALSE(Qualifies("C:\\"));
    EXPECT_FALSE(Qualifies("C:"));
    EXPECT_FALSE(Qualifies("C:\\windows"));
    EXPECT_FALSE(Qualifies(kUserPrograms));
    EXPECT_FALSE(Qualifies(std::string(kCommonPrograms) + "\\"));
    EXPECT_FALSE(Qualifies(std::string(kUserPrograms) + "\\Kestrin Duoflex"));
    EXPECT_FALSE(Qualifies(std::string(kUserPrograms) + "\\Kestrin Duoflex Wireless Adapters"));
    EXPECT_FALSE(Qualifies(UserProduct() + "\\Kestrin Duoflex Wireless Adapter")) << "deeper than directly in Programs";
    EXPECT_FALSE(Qualifies("C:\\wiztest\\Kestrin Duoflex Wireless Adapter"));
    EXPECT_FALSE(Qualifies("Kestrin Duoflex Wireless Adapter"));
    EXPECT_FALSE(Qualifies("\\users\\kim\\Start Menu\\Programs\\Kestrin Duoflex Wireless Adapter"));
    EXPECT_FALSE(Qualifies("C:/users/kim/Start Menu/Programs/Kestrin Duoflex Wireless Adapter"))
        << "not as the setup writes it: left alone";
}

TEST(IsProductMenuFolder, RefusesAnyPathThatClimbsOrStays) {
    EXPECT_FALSE(Qualifies(UserProduct() + "\\.."));
    EXPECT_FALSE(Qualifies(std::string(kUserPrograms) + "\\..\\Programs\\Kestrin Duoflex Wireless Adapter"));
    EXPECT_FALSE(Qualifies(std::string(kUserPrograms) + "\\.\\Kestrin Duoflex Wireless Adapter"));
    EXPECT_FALSE(Qualifies(std::string(kUserPrograms) + "\\...\\Kestrin Duoflex Wireless Adapter"));
    EXPECT_FALSE(Qualifies(std::string(kUserPrograms) + "/../Programs/Kestrin Duoflex Wireless Adapter"));
}

TEST(IsProductMenuFolder, AnEmptyProgramsFolderMatchesNothing) {
    EXPECT_FALSE(IsProductMenuFolder("C:\\Kestrin Duoflex Wireless Adapter", "", ""));
    EXPECT_FALSE(IsProductMenuFolder(UserProduct().c_str(), "", ""));
    EXPECT_TRUE(IsProductMenuFolder(UserProduct().c_str(), "", kUserPrograms));
}

TEST(QuotedPath, PutsThePathInDoubleQuotes) {
    EXPECT_STREQ("\"C:\\Program Files\\Orvel\\Setup.exe\"", QuotedPath("C:\\Program Files\\Orvel\\Setup.exe").c_str());
}

TEST(PayloadCatalogue, BothSystemsGetTheHelperLibraryIntoTheSetupFolder) {
    for (WORD osCode : {kOsVistaX86, kOsVistaAmd64}) {
        const PayloadEntry* entry = FindPayloadEntry(PayloadStep::Common, osCode);
        ASSERT_NE(nullptr, entry) << osCode;
        EXPECT_EQ(IDR_CAB_COMMON, entry->resourceId);
        EXPECT_STREQ("BasePack.Cab", entry->cabinetName);
        EXPECT_STREQ("DevAgent.dll", entry->members[0]);
        EXPECT_EQ(nullptr, entry->members[1]);
        EXPECT_EQ(PayloadFolder::SetupCopyDir, entry->destination);
    }
}

TEST(PayloadCatalogue, EachSystemGetsItsOwnDriverPackageIntoTheInstallFolder) {
    const PayloadEntry* x86 = FindPayloadEntry(PayloadStep::Driver, kOsVistaX86);
    const PayloadEntry* amd64 = FindPayloadEntry(PayloadStep::Driver, kOsVistaAmd64);
    ASSERT_NE(nullptr, x86);
    ASSERT_NE(nullptr, amd64);
    EXPECT_EQ(IDR_CAB_DRIVER_X86, x86->resourceId);
    EXPECT_EQ(IDR_CAB_DRIVER_AMD64, amd64->resourceId);
    EXPECT_STREQ("DevicePack.Cab", x86->cabinetName);
    EXPECT_STREQ("DevicePack.Cab", amd64->cabinetName);
    const char* x86Members[] = {"vxa38.sys", "vxa38.inf", "vxa38.cat"};
    const char* amd64Members[] = {"vxa3864.sys", "vxa3864.inf", "vxa3864.cat"};
    for (int i = 0; i < kMaxPayloadMembers; ++i) {
        EXPECT_STREQ(x86Members[i], x86->members[i]);
        EXPECT_STREQ(amd64Members[i], amd64->members[i]);
    }
    EXPECT_EQ(PayloadFolder::InstallDir, x86->destination);
    EXPECT_EQ(PayloadFolder::InstallDir, amd64->destination);
}

TEST(PayloadCatalogue, OtherSystemsHaveNoRows) {
    for (WORD osCode : {WORD(0), WORD(502), WORD(6001), WORD(6004)}) {
        EXPECT_EQ(nullptr, FindPayloadEntry(PayloadStep::Common, osCode)) << osCode;
        EXPECT_EQ(nullptr, FindPayloadEntry(PayloadStep::Driver, osCode)) << osCode;
        EXPECT_EQ(nullptr, RemovalFileList(osCode)) << osCode;
    }
}

TEST(RemovalFileList, NamesThePackageOfTheSystemThenTheMarker) {
    const char* const* x86 = RemovalFileList(kOsVistaX86);
    const char* const* amd64 = RemovalFileList(kOsVistaAmd64);
    ASSERT_NE(nullptr, x86);
    ASSERT_NE(nullptr, amd64);
    const char* x86Expected[] = {"vxa38.sys", "vxa38.inf", "vxa38.cat", "~NoKill.wiz", nullptr};
    const char* amd64Expected[] = {"vxa3864.sys", "vxa3864.inf", "vxa3864.cat", "~NoKill.wiz", nullptr};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(x86Expected[i], x86[i]);
        EXPECT_STREQ(amd64Expected[i], amd64[i]);
    }
}

TEST(UninstallKeyPath, NamesTheProductsKeyBelowUninstall) {
    g_setup.uninstallKeyName = "Kestrin Duoflex Wireless Adapter";
    EXPECT_STREQ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrin Duoflex Wireless Adapter",
                 UninstallKeyPath().c_str());
}
