// The engine's path and value checks, and its payload catalogue.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/EnginePaths.h"
#include "engine/wizInstall.h"
#include "state/SetupState.h"
#include "support/CodePages.h"

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
        system.AddFolder(folder);
    for (const char* tree : {"C:\\windows", "C:\\ProgramData\\Start Menu"})
        system.AddTree(tree);
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
    system.AddFolder(kUserPrograms);
    system.AddTree("C:\\windows\\system32");
    for (const char* folder : {"C:\\users", "C:\\users\\kim\\Start Menu", "c:\\USERS\\kim\\", "C:\\windows"})
        EXPECT_FALSE(IsAcceptableInstallFolder(folder, system)) << folder;
    for (const char* folder : {"C:\\users\\kimberly", "C:\\users\\kim\\Start Menu\\Programs\\Kestrin",
                               "C:\\windows2"})
        EXPECT_TRUE(IsAcceptableInstallFolder(folder, system)) << folder;
}

TEST(IsAcceptableInstallFolder, TheLongPathPrefixNamesTheFolderBehindIt) {
    SystemFolderSet system;
    system.AddTree("C:\\windows");
    system.AddFolder("\\\\?\\C:\\Program Files");
    for (const char* folder : {"\\\\?\\C:\\windows", "\\\\?\\c:\\WINDOWS\\inf", "\\\\.\\C:\\windows\\",
                               "\\\\?\\C:\\", "C:\\Program Files", "\\\\?\\UNC\\server\\share"})
        EXPECT_FALSE(IsAcceptableInstallFolder(folder, system)) << folder;
}

TEST(IsAcceptableInstallFolder, ALinkIsJudgedByWhereItLeads) {
    SystemFolderSet system;
    system.AddTree("C:\\windows");
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

TEST(QuotedPath, ACommandLineOfItIsThePathAlone) {
    // Unquoted, Windows would split these at their spaces.
    for (const char* path : {"C:\\Program Files\\Orvel\\Setup.exe", "C:\\A  B\\Setup.exe", "C:\\Setup.exe"}) {
        std::string quoted = QuotedPath(path).c_str();
        std::wstring wide(quoted.begin(), quoted.end());
        int count = 0;
        LPWSTR* arguments = CommandLineToArgvW(wide.c_str(), &count);
        ASSERT_NE(nullptr, arguments) << path;
        ASSERT_EQ(1, count) << quoted;
        EXPECT_EQ(std::wstring(path, path + strlen(path)), std::wstring(arguments[0])) << quoted;
        LocalFree(arguments);
    }
}

// Every accepted system has a row of each step; the two systems share the
// helper library but not the driver package.
TEST(PayloadCatalogue, EachSystemHasTheHelperLibraryAndItsOwnDriverPackage) {
    const PayloadEntry* common[] = {FindPayloadEntry(PayloadStep::Common, kOsVistaX86),
                                    FindPayloadEntry(PayloadStep::Common, kOsVistaAmd64)};
    const PayloadEntry* driver[] = {FindPayloadEntry(PayloadStep::Driver, kOsVistaX86),
                                    FindPayloadEntry(PayloadStep::Driver, kOsVistaAmd64)};
    for (int i = 0; i < 2; ++i) {
        ASSERT_NE(nullptr, common[i]) << i;
        ASSERT_NE(nullptr, driver[i]) << i;
        EXPECT_EQ(PayloadFolder::SetupCopyDir, common[i]->destination) << i;
        EXPECT_EQ(PayloadFolder::InstallDir, driver[i]->destination) << i;
        EXPECT_NE(common[i]->resourceId, driver[i]->resourceId) << i;
    }
    EXPECT_EQ(common[0], common[1]);
    EXPECT_NE(driver[0]->resourceId, driver[1]->resourceId);
}

TEST(PayloadCatalogue, OtherSystemsHaveNoRows) {
    for (WORD osCode : {WORD(0), WORD(502), WORD(6001), WORD(6004)}) {
        EXPECT_EQ(nullptr, FindPayloadEntry(PayloadStep::Common, osCode)) << osCode;
        EXPECT_EQ(nullptr, FindPayloadEntry(PayloadStep::Driver, osCode)) << osCode;
        EXPECT_EQ(nullptr, RemovalFileList(osCode)) << osCode;
    }
}

// Only members with a record are installed: one without would never be.
TEST(PayloadCatalogue, EveryMemberHasADigestRecord) {
    for (const PayloadEntry& entry : payloadCatalogue) {
        ASSERT_NE(nullptr, entry.members[0]) << entry.resourceId;
        for (const char* member : entry.members) {
            if (!member)
                continue;
            const PayloadDigest* digest = FindPayloadDigest(member);
            ASSERT_NE(nullptr, digest) << member;
            EXPECT_GT(digest->size, 0u) << member;
        }
    }
}

// Removal deletes what installation unpacked into the install folder, and the
// marker last.
TEST(RemovalFileList, IsTheDriverRowsMembersThenTheMarker) {
    for (WORD osCode : {kOsVistaX86, kOsVistaAmd64}) {
        const PayloadEntry* driver = FindPayloadEntry(PayloadStep::Driver, osCode);
        const char* const* files = RemovalFileList(osCode);
        ASSERT_NE(nullptr, driver) << osCode;
        ASSERT_NE(nullptr, files) << osCode;
        std::vector<std::string> expected, listed;
        for (const char* member : driver->members) {
            if (member)
                expected.push_back(member);
        }
        expected.push_back(removalMarkerName);
        for (; *files; ++files)
            listed.push_back(*files);
        EXPECT_EQ(expected, listed) << osCode;
    }
}

// The second byte of these characters is 0x5C: the guards compare and climb
// at real separators only.
using CodePage932Guard = wiztest::CodePageTest<932>;

TEST_F(CodePage932Guard, FoldersNamedWithSuchCharactersAreJudgedAsWritten) {
    SystemFolderSet system;
    system.AddFolder("C:\\users\\" CP932_HYO);
    system.AddTree("C:\\windows");
    for (const char* folder : {"C:\\" CP932_DORAIBA CP932_HYO, "C:\\users\\" CP932_HYO "\\" CP932_SO,
                               "C:\\Program Files\\" CP932_SOFUTOWEA "\\Kestrin Duoflex", "C:\\" CP932_HYO "\\"})
        EXPECT_TRUE(IsAcceptableInstallFolder(folder, system)) << folder;
    for (const char* folder : {"C:\\users\\" CP932_HYO, "C:\\users\\" CP932_HYO "\\", "C:\\users",
                               "C:\\windows\\" CP932_SO})
        EXPECT_FALSE(IsAcceptableInstallFolder(folder, system)) << folder;
}

TEST_F(CodePage932Guard, TheProductsMenuFolderBelowAProfileNamedSo) {
    const std::string programs = "C:\\users\\" CP932_DORAIBA CP932_HYO "\\Start Menu\\Programs";
    const std::string product = programs + "\\Kestrin Duoflex Wireless Adapter";
    EXPECT_TRUE(IsProductMenuFolder(product.c_str(), programs.c_str(), kCommonPrograms));
    EXPECT_FALSE(IsProductMenuFolder(programs.c_str(), programs.c_str(), kCommonPrograms));
    EXPECT_FALSE(IsProductMenuFolder((product + "\\" CP932_SO).c_str(), programs.c_str(), kCommonPrograms));
}
