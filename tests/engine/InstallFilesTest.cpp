// RestoreInstallDir and InstallFiles on their own: repairs, the setup started
// from elsewhere or from its own copy, and cabinets that cannot do their part.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "EngineTestSupport.h"
#include "engine/wizInstall.h"
#include "state/SetupState.h"

using namespace enginetest;

namespace {

std::string Str(const String& text) { return text.c_str(); }

std::vector<std::string> DriverFiles() {
    if (wiztest::Is64BitPrefix())
        return {"vxa3864.cat", "vxa3864.inf", "vxa3864.sys"};
    return {"vxa38.cat", "vxa38.inf", "vxa38.sys"};
}

std::vector<std::string> WithMarker(std::vector<std::string> files) {
    files.push_back("~NoKill.wiz");
    std::sort(files.begin(), files.end());
    return files;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(toupper(c)); });
    return text;
}

class InstallFilesTest : public EngineTest {
protected:
    std::string SetupCopyDir() const { return Str(g_setup.setupCopyDir); }
    std::string SetupCopy() const { return Str(g_setup.setupCopyPath); }
    std::string InstallDir() const { return Str(g_setup.installDir); }
    std::string DefaultInstallDir() const { return ProgramFilesDir() + "\\Kestrin Duoflex"; }

    void ExpectNoCabinetLeft() {
        EXPECT_FALSE(wiztest::PathExists(SetupCopyDir() + "\\BasePack.Cab"));
        EXPECT_FALSE(wiztest::PathExists(SetupCopyDir() + "\\DevicePack.Cab"));
    }
};

typedef std::vector<unsigned char> Bytes;

Bytes ResourceBytes(int id) {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "FILE");
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    const unsigned char* bytes = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
    return bytes ? Bytes(bytes, bytes + SizeofResource(nullptr, resource)) : Bytes();
}

unsigned Get16(const Bytes& bytes, size_t at) { return bytes[at] | (bytes[at + 1] << 8); }

// The cabinet with every member declaring one byte less than it holds: the
// format has no check that could tell.
Bytes WithShortenedMembers(Bytes cabinet) {
    size_t entry = Get16(cabinet, 16) | (Get16(cabinet, 18) << 16);
    for (unsigned file = Get16(cabinet, 28); file > 0; --file) {
        unsigned long size = Get16(cabinet, entry) | (static_cast<unsigned long>(Get16(cabinet, entry + 2)) << 16);
        --size;
        for (int i = 0; i < 4; ++i)
            cabinet[entry + i] = static_cast<unsigned char>(size >> (8 * i));
        entry += 16;
        while (cabinet[entry++] != 0) {
        }
    }
    return cabinet;
}

// Holds a file open as Windows holds a running program's image: others may
// read it, nobody may write it.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path)
        : handle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldOpen() {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle;
};

}  // namespace

TEST_F(InstallFilesTest, ARepairReplacesAReadOnlyHiddenSetupCopy) {
    ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, SetupCopyDir().c_str(), nullptr));
    ASSERT_TRUE(wiztest::WriteTextFile(SetupCopy(), "an older setup"));
    ASSERT_TRUE(SetFileAttributesA(SetupCopy().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    EXPECT_TRUE(InstallFiles());
    EXPECT_TRUE(SameBytes(ModulePath(), SetupCopy()));
    EXPECT_EQ(0u, GetFileAttributesA(SetupCopy().c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))
        << "neither read-only nor hidden any more";
    EXPECT_EQ(WithMarker(DriverFiles()), ListFiles(InstallDir()));
}

TEST_F(InstallFilesTest, RestoreKeepsTheComposedFolderWhenAppFolderIsMissing) {
    WriteUninstallString("DisplayName", kProduct);
    EXPECT_FALSE(RestoreInstallDir());
    EXPECT_EQ(DefaultInstallDir(), InstallDir());
    EXPECT_EQ(DefaultInstallDir() + "\\KestrinDuoflex.exe", Str(g_setup.utilityExePath));
    EXPECT_TRUE(InstallFiles());
    EXPECT_EQ(WithMarker(DriverFiles()), ListFiles(DefaultInstallDir())) << "the installation goes to the default";
}

TEST_F(InstallFilesTest, RestoreKeepsTheComposedFolderWhenAppFolderDoesNotFitItsBuffer) {
    std::string tooLong = "C:\\" + std::string(253, 'k');  // 256 characters
    WriteUninstallString("AppFolder", tooLong);
    EXPECT_FALSE(RestoreInstallDir());
    EXPECT_EQ(DefaultInstallDir(), InstallDir());

    std::string fits = "C:\\" + std::string(252, 'k');  // 255 characters
    WriteUninstallString("AppFolder", fits);
    EXPECT_TRUE(RestoreInstallDir());
    EXPECT_EQ(fits, InstallDir());
    EXPECT_EQ(fits + "\\KestrinDuoflex.exe", Str(g_setup.utilityExePath));
}

TEST_F(InstallFilesTest, RestoreRefusesARelativeAppFolder) {
    WriteUninstallString("AppFolder", "Kestrin Duoflex");
    EXPECT_FALSE(RestoreInstallDir());
    EXPECT_EQ(DefaultInstallDir(), InstallDir());
}

TEST_F(InstallFilesTest, RestoreRefusesASystemFolder) {
    std::string windows = Str(g_setup.windowsDir);
    std::string profile = ShellFolder(CSIDL_PROFILE);
    for (const std::string& system :
         {windows.substr(0, 3), windows, windows + "\\Inf", ProgramFilesDir(), ShellFolder(CSIDL_PROGRAMS), profile,
          ShellFolder(CSIDL_COMMON_APPDATA), ShellFolder(CSIDL_LOCAL_APPDATA), profile.substr(0, profile.rfind('\\')),
          "\\\\?\\" + windows, "\\\\?\\" + windows + "\\Inf", std::string(kWindowsLink),
          std::string(kWindowsLink) + "\\Inf", std::string(kWindowsLink) + "\\Not There Yet"}) {
        WriteUninstallString("AppFolder", system);
        EXPECT_FALSE(RestoreInstallDir()) << system;
        EXPECT_EQ(DefaultInstallDir(), InstallDir()) << system;
    }
}

namespace {

// The driver package of this system placed in the Windows folder with a
// content of its own, to tell whether anything overwrote it.
class PackageInWindows {
public:
    PackageInWindows() {
        for (const std::string& file : DriverFiles()) {
            std::string path = Str(g_setup.windowsDir) + "\\" + file;
            if (!wiztest::PathExists(path) && wiztest::WriteTextFile(path, "keep"))
                placed.push_back(path);
        }
    }
    ~PackageInWindows() {
        for (const std::string& path : placed)
            DeleteFileA(path.c_str());
        DeleteFileA((Str(g_setup.windowsDir) + "\\~NoKill.wiz").c_str());
    }
    bool IsPlaced() const { return placed.size() == DriverFiles().size(); }
    void ExpectUntouched() const {
        for (const std::string& path : placed)
            EXPECT_TRUE(ReadText(path) == "keep") << path << " was overwritten";
        EXPECT_FALSE(wiztest::PathExists(Str(g_setup.windowsDir) + "\\~NoKill.wiz"));
    }

private:
    std::vector<std::string> placed;
};

}  // namespace

TEST_F(InstallFilesTest, ARepairNeverUnpacksIntoTheWindowsFolderByAnotherName) {
    for (const std::string& other : {"\\\\?\\" + Str(g_setup.windowsDir), std::string(kWindowsLink)}) {
        SCOPED_TRACE(other);
        PackageInWindows package;
        ASSERT_TRUE(package.IsPlaced()) << "the prefix holds product files already";
        WriteUninstallString("AppFolder", other);
        EXPECT_FALSE(RestoreInstallDir());
        EXPECT_TRUE(InstallFiles());
        package.ExpectUntouched();
        EXPECT_EQ(WithMarker(DriverFiles()), ListFiles(DefaultInstallDir())) << "the repair goes to the default";
    }
}

TEST_F(InstallFilesTest, ARepairIntoAnInstallFolderReplacedByALinkUnpacksNothing) {
    // The folder of the first installation, recorded and composed alike, is
    // now a link to the Windows folder.
    SetInstallDir(kWindowsLink);
    WriteUninstallString("AppFolder", kWindowsLink);
    PackageInWindows package;
    ASSERT_TRUE(package.IsPlaced()) << "the prefix holds product files already";
    EXPECT_FALSE(RestoreInstallDir());
    EXPECT_FALSE(InstallFiles());
    package.ExpectUntouched();
}

TEST_F(InstallFilesTest, RestoreTakesTheRecordedFolder) {
    std::string otherDrive = "Y:\\" + wiztest::UniqueName("wiztest");
    std::string existing = scratch / "Existing Folder";
    ASSERT_TRUE(CreateDirectoryA(existing.c_str(), nullptr));
    char shortName[MAX_PATH];
    DWORD shortLength = GetShortPathNameA(existing.c_str(), shortName, MAX_PATH);
    ASSERT_TRUE(shortLength > 0 && shortLength < MAX_PATH);
    for (const std::string& recorded : {scratch / "Chosen Folder", otherDrive + "\\Kestrin Duoflex", existing,
                                        std::string(shortName), DefaultInstallDir()}) {
        WriteUninstallString("AppFolder", recorded);
        EXPECT_TRUE(RestoreInstallDir()) << recorded;
        EXPECT_EQ(recorded, InstallDir());
        EXPECT_EQ(recorded + "\\KestrinDuoflex.exe", Str(g_setup.utilityExePath));
    }
}

TEST_F(InstallFilesTest, ARepairUnpacksIntoAFolderOnAnotherDrive) {
    std::string otherDrive = "Y:\\" + wiztest::UniqueName("wiztest");
    std::string recorded = otherDrive + "\\Kestrin Duoflex";
    WriteUninstallString("AppFolder", recorded);
    EXPECT_TRUE(RestoreInstallDir());
    EXPECT_TRUE(InstallFiles());
    EXPECT_EQ(WithMarker(DriverFiles()), ListFiles(recorded));
    wiztest::DeleteProductTree(recorded);
    RemoveDirectoryA(otherDrive.c_str());
}

TEST_F(InstallFilesTest, TheSetupStartedFromAnotherFolderStillCopiesItself) {
    char previous[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryA(MAX_PATH, previous));
    ASSERT_TRUE(SetCurrentDirectoryA(scratch.Path().c_str()));
    ComposeSetupState(scratch);
    SetCurrentDirectoryA(previous);
    ASSERT_EQ(scratch.Path(), Str(g_setup.sourceDir));
    EXPECT_EQ(ModulePath(), Str(g_setup.setupExePath));

    EXPECT_TRUE(InstallFiles());
    EXPECT_TRUE(SameBytes(ModulePath(), SetupCopy()));
}

TEST_F(InstallFilesTest, TheSetupCopyHeldByAnotherProgramCannotBeReplaced) {
    // The contrast to the next test: a held copy really refuses to be written.
    ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, SetupCopyDir().c_str(), nullptr));
    ASSERT_TRUE(wiztest::WriteTextFile(SetupCopy(), "a running setup"));
    HeldOpen running(SetupCopy());
    ASSERT_TRUE(running.IsOpen());
    EXPECT_FALSE(InstallFiles());
    EXPECT_FALSE(wiztest::PathExists(InstallDir())) << "nothing more is installed";
}

TEST_F(InstallFilesTest, TheSetupRunFromItsOwnCopyKeepsItAndInstallsTheRest) {
    ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, SetupCopyDir().c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(ModulePath().c_str(), SetupCopy().c_str(), FALSE));
    g_setup.setupExePath = Upper(SetupCopy()).c_str();
    HeldOpen running(SetupCopy());
    ASSERT_TRUE(running.IsOpen());

    EXPECT_TRUE(InstallFiles());
    EXPECT_TRUE(SameBytes(ModulePath(), SetupCopy()));
    EXPECT_EQ(std::vector<std::string>({"DevAgent.dll", "Setup.exe"}), ListFiles(SetupCopyDir()));
    EXPECT_EQ(WithMarker(DriverFiles()), ListFiles(InstallDir()));
}

TEST_F(InstallFilesTest, TheOwnCopyStartedThroughAnotherNameIsNormalisedInPlace) {
    ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, SetupCopyDir().c_str(), nullptr));
    ASSERT_TRUE(CopyFileA(ModulePath().c_str(), SetupCopy().c_str(), FALSE));
    char shortName[MAX_PATH];
    DWORD shortLength = GetShortPathNameA(SetupCopy().c_str(), shortName, MAX_PATH);
    ASSERT_TRUE(shortLength > 0 && shortLength < MAX_PATH);
    ASSERT_NE(SetupCopy(), std::string(shortName));
    std::string hardLink = scratch / "Setup link.exe";
    ASSERT_TRUE(CreateHardLinkA(hardLink.c_str(), SetupCopy().c_str(), nullptr));

    for (const std::string& started : {std::string(shortName), hardLink}) {
        SCOPED_TRACE(started);
        ASSERT_TRUE(SetFileAttributesA(SetupCopy().c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
        g_setup.setupExePath = started.c_str();
        HeldOpen running(started);
        ASSERT_TRUE(running.IsOpen());
        EXPECT_TRUE(InstallFiles());
        EXPECT_EQ(0u, GetFileAttributesA(SetupCopy().c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))
            << "neither read-only nor hidden any more";
        EXPECT_TRUE(SameBytes(ModulePath(), SetupCopy()));
    }
}

TEST_F(InstallFilesTest, AMissingSourceInstallsNothing) {
    g_setup.setupExePath = (scratch / "absent.exe").c_str();
    EXPECT_FALSE(InstallFiles());
    EXPECT_FALSE(wiztest::PathExists(SetupCopy()));
    EXPECT_FALSE(wiztest::PathExists(InstallDir()));
    ExpectNoCabinetLeft();
}

TEST_F(InstallFilesTest, ACommonCabinetThatCannotBeWrittenIsAFailure) {
    // A folder in the cabinet's place: the resource cannot be written there.
    ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, (SetupCopyDir() + "\\BasePack.Cab").c_str(), nullptr));
    EXPECT_FALSE(InstallFiles());
    EXPECT_FALSE(wiztest::PathExists(SetupCopyDir() + "\\DevAgent.dll"));
    EXPECT_EQ(WithMarker(DriverFiles()), ListFiles(InstallDir())) << "the driver cabinet still did its part";
    EXPECT_FALSE(wiztest::PathExists(SetupCopyDir() + "\\DevicePack.Cab"));
}

TEST_F(InstallFilesTest, ASystemWithoutPayloadRowsGetsNoPackage) {
    g_setup.osCode = 6001;
    EXPECT_FALSE(InstallFiles());
    EXPECT_TRUE(SameBytes(ModulePath(), SetupCopy()));
    EXPECT_EQ(std::vector<std::string>({"~NoKill.wiz"}), ListFiles(InstallDir()));
    ExpectNoCabinetLeft();
}

TEST_F(InstallFilesTest, AMemberThatCouldNotBeExtractedIsAFailure) {
    std::string blocked = DriverFiles()[1];  // the INF
    ASSERT_EQ(0, SHCreateDirectoryExA(nullptr, (InstallDir() + "\\" + blocked).c_str(), nullptr));
    EXPECT_FALSE(InstallFiles());
    std::vector<std::string> others = DriverFiles();
    others.erase(others.begin() + 1);
    EXPECT_EQ(WithMarker(others), ListFiles(InstallDir()));
    ExpectNoCabinetLeft();
    RemoveDirectoryA((InstallDir() + "\\" + blocked).c_str());
}

// Driver cabinets that are sound as cabinets, so that only the recorded sizes
// and digests can refuse them: empty members, members that declare less than
// they hold, members altered and packed again with right checksums, and
// members of megabytes of zeros.
TEST_F(InstallFilesTest, ADriverCabinetWithOtherBytesThanBuiltInstallsNoDriverFile) {
    const PayloadEntry* driver = FindPayloadEntry(PayloadStep::Driver, g_setup.osCode);
    ASSERT_NE(nullptr, driver);
    std::string base = wiztest::Is64BitPrefix() ? "vxa3864" : "vxa38";
    std::string packed = wiztest::BuildDir() + "\\tests\\cabinets\\";
    Bytes real = ResourceBytes(driver->resourceId);
    ASSERT_FALSE(real.empty());
    const std::pair<const char*, Bytes> cabinets[] = {
        {"empty", wiztest::ReadFileBytes(packed + "empty-" + base + ".cab")},
        {"shortened", WithShortenedMembers(real)},
        {"altered", wiztest::ReadFileBytes(packed + "altered-" + base + ".cab")},
        {"zeros", wiztest::ReadFileBytes(packed + "zeros-" + base + ".cab")},
    };
    for (const auto& cabinet : cabinets) {
        SCOPED_TRACE(cabinet.first);
        SubstitutedResource substitute(driver->resourceId, cabinet.second);
        ASSERT_TRUE(substitute.IsActive());
        EXPECT_FALSE(InstallFiles()) << "the install page names \"copying files\"";
        EXPECT_EQ(std::vector<std::string>({"~NoKill.wiz"}), ListFiles(InstallDir()));
        EXPECT_EQ(std::vector<std::string>({"DevAgent.dll", "Setup.exe"}), ListFiles(SetupCopyDir()));
    }
    EXPECT_TRUE(InstallFiles()) << "the program's own cabinet again";
    EXPECT_EQ(WithMarker(DriverFiles()), ListFiles(InstallDir()));
}
