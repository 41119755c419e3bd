// The whole wizard from outside: first installation, repair, removal, and a
// failing step, with the result checked on disk and in the registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <vector>

#include "e2e/WizardDriver.h"
#include "fw/UniqueHandle.h"
#include "support/TestDevices.h"
#include "support/TestSupport.h"

using namespace wiztest;

namespace {

struct RunTrace {
    std::vector<std::string> statuses;  // each distinct text in the order seen
    std::vector<int> positions;
    bool cancelEverEnabled = false;
};

int ProgressPos(HWND page, int id) {
    DWORD_PTR pos = 0;
    SendMessageTimeoutA(GetDlgItem(page, id), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 5000, &pos);
    return static_cast<int>(pos);
}

// Watches a progress page while its run works, until the Finish page shows.
RunTrace WatchRun(HWND sheet, int statusId, int progressId) {
    RunTrace trace;
    HWND page = CurrentPage(sheet);
    WaitUntil([&] {
        if (OnPage(sheet, kFinishText))
            return true;
        std::string status = ControlText(page, statusId);
        if (!status.empty() && (trace.statuses.empty() || trace.statuses.back() != status))
            trace.statuses.push_back(status);
        if (IsControlVisible(page, progressId)) {
            int pos = ProgressPos(page, progressId);
            if (trace.positions.empty() || trace.positions.back() != pos)
                trace.positions.push_back(pos);
        }
        trace.cancelEverEnabled |= IsControlEnabled(sheet, kCancelButton) != 0;
        return false;
    });
    return trace;
}

// Every item of `seen` occurs in `expected`, in the same order.
bool IsOrderedSubset(const std::vector<std::string>& seen, const std::vector<std::string>& expected) {
    size_t next = 0;
    for (const std::string& item : seen) {
        while (next < expected.size() && expected[next] != item)
            ++next;
        if (next++ == expected.size())
            return false;
    }
    return true;
}

void ExpectFinishPageOnly(HWND sheet) {
    EXPECT_FALSE(IsControlVisible(sheet, kBackButton));
    EXPECT_FALSE(IsControlVisible(sheet, kNextButton));
    EXPECT_FALSE(IsControlVisible(sheet, kCancelButton));
    EXPECT_TRUE(IsControlVisible(sheet, kFinishButton));
    RECT sheetRect, finish;
    GetWindowRect(sheet, &sheetRect);
    GetWindowRect(GetDlgItem(sheet, kFinishButton), &finish);
    EXPECT_EQ((sheetRect.left + sheetRect.right) / 2 - (finish.right - finish.left) / 2, finish.left);
}

// The installed copy is the very file that was built (the signed one in a signed build).
void ExpectSameBytes(const std::string& built, const std::string& installed) {
    const std::vector<unsigned char> builtBytes = ReadFileBytes(built);
    EXPECT_FALSE(builtBytes.empty()) << built;
    EXPECT_TRUE(builtBytes == ReadFileBytes(installed)) << installed << " differs from " << built;
}

std::string SetupExeFolder() {
    const std::string path = SetupExePath();
    return path.substr(0, path.find_last_of('\\'));
}

bool ProductFilesPresent(const ProductPaths& paths, bool amd64) {
    for (const char* const* file = DriverFiles(amd64); *file; ++file)
        if (!PathExists(paths.installDir + "\\" + *file))
            return false;
    return PathExists(paths.installDir + "\\~NoKill.wiz") && PathExists(paths.setupCopyDir + "\\Setup.exe") &&
           PathExists(paths.setupCopyDir + "\\DevAgent.dll");
}

class WizardFlowTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveProductTraces(); }
    void TearDown() override { RemoveProductTraces(); }
    ProductPaths paths_ = DefaultProductPaths();
};

}  // namespace

void InstallWithDefaults() {
    Process setup;
    HWND sheet = InstallUpToFinish(setup);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(kInstallSuccess, PageText(sheet, kFinishText));
    EXPECT_TRUE(FinishWizard(sheet, setup));
}

TEST_F(WizardFlowTest, FirstInstallationWithTheDefaultFolder) {
    Process setup;
    HWND sheet = StartWizard(setup);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(OnPage(sheet, kWelcomeBody));
    ClickControl(sheet, kNextButton);
    ASSERT_TRUE(WaitForPage(sheet, kFolderEdit));
    EXPECT_EQ(paths_.installDir, PageText(sheet, kFolderEdit));
    EXPECT_TRUE(IsControlEnabled(sheet, kBackButton));
    EXPECT_TRUE(IsControlEnabled(sheet, kNextButton));
    ClickControl(sheet, kNextButton);
    ASSERT_TRUE(WaitForPage(sheet, kInstallStatus));
    RunTrace trace = WatchRun(sheet, kInstallStatus, kInstallProgress);
    ASSERT_TRUE(WaitForPage(sheet, kFinishText));

    const std::vector<std::string> statuses = {"Status: ", "Status: Copying files...", "Status: Building shortcut...",
                                               "Status: Registing setting...", "Status: Miscellaneous setting...",
                                               "Status: Done."};
    ASSERT_FALSE(trace.statuses.empty());
    EXPECT_EQ("Status: ", trace.statuses.front());  // the first second of the run
    EXPECT_TRUE(IsOrderedSubset(trace.statuses, statuses));
    const std::set<int> allowed = {0, 20, 40, 60, 70, 80, 85, 100};
    for (size_t i = 0; i < trace.positions.size(); ++i) {
        EXPECT_TRUE(allowed.count(trace.positions[i])) << trace.positions[i];
        if (i) {
            EXPECT_LT(trace.positions[i - 1], trace.positions[i]);
        }
    }
    EXPECT_FALSE(trace.cancelEverEnabled) << "Cancel must be unavailable while the run works";

    EXPECT_EQ(kInstallSuccess, PageText(sheet, kFinishText));
    ExpectFinishPageOnly(sheet);
    EXPECT_TRUE(FinishWizard(sheet, setup));

    EXPECT_TRUE(ProductFilesPresent(paths_, Is64BitPrefix()));
    for (const char* const* other = DriverFiles(!Is64BitPrefix()); *other; ++other)
        EXPECT_FALSE(PathExists(paths_.installDir + "\\" + *other)) << *other;
    EXPECT_FALSE(PathExists(paths_.setupCopyDir + "\\BasePack.Cab"));
    EXPECT_FALSE(PathExists(paths_.setupCopyDir + "\\DevicePack.Cab"));
    EXPECT_TRUE(PathExists(paths_.menuFolder + "\\Uninstall.lnk"));
    EXPECT_EQ(paths_.installDir, RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "AppFolder"));
    EXPECT_EQ("\"" + paths_.setupCopyDir + "\\Setup.exe\"",
              RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    ExpectSameBytes(SetupExePath(), paths_.setupCopyDir + "\\Setup.exe");
    ExpectSameBytes(SetupExeFolder() + "\\payload\\DevAgent.dll", paths_.setupCopyDir + "\\DevAgent.dll");
    for (const char* const* file = DriverFiles(Is64BitPrefix()); *file; ++file)
        ExpectSameBytes(SetupExeFolder() + "\\payload\\" + *file, paths_.installDir + "\\" + *file);
}

TEST_F(WizardFlowTest, MaintenanceModeRepairsIntoTheRecordedFolder) {
    ASSERT_NO_FATAL_FAILURE(InstallWithDefaults());
    DeleteFileA((paths_.installDir + "\\" + DriverFiles(Is64BitPrefix())[0]).c_str());

    Process setup;
    HWND sheet = StartWizard(setup);
    ASSERT_TRUE(sheet);
    EXPECT_NE(std::string::npos, PageText(sheet, kWelcomeBody).find("repair, upgrade, or to remove"));
    ClickControl(sheet, kNextButton);
    ASSERT_TRUE(WaitForPage(sheet, kSetupRepair));
    EXPECT_TRUE(IsControlVisible(sheet, kNextButton));
    EXPECT_FALSE(IsControlEnabled(sheet, kNextButton));
    EXPECT_TRUE(IsControlEnabled(sheet, kBackButton));
    EXPECT_EQ("Repair/Upgrade", PageText(sheet, kSetupRepair));
    EXPECT_EQ("Remove", PageText(sheet, kSetupRemove));
    ClickControl(sheet, kBackButton);
    ASSERT_TRUE(WaitForPage(sheet, kWelcomeBody));
    ClickControl(sheet, kNextButton);
    ASSERT_TRUE(WaitForPage(sheet, kSetupRepair));
    EXPECT_FALSE(IsControlEnabled(sheet, kNextButton));

    ClickControl(CurrentPage(sheet), kSetupRepair);
    ASSERT_TRUE(WaitForPage(sheet, kFinishText));
    EXPECT_EQ(kInstallSuccess, PageText(sheet, kFinishText));
    EXPECT_TRUE(FinishWizard(sheet, setup));
    EXPECT_TRUE(ProductFilesPresent(paths_, Is64BitPrefix()));
}

TEST_F(WizardFlowTest, RemoveTakesTheProductAway) {
    ASSERT_NO_FATAL_FAILURE(InstallWithDefaults());
    Process setup;
    HWND sheet = RemoveUpToFinish(setup);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(kRemoveSuccess, PageText(sheet, kFinishText));
    ExpectFinishPageOnly(sheet);
    EXPECT_TRUE(FinishWizard(sheet, setup));

    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    for (const char* const* file = DriverFiles(Is64BitPrefix()); *file; ++file)
        EXPECT_FALSE(PathExists(paths_.installDir + "\\" + *file)) << *file;
    EXPECT_FALSE(PathExists(paths_.installDir));
    EXPECT_FALSE(PathExists(paths_.menuFolder));
    EXPECT_TRUE(PathExists(paths_.setupCopyDir + "\\Setup.exe"));
    EXPECT_TRUE(PathExists(paths_.setupCopyDir + "\\DevAgent.dll"));

    Process again;  // the next start is a first installation
    HWND next = StartWizard(again);
    ASSERT_TRUE(next);
    EXPECT_NE(std::string::npos, PageText(next, kWelcomeBody).find("guide you to install"));
    EXPECT_TRUE(CancelWizard(next, again));
}

TEST_F(WizardFlowTest, ADeviceRemovalThatFailedIsNamedOnTheFinishPage) {
    ASSERT_NO_FATAL_FAILURE(InstallWithDefaults());
    // A library whose RemoveDevice fails with ERROR_GEN_FAILURE, not with "no such device".
    ASSERT_TRUE(CopyFileA((BuildDir() + "\\tests\\agents\\RecordingAgent.dll").c_str(),
                          (paths_.setupCopyDir + "\\DevAgent.dll").c_str(), FALSE));
    Process setup;
    HWND sheet = RemoveUpToFinish(setup);
    ASSERT_TRUE(sheet);
    std::string text = PageText(sheet, kFinishText);
    EXPECT_NE(std::string::npos, text.find("These steps failed: removing the adapter device.")) << text;
    EXPECT_EQ(std::string::npos, text.find("successfully")) << text;
    EXPECT_TRUE(FinishWizard(sheet, setup));
}

TEST_F(WizardFlowTest, AFailingStepIsReportedOnTheFinishPage) {
    SavedDevicePath restore;
    SavedDevicePath::Delete();  // the driver step then cannot add the folder
    Process setup;
    HWND sheet = InstallUpToFinish(setup);
    ASSERT_TRUE(sheet);
    std::string text = PageText(sheet, kFinishText);
    EXPECT_NE(std::string::npos, text.find("did not complete")) << text;
    EXPECT_NE(std::string::npos, text.find("driver installation")) << text;
    EXPECT_EQ(std::string::npos, text.find("successfully")) << text;
    EXPECT_TRUE(FinishWizard(sheet, setup));
}

// Windows' catalog folder for driver packages (DRIVER_ACTION_VERIFY), native.
std::string NativeCatalogFolder() {
    std::string drivers = NativeDriversFolder();
    return drivers.substr(0, drivers.rfind('\\')) + "\\catroot\\{f750e6c3-38ee-11d1-85e5-00c04fc295ee}";
}

TEST_F(WizardFlowTest, ADriverStepThatFailsWithAnAdapterPresentIsNamedOnTheFinishPage) {
    const std::string base = Is64BitPrefix() ? "vxa3864" : "vxa38";
    TestDevices devices;
    std::string adapter = devices.CreateDevice({kAdapterId});
    // Staging refused: the package's catalog cannot be written into the
    // catalog folder (a folder stands where it goes), and no earlier copy of
    // the package is in the store to fall back on.
    DeleteStagedCopies(BuildDir() + "\\payload\\" + base + ".inf");
    std::string catalog = NativeCatalogFolder() + "\\" + base + ".cat";
    DeleteFileA(catalog.c_str());
    ASSERT_TRUE(CreateDirectoryA(catalog.c_str(), nullptr));
    Process setup;
    HWND sheet = InstallUpToFinish(setup);
    std::string text = sheet ? PageText(sheet, kFinishText) : std::string();
    if (sheet) {
        EXPECT_TRUE(FinishWizard(sheet, setup));
    }
    RemoveDirectoryA(catalog.c_str());
    ASSERT_TRUE(sheet);
    EXPECT_NE(std::string::npos, text.find("These steps failed: driver installation.")) << text;
    EXPECT_EQ(std::string::npos, text.find("successfully")) << text;
    EXPECT_TRUE(ReadDeviceDriver(adapter).infPath.empty()) << Describe(ReadDeviceDriver(adapter));
}

// Setup.exe as built, but with the driver cabinet of this prefix's system
// replaced by the given file, written into folder.
bool WriteSetupWithDriverCabinet(const std::string& folder, const std::string& cabinetPath) {
    std::vector<unsigned char> cabinet = ReadFileBytes(cabinetPath);
    std::string copy = folder + "\\Setup.exe";
    if (cabinet.empty() || !CopyFileA(SetupExePath().c_str(), copy.c_str(), FALSE))
        return false;
    HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
    int id = Is64BitPrefix() ? 29410 : 29400;
    return update && UpdateResourceA(update, "FILE", MAKEINTRESOURCEA(id), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                     cabinet.data(), static_cast<DWORD>(cabinet.size())) &&
           EndUpdateResourceA(update, FALSE);
}

TEST_F(WizardFlowTest, DriverFilesOtherThanBuiltAreNotInstalledAndTheFailureIsNamed) {
    // Altered members packed again with right checksums: a sound cabinet.
    std::string cabinet =
        BuildDir() + "\\tests\\cabinets\\altered-" + (Is64BitPrefix() ? "vxa3864" : "vxa38") + ".cab";
    ScratchDir scratch;
    ASSERT_TRUE(WriteSetupWithDriverCabinet(scratch.Path(), cabinet));
    {
        Process setup;
        HWND sheet = InstallUpToFinish(setup, scratch.Path(), scratch / "Setup.exe");
        ASSERT_TRUE(sheet);
        std::string text = PageText(sheet, kFinishText);
        EXPECT_NE(std::string::npos, text.find("copying files")) << text;
        EXPECT_EQ(std::string::npos, text.find("successfully")) << text;
        EXPECT_TRUE(FinishWizard(sheet, setup));
    }
    for (const char* const* file = DriverFiles(Is64BitPrefix()); *file; ++file)
        EXPECT_FALSE(PathExists(paths_.installDir + "\\" + *file)) << *file;
}

TEST_F(WizardFlowTest, FinishStartsTheUtilityWhenTheInstallationHasOne) {
    Process setup;
    HWND sheet = InstallUpToFinish(setup);
    ASSERT_TRUE(sheet);
    // The package brings no utility; stand one in, as a later package would.
    ASSERT_TRUE(CopyFileA((BuildDir() + "\\bench\\trivial_gui.exe").c_str(),
                          (paths_.installDir + "\\KestrinDuoflex.exe").c_str(), FALSE));
    EXPECT_TRUE(FinishWizard(sheet, setup));
    HWND utility = WaitForTopWindow("Trivial GUI");
    ASSERT_TRUE(utility) << "the utility was not started";
    PostMessageA(utility, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(utility); }));
}

namespace {
// Names of DLLs that Windows' own libraries load by bare name: every one the
// wizard loads ahead from the system folder, others its system libraries may
// ask for, and the security packages that secur32 loads by the names the
// registry lists. Only setupapi of them is a KnownDLL of Windows Vista.
const char* const kPlantedNames[] = {
    "uxtheme",  "version",  "dwmapi",   "propsys", "apphelp", "userenv",  "setupapi", "oleacc",
    "clbcatq",  "cryptbase", "profapi", "comres",  "crypt32", "msimg32",  "rsaenh",   "secur32",
    "ntmarta",  "winmm",    "wintrust", "mpr",     "linkinfo", "ntshrui", "cfgmgr32", "newdev",
    "comctl32", "schannel", "credssp",  "kerberos", "msv1_0"};

// A download folder as a web page can leave it: a DLL of each of those names,
// each marking any load of it with "<name>.dll.loaded". Wine is told to prefer
// them to its own for the programs of kTrappedPrograms; it then searches the
// program's folder first, as Windows does for a DLL that is not a KnownDLL.
// Wine reads those overrides from the program's AppDefaults key when the
// process starts: a WINEDLLOVERRIDES set in this process's environment does
// not reach the processes it starts.
const char* const kTrappedPrograms[] = {"Setup.exe", "LoadByName.exe"};
const char kAppDefaultsKey[] = "Software\\Wine\\AppDefaults\\";

class PlantedFolder {
public:
    PlantedFolder() {
        for (const char* name : kPlantedNames)
            planted_ += CopyFileA((BuildDir() + "\\tests\\plant\\PlantedDll.dll").c_str(),
                                  (dir_ / (std::string(name) + ".dll")).c_str(), FALSE) != FALSE;
        for (const char* program : kTrappedPrograms)
            trapped_ += PreferPlantedDlls(program);
    }
    ~PlantedFolder() {
        for (const char* program : kTrappedPrograms)
            wiztest::RegDeleteTree(HKEY_CURRENT_USER, std::string(kAppDefaultsKey) + program);
    }
    PlantedFolder(const PlantedFolder&) = delete;
    PlantedFolder& operator=(const PlantedFolder&) = delete;

    bool AllPlanted() const {
        return planted_ == sizeof(kPlantedNames) / sizeof(kPlantedNames[0]) &&
               trapped_ == sizeof(kTrappedPrograms) / sizeof(kTrappedPrograms[0]);
    }
    const std::string& Path() const { return dir_.Path(); }
    // Copies a program into the folder; its path there, empty on failure.
    std::string Place(const std::string& program, const std::string& name) const {
        return CopyFileA(program.c_str(), (dir_ / name).c_str(), FALSE) ? dir_ / name : std::string();
    }
    // The planted DLLs that some process has loaded.
    std::vector<std::string> Loaded() const {
        std::vector<std::string> loaded;
        for (const std::string& file : ListFiles(dir_.Path()))
            if (file.size() > 7 && file.compare(file.size() - 7, 7, ".loaded") == 0)
                loaded.push_back(file.substr(0, file.size() - 7));
        return loaded;
    }

private:
    static bool PreferPlantedDlls(const char* program) {
        UniqueRegKey key;
        std::string path = std::string(kAppDefaultsKey) + program + "\\DllOverrides";
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(),
                            nullptr) != ERROR_SUCCESS)
            return false;
        static const char kNativeFirst[] = "native,builtin";
        for (const char* name : kPlantedNames)
            if (!IsImportedByWinesUser32(name) &&
                RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(kNativeFirst),
                               sizeof(kNativeFirst)) != ERROR_SUCCESS)
                return false;
        return true;
    }
    // Wine's own user32 imports version.dll, so Wine loads it while it resolves
    // the program's static imports, before any code of the program can run;
    // Windows Vista's user32 does not. Preferring a planted one would test Wine.
    static bool IsImportedByWinesUser32(const char* name) { return lstrcmpiA(name, "version") == 0; }

    ScratchDir dir_;
    size_t planted_ = 0;
    size_t trapped_ = 0;
};
}  // namespace

TEST_F(WizardFlowTest, TheTrapCatchesAProgramThatLoadsADllByName) {
    PlantedFolder folder;
    ASSERT_TRUE(folder.AllPlanted());
    std::string program = folder.Place(BuildDir() + "\\tests\\plant\\LoadByName.exe", "LoadByName.exe");
    ASSERT_FALSE(program.empty());
    Process control;
    ASSERT_TRUE(control.Start(program, folder.Path()));
    DWORD exitCode = 1;
    ASSERT_TRUE(control.WaitExit(kUiTimeoutMs, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(std::vector<std::string>{"uxtheme.dll"}, folder.Loaded());
}

// Setup.exe as built (which on Windows Vista relies on loading those libraries
// ahead), and the test build that restricts the loader to the system folder.
TEST_F(WizardFlowTest, NoDllBesideSetupIsLoadedByTheInstallationOrTheRepair) {
    for (const std::string& build : {SetupExePath(), BuildDir() + "\\tests\\SetupSystemFolderOnly.exe"}) {
        SCOPED_TRACE(build);
        RemoveProductTraces();
        PlantedFolder folder;
        ASSERT_TRUE(folder.AllPlanted());
        std::string setupExe = folder.Place(build, "Setup.exe");
        ASSERT_FALSE(setupExe.empty());
        {
            Process setup;
            HWND sheet = InstallUpToFinish(setup, folder.Path(), setupExe);
            ASSERT_TRUE(sheet) << "loaded: " << ::testing::PrintToString(folder.Loaded());
            EXPECT_EQ(kInstallSuccess, PageText(sheet, kFinishText));
            EXPECT_TRUE(FinishWizard(sheet, setup));
        }
        EXPECT_TRUE(ProductFilesPresent(paths_, Is64BitPrefix()));
        EXPECT_TRUE(PathExists(paths_.menuFolder + "\\Uninstall.lnk"));
        {
            Process repair;
            HWND sheet = MaintainUpToFinish(repair, kSetupRepair, folder.Path(), setupExe);
            ASSERT_TRUE(sheet) << "loaded: " << ::testing::PrintToString(folder.Loaded());
            EXPECT_EQ(kInstallSuccess, PageText(sheet, kFinishText));
            EXPECT_TRUE(FinishWizard(sheet, repair));
        }
        EXPECT_EQ(std::vector<std::string>(), folder.Loaded());
    }
}
