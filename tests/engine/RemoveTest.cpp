// RemoveFiles, RemoveShortcuts and UnregisterUninstall on their own, with
// the uninstall entry holding what a user, an older setup or a tamperer left.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "EngineTestSupport.h"
#include "engine/wizInstall.h"
#include "state/SetupState.h"

using namespace enginetest;

namespace {

std::string Str(const String& text) { return text.c_str(); }

const char* const kX86Files[] = {"vxa38.sys", "vxa38.inf", "vxa38.cat"};
const char* const kAmd64Files[] = {"vxa3864.sys", "vxa3864.inf", "vxa3864.cat"};

class RemoveFilesTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        folder = scratch / "Kestrin Duoflex";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        WriteUninstallString("AppFolder", folder);
    }
    void Place(const char* name) { ASSERT_TRUE(wiztest::WriteTextFile(folder + "\\" + name, name)); }
    void PlacePackage(const char* const (&files)[3]) {
        for (const char* file : files)
            Place(file);
    }
    const char* const (&OwnFiles() const)[3] { return wiztest::Is64BitPrefix() ? kAmd64Files : kX86Files; }
    const char* const (&OtherFiles() const)[3] { return wiztest::Is64BitPrefix() ? kX86Files : kAmd64Files; }

    std::string folder;
};

}  // namespace

TEST_F(RemoveFilesTest, DeletesTheMarkerThePackageAndTheEmptyFolder) {
    Place("~NoKill.wiz");
    PlacePackage(OwnFiles());
    EXPECT_TRUE(RemoveFiles());
    EXPECT_FALSE(wiztest::PathExists(folder));
}

TEST_F(RemoveFilesTest, KeepsTheUsersFilesAndSoTheFolder) {
    Place("~NoKill.wiz");
    PlacePackage(OwnFiles());
    Place("notes.txt");
    EXPECT_TRUE(RemoveFiles());
    EXPECT_EQ(std::vector<std::string>({"notes.txt"}), ListFiles(folder));
}

TEST_F(RemoveFilesTest, DeletesOnlyThePackageOfThisArchitecture) {
    Place("~NoKill.wiz");
    PlacePackage(OwnFiles());
    PlacePackage(OtherFiles());
    EXPECT_TRUE(RemoveFiles());
    std::vector<std::string> expected(std::begin(OtherFiles()), std::end(OtherFiles()));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, ListFiles(folder));
}

TEST_F(RemoveFilesTest, WithoutTheMarkerDeletesNothing) {
    PlacePackage(OwnFiles());
    EXPECT_TRUE(RemoveFiles());
    EXPECT_EQ(3u, ListFiles(folder).size());
}

TEST_F(RemoveFilesTest, WithoutAppFolderDeletesNothing) {
    Place("~NoKill.wiz");
    PlacePackage(OwnFiles());
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_SET_VALUE, &key));
    RegDeleteValueA(key, "AppFolder");
    RegCloseKey(key);
    EXPECT_FALSE(RemoveFiles());
    EXPECT_EQ(4u, ListFiles(folder).size());
}

TEST_F(RemoveFilesTest, ARemovalCutShortIsCompletedByTheNextOne) {
    Place("~NoKill.wiz");
    PlacePackage(OwnFiles());
    {
        // A package file that cannot go now (in use): the marker stays for the next run.
        HANDLE held = CreateFileA((folder + "\\" + OwnFiles()[1]).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        EXPECT_FALSE(RemoveFiles()) << "the package is not gone";
        CloseHandle(held);
    }
    EXPECT_EQ(std::vector<std::string>({std::string(OwnFiles()[1]), "~NoKill.wiz"}), ListFiles(folder));
    EXPECT_TRUE(RemoveFiles());
    EXPECT_FALSE(wiztest::PathExists(folder));
}

TEST_F(RemoveFilesTest, DeletesThePackageFromAnyFolderAUserMayChoose) {
    std::string otherDrive = "Y:\\" + wiztest::UniqueName("wiztest");
    ASSERT_TRUE(CreateDirectoryA(otherDrive.c_str(), nullptr)) << "the build folder is Y:";
    std::string longPath = scratch / std::string(240 - scratch.Path().size(), 'L');
    for (const std::string& chosen :
         {ProgramFilesDir() + "\\Kestrin Duoflex", otherDrive + "\\Kestrin Duoflex", folder, longPath}) {
        SCOPED_TRACE(chosen);
        folder = chosen;
        CreateDirectoryA(folder.c_str(), nullptr);
        Place("~NoKill.wiz");
        PlacePackage(OwnFiles());
        WriteUninstallString("AppFolder", chosen);
        EXPECT_TRUE(RemoveFiles());
        EXPECT_FALSE(wiztest::PathExists(chosen));
    }
    RemoveDirectoryA(otherDrive.c_str());
}

TEST_F(RemoveFilesTest, AnAppFolderIn83NamesIsTheFolderItNames) {
    Place("~NoKill.wiz");
    PlacePackage(OwnFiles());
    char shortName[MAX_PATH];
    DWORD length = GetShortPathNameA(folder.c_str(), shortName, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    ASSERT_NE(folder, std::string(shortName));
    WriteUninstallString("AppFolder", shortName);
    EXPECT_TRUE(RemoveFiles());
    EXPECT_FALSE(wiztest::PathExists(folder));
}

TEST_F(RemoveFilesTest, AnAppFolderThatIsASystemFolderDeletesNothing) {
    std::string windows = Str(g_setup.windowsDir);
    std::string profile = ShellFolder(CSIDL_PROFILE);
    for (const std::string& system :
         {windows.substr(0, 3), windows, windows + "\\system32", ProgramFilesDir(), profile,
          ShellFolder(CSIDL_PROGRAMS), ShellFolder(CSIDL_COMMON_STARTMENU), ProgramFilesDir() + "\\..",
          // every shell folder, and every folder that holds one
          ShellFolder(CSIDL_COMMON_APPDATA), ShellFolder(CSIDL_APPDATA), ShellFolder(CSIDL_COMMON_DOCUMENTS),
          profile.substr(0, profile.rfind('\\')),
          // the Windows folder by other names: the "\\?\" prefix, a link to it
          "\\\\?\\" + windows, std::string(kWindowsLink), std::string(kWindowsLink) + "\\system32"}) {
        SCOPED_TRACE(system);
        std::vector<std::string> placed;
        for (const char* file : {"~NoKill.wiz", OwnFiles()[0], OwnFiles()[1], OwnFiles()[2]}) {
            std::string path = system + (system.back() == '\\' ? "" : "\\") + file;
            if (!wiztest::PathExists(path) && wiztest::WriteTextFile(path, file))
                placed.push_back(path);
        }
        ASSERT_EQ(4u, placed.size()) << "the prefix holds product files already";
        WriteUninstallString("AppFolder", system);
        EXPECT_FALSE(RemoveFiles()) << "refused";
        for (const std::string& path : placed) {
            EXPECT_TRUE(wiztest::PathExists(path)) << path;
            DeleteFileA(path.c_str());
        }
    }
}

namespace {

// Start-menu removal with "ProgramsFolder" set to one value, and things
// around the Start menu and the system that must survive any value.
class RemoveShortcutsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        userPrograms = ShellFolder(CSIDL_PROGRAMS);
        commonPrograms = ShellFolder(CSIDL_COMMON_PROGRAMS);
        ASSERT_FALSE(userPrograms.empty());
        ASSERT_FALSE(commonPrograms.empty());
        userProduct = userPrograms + "\\" + kProduct;
        commonProduct = commonPrograms + "\\" + kProduct;
        MakeFolderWithFile(userProduct, "Uninstall.lnk");
        MakeFolderWithFile(userProduct + "\\Extras", "Readme.lnk");
        PlaceCommonFolderAndLinks();
    }
    void TearDown() override {
        for (const std::string& canary : canaries)
            DeleteFileA(canary.c_str());
        for (const std::string& folder : canaryFolders)
            RemoveDirectoryA(folder.c_str());
        EngineTest::TearDown();
    }

    void PlaceCommonFolderAndLinks() {
        MakeFolderWithFile(commonProduct, "Uninstall.lnk");
        for (const String* link :
             {&g_setup.desktopUninstallLink, &g_setup.startupUtilityLink, &g_setup.desktopUtilityLink})
            ASSERT_TRUE(wiztest::WriteTextFile(link->c_str(), "link"));
    }
    void MakeFolderWithFile(const std::string& folder, const char* file) {
        int made = SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
        ASSERT_TRUE(made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS) << made;
        ASSERT_TRUE(wiztest::WriteTextFile(folder + "\\" + file, file));
    }
    std::string Canary(const std::string& folder) {
        std::string path = folder + "\\" + wiztest::UniqueName("WizTest canary") + ".txt";
        EXPECT_TRUE(wiztest::WriteTextFile(path, "keep")) << path;
        canaries.push_back(path);
        return path;
    }
    std::string CanaryFolder(const std::string& parent) {
        std::string folder = parent + "\\" + wiztest::UniqueName("WizTest canary");
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
        canaryFolders.insert(canaryFolders.begin(), folder);
        Canary(folder);
        return folder;
    }
    bool LinksDeleted() const {
        return !wiztest::PathExists(g_setup.desktopUninstallLink.c_str()) &&
               !wiztest::PathExists(g_setup.startupUtilityLink.c_str()) &&
               !wiztest::PathExists(g_setup.desktopUtilityLink.c_str());
    }

    // Runs the removal with a value that names no folder of the product's and
    // checks that nothing but the product's own folders went: the all-users
    // one and, in place of the refused value, the one the wizard composes.
    void ExpectDeletesNothingFor(const std::string& value) {
        SCOPED_TRACE("ProgramsFolder = \"" + value + "\"");
        MakeFolderWithFile(userProduct, "Uninstall.lnk");
        PlaceCommonFolderAndLinks();
        std::string scratchCanary = Canary(scratch.Path());
        std::string windowsCanary = Canary(Str(g_setup.windowsDir));
        std::string userCanary = Canary(CanaryFolder(userPrograms));
        std::string commonCanary = Canary(CanaryFolder(commonPrograms));
        WriteUninstallString("ProgramsFolder", value);

        EXPECT_TRUE(RemoveShortcuts()) << "the value was read";
        for (const std::string& canary : {scratchCanary, windowsCanary, userCanary, commonCanary})
            EXPECT_TRUE(wiztest::PathExists(canary)) << canary;
        EXPECT_FALSE(wiztest::PathExists(userProduct)) << "the composed folder goes in place of the value";
        EXPECT_FALSE(wiztest::PathExists(commonProduct)) << "the all-users folder of the product still goes";
        EXPECT_TRUE(LinksDeleted()) << "the sequence goes on with the links";
    }

    std::string userPrograms, commonPrograms, userProduct, commonProduct;
    std::vector<std::string> canaries, canaryFolders;
};

}  // namespace

TEST_F(RemoveShortcutsTest, DeletesTheProductsFoldersAndTheLinks) {
    WriteUninstallString("ProgramsFolder", userProduct);
    EXPECT_TRUE(RemoveShortcuts());
    EXPECT_FALSE(wiztest::PathExists(userProduct));
    EXPECT_FALSE(wiztest::PathExists(commonProduct));
    EXPECT_TRUE(LinksDeleted());
    EXPECT_TRUE(wiztest::IsDirectory(userPrograms));
}

TEST_F(RemoveShortcutsTest, TheProductsFolderMayBeWrittenInAnotherCaseOrWithATrailingSeparator) {
    std::string lower = userProduct;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(tolower(c)); });
    WriteUninstallString("ProgramsFolder", lower + "\\");
    EXPECT_TRUE(RemoveShortcuts());
    EXPECT_FALSE(wiztest::PathExists(userProduct));
}

TEST_F(RemoveShortcutsTest, TheAllUsersProductFolderQualifiesToo) {
    WriteUninstallString("ProgramsFolder", commonProduct);
    EXPECT_TRUE(RemoveShortcuts());
    EXPECT_FALSE(wiztest::PathExists(commonProduct));
    EXPECT_TRUE(wiztest::PathExists(userProduct));
}

TEST_F(RemoveShortcutsTest, WithoutTheValueTheComposedFolderAndTheLinksGo) {
    ASSERT_TRUE(CreateUninstallEntry());
    ASSERT_EQ(userProduct, Str(g_setup.menuFolderDir));
    EXPECT_FALSE(RemoveShortcuts());
    EXPECT_FALSE(wiztest::PathExists(userProduct)) << "no orphaned Uninstall link";
    EXPECT_TRUE(wiztest::PathExists(commonProduct + "\\Uninstall.lnk"));
    EXPECT_TRUE(LinksDeleted());
}

TEST_F(RemoveShortcutsTest, AnEmptyValueDeletesNothing) { ExpectDeletesNothingFor(""); }

TEST_F(RemoveShortcutsTest, ADriveRootDeletesNothing) {
    ExpectDeletesNothingFor("C:\\");
    ExpectDeletesNothingFor("C:");
}

TEST_F(RemoveShortcutsTest, SystemFoldersDeleteNothing) {
    ExpectDeletesNothingFor(Str(g_setup.windowsDir));
    ExpectDeletesNothingFor(Str(g_setup.systemDir));
    ExpectDeletesNothingFor(ProgramFilesDir());
}

TEST_F(RemoveShortcutsTest, TheProgramsFoldersThemselvesDeleteNothing) {
    ExpectDeletesNothingFor(userPrograms);
    ExpectDeletesNothingFor(commonPrograms + "\\");
}

TEST_F(RemoveShortcutsTest, APathThatClimbsDeletesNothing) {
    ExpectDeletesNothingFor(userProduct + "\\..");
    ExpectDeletesNothingFor(userProduct + "\\Extras\\..\\..");
    // Leads to the product's folder in the end, but says so only by climbing.
    ExpectDeletesNothingFor(userPrograms + "\\..\\Programs\\" + kProduct);
}

TEST_F(RemoveShortcutsTest, AFolderOfTheProductsNameElsewhereDeletesNothing) {
    std::string sibling = scratch / kProduct;
    MakeFolderWithFile(sibling, "own.txt");
    ExpectDeletesNothingFor(sibling);
    EXPECT_TRUE(wiztest::PathExists(sibling + "\\own.txt"));

    std::string nested = userPrograms + "\\" + wiztest::UniqueName("WizTest nest") + "\\" + kProduct;
    MakeFolderWithFile(nested, "own.txt");
    ExpectDeletesNothingFor(nested);
    EXPECT_TRUE(wiztest::PathExists(nested + "\\own.txt"));
    DeleteProductTree(nested.substr(0, nested.rfind('\\')));
}

TEST_F(RemoveShortcutsTest, ARelativeValueDeletesNothing) {
    char previous[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(MAX_PATH, previous));
    ASSERT_TRUE(SetCurrentDirectoryA(userPrograms.c_str()));
    ExpectDeletesNothingFor(kProduct);
    SetCurrentDirectoryA(previous);
}

// The answer is whether the entry is gone afterwards, however it went.
TEST_F(EngineTest, UnregisteringAnswersWhetherTheEntryIsGone) {
    WriteUninstallString("DisplayName", kProduct);
    EXPECT_TRUE(UnregisterUninstall());
    EXPECT_FALSE(wiztest::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_TRUE(UnregisterUninstall()) << "an entry that is already gone";

    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\Sub").c_str(), 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    EXPECT_TRUE(UnregisterUninstall()) << "an entry with subkeys, which RegDeleteKeyA refuses";
    EXPECT_FALSE(wiztest::RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}
