// The whole wizard as users of Japanese and Chinese Windows meet it: their ANSI
// code pages have characters whose second byte is 0x5C, the backslash. Into
// folders named with such characters, and for a user whose profile name holds
// some, the first installation, a repair and the removal must put every file
// in exactly the typed folder, install the adapter from the package staged
// from there, make nothing else anywhere on the drive and leave nothing behind.
// Each suite runs in a ctest entry of its own under its Unix locale, with
// USER naming the profile.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <set>
#include <string>
#include <vector>

#include "e2e/WizardDriver.h"
#include "fw/PathChars.h"
#include "support/CodePages.h"
#include "support/TestDevices.h"
#include "support/TestSupport.h"

using namespace wiztest;

namespace {

#define HYO CP932_HYO
#define DORAIBA CP932_DORAIBA
#define SOFUTOWEA CP932_SOFUTOWEA
#define XU_GONG_GAI CP950_XU CP950_GONG CP950_GAI

using Listing = std::set<std::string>;

bool IsOneOf(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* listed : names)
        if (lstrcmpiA(name.c_str(), listed) == 0)
            return true;
    return false;
}

// What a walk of drive C: must not see: Windows' own folder (staged packages
// are checked through SetupAPI instead), temporary folders, the scratch areas
// of tests that may run meanwhile, and the profile folders Wine links to the
// Unix home folder, outside the prefix.
bool IsLeftOut(const std::string& folder, const std::string& name) {
    if (folder == "C:" && IsOneOf(name, {"windows", "wiztest", "wiztest-links"}))
        return true;
    // Links to the home folder stand in a profile and in its AppData (Templates).
    return IsOneOf(name, {"Temp", "Desktop", "Documents", "Downloads", "Music", "Pictures", "Videos", "Templates"});
}

// Every file and folder below folder; folders end with a backslash.
void Walk(const std::string& folder, Listing& out) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = entry.cFileName;
        if (name == "." || name == ".." || IsLeftOut(folder, name))
            continue;
        std::string path = folder + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.insert(path + "\\");
            Walk(path, out);
        } else {
            out.insert(path);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

Listing ListDrive() {
    Listing listing;
    Walk("C:", listing);
    return listing;
}

Listing Minus(const Listing& a, const Listing& b) {
    Listing rest;
    for (const std::string& path : a)
        if (!b.count(path))
            rest.insert(path);
    return rest;
}

std::string Describe(const Listing& listing) {
    std::string text;
    for (const std::string& path : listing)
        text += "\n  " + path;
    return text.empty() ? " (none)" : text;
}

// The folder's parent, found at the last separator as the code page reads it.
std::string ParentOf(const std::string& folder) {
    const char* separator = FindLastSeparator(folder.c_str());
    return separator ? folder.substr(0, static_cast<size_t>(separator - folder.c_str())) : std::string();
}

// The folder and each parent of it that `before` lacks, as listed entries.
Listing NewLevels(const std::string& folder, const Listing& before) {
    Listing levels;
    for (std::string level = folder; level.size() > 3 && !before.count(level + "\\"); level = ParentOf(level))
        levels.insert(level + "\\");
    return levels;
}

Listing FilesIn(const std::string& folder, std::vector<std::string> names) {
    Listing files;
    for (const std::string& name : names)
        files.insert(folder + "\\" + name);
    return files;
}

Listing Join(Listing a, const Listing& b) {
    a.insert(b.begin(), b.end());
    return a;
}

class CodePageFlow : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveProductTraces();
        // A profile that Wine made for this user at start has no Start menu yet.
        char programs[MAX_PATH];
        ASSERT_EQ(S_OK, SHGetFolderPathA(nullptr, CSIDL_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, 0, programs));
        paths_ = DefaultProductPaths();
        before_ = ListDrive();
    }
    void TearDown() override {
        RemoveProductTraces();
        // Whatever else appeared goes too, deepest first: a faulty build may
        // scatter files and folders over the drive.
        Listing appeared = Minus(ListDrive(), before_);
        for (auto path = appeared.rbegin(); path != appeared.rend(); ++path) {
            if (path->back() == '\\')
                RemoveDirectoryA(path->substr(0, path->size() - 1).c_str());
            else
                DeleteFileA(path->c_str());
        }
    }

    // Installs into folder, repairs and removes, checking each outcome.
    void InstallRepairAndRemove(const std::string& folder);

    ProductPaths paths_;
    Listing before_;
};

void ExpectAdapterInstalledFrom(const std::string& adapter, const std::string& folder) {
    const std::string inf = Is64BitPrefix() ? "vxa3864.inf" : "vxa38.inf";
    DeviceDriver driver = ReadDeviceDriver(adapter);
    EXPECT_EQ(Is64BitPrefix() ? "vxa3864" : "vxa38", driver.service) << Describe(driver);
    ASSERT_FALSE(driver.infPath.empty()) << Describe(driver);
    EXPECT_EQ(ReadFileBytes(folder + "\\" + inf), ReadFileBytes(WindowsInfFolder() + "\\" + driver.infPath))
        << "the staged package is not the one in " << folder;
}

void CodePageFlow::InstallRepairAndRemove(const std::string& folder) {
    SavedDevicePath restore;
    TestDevices devices;
    std::string adapter = devices.CreateDevice({kAdapterId});
    const std::string base = Is64BitPrefix() ? "vxa3864" : "vxa38";
    const Listing package = FilesIn(folder, {"~NoKill.wiz", base + ".sys", base + ".inf", base + ".cat"});
    const Listing setupCopy =
        Join(NewLevels(paths_.setupCopyDir, before_), FilesIn(paths_.setupCopyDir, {"Setup.exe", "DevAgent.dll"}));
    const Listing menu = {paths_.menuFolder + "\\", paths_.menuFolder + "\\Uninstall.lnk"};
    const Listing installed = Join(Join(Join(NewLevels(folder, before_), package), setupCopy), menu);

    Process setup;
    HWND sheet = InstallUpToFinish(setup, std::string(), std::string(), folder);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(kInstallSuccess, PageText(sheet, kFinishText));
    EXPECT_TRUE(FinishWizard(sheet, setup));
    Listing afterInstall = ListDrive();
    EXPECT_EQ(installed, Minus(afterInstall, before_)) << "made:" << Describe(Minus(afterInstall, before_));
    EXPECT_EQ(Listing(), Minus(before_, afterInstall));
    EXPECT_EQ(folder, RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "AppFolder"));
    EXPECT_EQ(paths_.menuFolder, RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "ProgramsFolder"));
    EXPECT_EQ(paths_.setupCopyDir + "\\Setup.exe", ReadShortcut(paths_.menuFolder + "\\Uninstall.lnk").target);
    ExpectAdapterInstalledFrom(adapter, folder);

    Process repair;
    sheet = MaintainUpToFinish(repair, kSetupRepair);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(kInstallSuccess, PageText(sheet, kFinishText));
    EXPECT_TRUE(FinishWizard(sheet, repair));
    EXPECT_EQ(afterInstall, ListDrive()) << "the repair works in the same places";
    ExpectAdapterInstalledFrom(adapter, folder);

    Process removal;
    sheet = RemoveUpToFinish(removal);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(kRemoveSuccess, PageText(sheet, kFinishText));
    EXPECT_TRUE(FinishWizard(sheet, removal));
    // The setup copy stays for good, and so do the parents of the install
    // folder that the destination page made when it tried the folder.
    Listing parents = NewLevels(ParentOf(folder), before_);
    Listing afterRemoval = ListDrive();
    EXPECT_EQ(Join(setupCopy, parents), Minus(afterRemoval, before_)) << "left:" << Describe(Minus(afterRemoval, before_));
    EXPECT_EQ(Listing(), Minus(before_, afterRemoval));
    EXPECT_FALSE(DeviceExists(adapter));
    EXPECT_EQ(std::vector<std::string>(), StagedInfsContaining("VEN_7A3C&DEV_0B52"));
}

template <UINT page>
class CodePageFlowIn : public CodePageFlow {
protected:
    void SetUp() override {
        ASSERT_TRUE(IsAnsiCodePage(page));
        CodePageFlow::SetUp();
    }
};
using CodePage932 = CodePageFlowIn<932>;
using CodePage950 = CodePageFlowIn<950>;

// The profile's name holds a character whose second byte is 0x5C in the
// entry's code page: every Start-menu path goes through it.
void ExpectProfileWithA5CCharacter() {
    std::string programs = ShellFolder(CSIDL_PROGRAMS);
    const char users[] = "C:\\users\\";
    ASSERT_EQ(0, programs.compare(0, strlen(users), users)) << programs;
    std::string profile = programs.substr(0, programs.find("\\AppData"));
    bool holds = false;
    for (const char* at = profile.c_str() + strlen(users); *at; at = NextChar(at))
        holds |= IsDBCSLeadByte(static_cast<BYTE>(*at)) && at[1] == '\\';
    EXPECT_TRUE(holds) << "USER names no profile with such a character: " << profile;
}

}  // namespace

TEST_F(CodePage932, AFolderAtTheDriveRootWhoseLastCharacterEndsIn5C) {
    ExpectProfileWithA5CCharacter();
    InstallRepairAndRemove("C:\\" DORAIBA HYO);
}

TEST_F(CodePage932, ANewFolderBelowProgramFilesWhoseFirstCharacterEndsIn5C) {
    InstallRepairAndRemove(paths_.programFiles + "\\" SOFUTOWEA "\\Kestrin Duoflex");
}

TEST_F(CodePage932, ACharacterTheCodePageLacksIsRefusedAndNothingIsMade) {
    Process setup;
    HWND sheet = StartWizard(setup);
    ASSERT_TRUE(sheet);
    ClickControl(sheet, kNextButton);
    ASSERT_TRUE(WaitForPage(sheet, kFolderEdit));
    // A new folder, then a Korean syllable: the narrow edit box shows "?" for it.
    SendMessageW(GetDlgItem(CurrentPage(sheet), kFolderEdit), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"C:\\\x30c9\x30e9\x30a4\x30d0\x8868\\\xd55c"));
    EXPECT_EQ("C:\\" DORAIBA HYO "\\?", PageText(sheet, kFolderEdit));
    ClickControl(sheet, kNextButton);
    HWND warning = WaitForMessage(setup, sheet);
    ASSERT_TRUE(warning);
    EXPECT_EQ("The target folder is invalid!\n\nPlease try the other one...", ControlText(warning, kMessageText));
    Answer(warning, kAnswer1);
    EXPECT_TRUE(OnPage(sheet, kFolderEdit));
    EXPECT_EQ(Listing(), Minus(ListDrive(), before_)) << "nothing is made on the way";
    EXPECT_TRUE(CancelWizard(sheet, setup));
}

TEST_F(CodePage950, ANewFolderBelowProgramFilesOfCharactersEndingIn5C) {
    ExpectProfileWithA5CCharacter();
    InstallRepairAndRemove(paths_.programFiles + "\\" XU_GONG_GAI "\\Kestrin Duoflex");
}
