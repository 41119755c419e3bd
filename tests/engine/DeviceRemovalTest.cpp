// DevAgent.dll's device installation and removal against devices made in the
// prefix's own device tree, and the WOW64 refusal that only Windows makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "DevAgent.h"
#include "DevAgentCore.h"
#include "DevAgentWow64.h"
#include "DeviceRemoval.h"
#include "DriverStore.h"
#include "EngineTestSupport.h"
#include "engine/wizInstall.h"
#include "fw/SystemLibrary.h"
#include "state/SetupState.h"
#include "support/TestDevices.h"

using namespace enginetest;

namespace {

using wiztest::DeviceExists;
using wiztest::kAdapterId;

// Root-enumerated devices made for a test, all removed again at its end.
class DeviceRemovalTest : public ::testing::Test {
protected:
    std::string CreateDevice(const std::vector<std::string>& hardwareIds) { return devices.CreateDevice(hardwareIds); }
    static HMODULE LoadAgent() { return LoadLibraryA((wiztest::BuildDir() + "\\payload\\DevAgent.dll").c_str()); }

    wiztest::TestDevices devices;
};

// Windows' answer to a 32-bit process on 64-bit Windows, which Wine does not give.
int refusals = 0;
int refuseFirst = 0;  // refuse only this many attempts; the rest go to Windows

BOOL WINAPI RefuseAsUnderWow64(DI_FUNCTION function, HDEVINFO devices, PSP_DEVINFO_DATA device) {
    if (refuseFirst <= 0 || refusals < refuseFirst) {
        ++refusals;
        SetLastError(ERROR_IN_WOW64);
        return FALSE;
    }
    return SetupDiCallClassInstaller(function, devices, device);
}

DeviceApi Wow64Api(int refuseHowMany) {
    refusals = 0;
    refuseFirst = refuseHowMany;
    DeviceApi api = SystemDeviceApi();
    api.callClassInstaller = RefuseAsUnderWow64;
    return api;
}

// The 64-bit agent program's starts, watched through the table's process call.
struct AgentProgramStarts {
    int count = 0;
    bool lastRanUnderWow64 = true;
    bool lastFileExisted = false;
    HANDLE lastProcess = nullptr, lastThread = nullptr;  // as handed to the caller
};
AgentProgramStarts starts;

BOOL WINAPI WatchedCreateProcess(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                                 LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                                 LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                                 LPPROCESS_INFORMATION process) {
    ++starts.count;
    starts.lastFileExisted = application && wiztest::PathExists(application);
    BOOL made = CreateProcessA(application, commandLine, processAttributes, threadAttributes, inheritHandles,
                               creationFlags, environment, currentDirectory, startupInfo, process);
    BOOL wow64 = TRUE;
    if (made && IsWow64Process(process->hProcess, &wow64))
        starts.lastRanUnderWow64 = wow64 != FALSE;
    if (made) {
        starts.lastProcess = process->hProcess;
        starts.lastThread = process->hThread;
    }
    return made;
}

DeviceApi WatchedApi(const DeviceApi& base) {
    starts = AgentProgramStarts();
    DeviceApi api = base;
    api.createProcess = WatchedCreateProcess;
    return api;
}

// A copy of the payload's DevAgent.dll, loaded from a folder of its own.
class AgentCopy {
public:
    AgentCopy() {
        CopyFileA((wiztest::BuildDir() + "\\payload\\DevAgent.dll").c_str(), (scratch_ / "DevAgent.dll").c_str(),
                  FALSE);
        module_ = LoadLibraryA((scratch_ / "DevAgent.dll").c_str());
    }
    ~AgentCopy() {
        if (module_)
            FreeLibrary(module_);
    }
    HMODULE Module() const { return module_; }
    std::vector<std::string> FolderContents() const { return wiztest::ListFolder(scratch_.Path()); }

private:
    wiztest::ScratchDir scratch_;
    HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(DeviceRemovalTest, RemoveDeviceUninstallsEveryDeviceWithTheHardwareId) {
    std::string adapter = CreateDevice({kAdapterId});
    std::string listedSecond = CreateDevice({"PCI\\VEN_7A3C&DEV_0B52&SUBSYS_00011234", "pci\\ven_7a3c&dev_0b52"});
    std::string otherDevice = CreateDevice({"PCI\\VEN_7A3C&DEV_0B53"});
    std::string longerId = CreateDevice({"PCI\\VEN_7A3C&DEV_0B52&REV_01"});

    HMODULE library = LoadAgent();
    ASSERT_NE(nullptr, library);
    RemoveDeviceFn remove =
        EntryPoint<RemoveDeviceFn>(library, "RemoveDevice");
    ASSERT_NE(nullptr, remove);
    SetLastError(0xdeadbeef);
    EXPECT_TRUE(remove(kAdapterId, 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    EXPECT_FALSE(DeviceExists(adapter));
    EXPECT_FALSE(DeviceExists(listedSecond)) << "any of the ids, in any case";
    EXPECT_TRUE(DeviceExists(otherDevice));
    EXPECT_TRUE(DeviceExists(longerId)) << "a longer id is another device";

    EXPECT_FALSE(remove(kAdapterId, 1)) << "nothing left to remove";
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), GetLastError());
    FreeLibrary(library);
}

TEST_F(DeviceRemovalTest, UnderWow64TheRefusalIsReportedAndTheDevicesStay) {
    std::string adapter = CreateDevice({kAdapterId});
    std::string another = CreateDevice({kAdapterId});
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(RemoveDevicesWithHardwareId(Wow64Api(0), kAdapterId, 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IN_WOW64), GetLastError());
    EXPECT_EQ(2, refusals) << "every matching device was tried";
    EXPECT_TRUE(DeviceExists(adapter));
    EXPECT_TRUE(DeviceExists(another));
}

TEST_F(DeviceRemovalTest, ARefusalForOneDeviceDoesNotKeepTheOthers) {
    std::string first = CreateDevice({kAdapterId});
    std::string second = CreateDevice({kAdapterId});
    EXPECT_FALSE(RemoveDevicesWithHardwareId(Wow64Api(1), kAdapterId, 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_IN_WOW64), GetLastError()) << "the failure is not hidden by the later success";
    EXPECT_EQ(1, DeviceExists(first) + DeviceExists(second));
}

TEST_F(DeviceRemovalTest, TheWizardsRemovalStepUninstallsTheAdapterThroughTheInstalledLibrary) {
    wiztest::ScratchDir scratch;
    g_setup.setupCopyDir = scratch.Path().c_str();
    ASSERT_TRUE(CopyFileA((wiztest::BuildDir() + "\\payload\\DevAgent.dll").c_str(), (scratch / "DevAgent.dll").c_str(),
                          FALSE));
    std::string adapter = CreateDevice({kAdapterId});
    std::string otherDevice = CreateDevice({"PCI\\VEN_7A3C&DEV_0B53"});
    EXPECT_TRUE(RemoveAdapterDevice());
    EXPECT_FALSE(DeviceExists(adapter));
    EXPECT_TRUE(DeviceExists(otherDevice));
    EXPECT_TRUE(RemoveAdapterDevice()) << "no such device any more is no failure";
}

TEST_F(DeviceRemovalTest, UnderWow64TheAgentProgramRemovesWhatWindowsRefusesThisProcess) {
    if (!RunsUnderWow64(SystemDeviceApi()))
        GTEST_SKIP() << "32-bit Windows has no WOW64";
    AgentCopy agent;
    ASSERT_NE(nullptr, agent.Module());
    std::string adapter = CreateDevice({kAdapterId});
    std::string otherDevice = CreateDevice({"PCI\\VEN_7A3C&DEV_0B53"});
    DeviceApi api = WatchedApi(Wow64Api(0));

    SetLastError(0xdeadbeef);
    EXPECT_TRUE(RemoveDevicesAsAgent(api, agent.Module(), kAdapterId, 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    EXPECT_FALSE(DeviceExists(adapter));
    EXPECT_TRUE(DeviceExists(otherDevice));
    EXPECT_EQ(0, refusals) << "the refused call was not made in this process";
    EXPECT_EQ(1, starts.count);
    EXPECT_TRUE(starts.lastFileExisted);
    EXPECT_FALSE(starts.lastRanUnderWow64) << "the agent program ran as a 64-bit process";
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(starts.lastProcess, &flags)) << "the agent program's process handle was closed";
    EXPECT_FALSE(GetHandleInformation(starts.lastThread, &flags)) << "the agent program's thread handle was closed";

    EXPECT_FALSE(RemoveDevicesAsAgent(api, agent.Module(), kAdapterId, 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), GetLastError()) << "carried back by the exit code";
    EXPECT_EQ(2, starts.count);
    EXPECT_EQ(std::vector<std::string>({"DevAgent.dll"}), agent.FolderContents()) << "no agent program left behind";
}

TEST_F(DeviceRemovalTest, OnThirtyTwoBitWindowsTheRemovalStaysInThisProcess) {
    if (RunsUnderWow64(SystemDeviceApi()))
        GTEST_SKIP() << "64-bit Windows";
    AgentCopy agent;
    ASSERT_NE(nullptr, agent.Module());
    std::string adapter = CreateDevice({kAdapterId});
    DeviceApi api = WatchedApi(SystemDeviceApi());
    EXPECT_TRUE(RemoveDevicesAsAgent(api, agent.Module(), kAdapterId, 1));
    EXPECT_FALSE(DeviceExists(adapter));
    EXPECT_FALSE(RemoveDevicesAsAgent(api, agent.Module(), kAdapterId, 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), GetLastError());
    EXPECT_EQ(0, starts.count);
    EXPECT_EQ(std::vector<std::string>({"DevAgent.dll"}), agent.FolderContents()) << "no agent program written";
}

namespace {

// The file offset of a relative virtual address of a PE image read as a file.
size_t FileOffset(const std::vector<unsigned char>& image, const IMAGE_NT_HEADERS64* nt, DWORD rva) {
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (rva >= section->VirtualAddress && rva < section->VirtualAddress + section->SizeOfRawData)
            return rva - section->VirtualAddress + section->PointerToRawData;
    }
    return image.size();
}

std::vector<unsigned char> AgentResource(LPCSTR type, int id) {
    HMODULE library = LoadLibraryExA((wiztest::BuildDir() + "\\payload\\DevAgent.dll").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = library ? FindResourceA(library, MAKEINTRESOURCEA(id), type) : nullptr;
    std::vector<unsigned char> bytes;
    if (found) {
        const unsigned char* data = static_cast<const unsigned char*>(LockResource(LoadResource(library, found)));
        bytes.assign(data, data + SizeofResource(library, found));
    }
    if (library)
        FreeLibrary(library);
    return bytes;
}

}  // namespace

TEST(Wow64AgentProgram, IsAnX64ProgramImportingSystemDllsOnly) {
    std::vector<unsigned char> image = AgentResource(RT_RCDATA, DEVAGENT_WOW64_AGENT_RESOURCE);
    ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER));
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
    ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos->e_magic);
    ASSERT_LT(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64), image.size());
    const IMAGE_NT_HEADERS64* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
    ASSERT_EQ(static_cast<DWORD>(IMAGE_NT_SIGNATURE), nt->Signature);
    EXPECT_EQ(IMAGE_FILE_MACHINE_AMD64, nt->FileHeader.Machine);
    ASSERT_EQ(IMAGE_NT_OPTIONAL_HDR64_MAGIC, nt->OptionalHeader.Magic) << "PE32+";
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_CUI, nt->OptionalHeader.Subsystem);

    char systemFolder[MAX_PATH];
    ASSERT_NE(0u, GetSystemDirectoryA(systemFolder, MAX_PATH));
    size_t at = FileOffset(image, nt, nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    int imported = 0;
    for (; at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= image.size(); at += sizeof(IMAGE_IMPORT_DESCRIPTOR), ++imported) {
        const IMAGE_IMPORT_DESCRIPTOR* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(image.data() + at);
        if (!import->Name)
            break;
        size_t name = FileOffset(image, nt, import->Name);
        ASSERT_LT(name, image.size());
        std::string dll(reinterpret_cast<const char*>(image.data() + name));
        EXPECT_TRUE(wiztest::PathExists(std::string(systemFolder) + "\\" + dll)) << dll << " is no system DLL";
    }
    EXPECT_GT(imported, 1);
}

// What Explorer's Details tab shows of the library.
TEST(DevAgentLibrary, CarriesAVersionResource) {
    std::vector<unsigned char> version = AgentResource(RT_VERSION, 1);
    ASSERT_GT(version.size(), sizeof(VS_FIXEDFILEINFO));
    std::wstring text(reinterpret_cast<const wchar_t*>(version.data()), version.size() / sizeof(wchar_t));
    for (const wchar_t* item : {L"VS_VERSION_INFO", L"OriginalFilename", L"DevAgent.dll", L"FileVersion", L"1.0.0.0",
                                L"Kestrin Duoflex Wireless Adapter"})
        EXPECT_NE(std::wstring::npos, text.find(item));
}

namespace {

// Windows' refusal of device installation to a 32-bit process on 64-bit Windows.
BOOL WINAPI RefuseStagingAsUnderWow64(PCSTR, PCSTR, DWORD, DWORD, PSTR, DWORD, PDWORD, PSTR*) {
    ++refusals;
    SetLastError(ERROR_IN_WOW64);
    return FALSE;
}

BOOL WINAPI RefuseUpdateAsUnderWow64(HWND, LPCSTR, LPCSTR, DWORD, PBOOL) {
    ++refusals;
    SetLastError(ERROR_IN_WOW64);
    return FALSE;
}

DeviceApi Wow64InstallApi() {
    DeviceApi api = Wow64Api(0);
    api.copyOEMInf = RefuseStagingAsUnderWow64;
    api.updateDriver = RefuseUpdateAsUnderWow64;
    return api;
}

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::string InfText(const std::string& base) {
    std::vector<unsigned char> bytes = wiztest::ReadFileBytes(PayloadFile(base + ".inf"));
    return std::string(bytes.begin(), bytes.end());
}

// The package and DevicePath as the wizard leaves them, the devices, the driver
// store and the driver's file put back at the end.
class DeviceInstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (REGSAM view : {NativeView(), RedirectedView()})
            savedPaths.push_back(SaveValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "DevicePath", view));
        DeleteFileA(SysFile().c_str());
        wiztest::DeleteStagedProductPackages();
    }
    void TearDown() override {
        devices.RemoveAll();
        RestoreValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "DevicePath", savedPaths[0], NativeView());
        RestoreValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "DevicePath", savedPaths[1], RedirectedView());
        for (const std::string& inf : madeInfs)
            wiztest::DeleteStagedCopies(inf);
    }

    // The package EnumerateDevice installs in this prefix: the 64-bit one on 64-bit Windows.
    static std::string PrefixPackage() { return wiztest::Is64BitPrefix() ? "vxa3864" : "vxa38"; }
    static std::string SysFile() { return wiztest::NativeDriversFolder() + "\\" + PrefixPackage() + ".sys"; }

    // A folder in scratch holding the built package base.*, its INF text as given.
    std::string MakePackage(const std::string& folderName, const std::string& base, const std::string& infText) {
        std::string folder = scratch / folderName;
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        for (const char* extension : {".cat", ".sys"})
            EXPECT_TRUE(CopyFileA(PayloadFile(base + extension).c_str(), (folder + "\\" + base + extension).c_str(), FALSE));
        EXPECT_TRUE(wiztest::WriteTextFile(folder + "\\" + base + ".inf", infText));
        madeInfs.push_back(folder + "\\" + base + ".inf");
        return folder;
    }
    std::string MakePackage(const std::string& folderName) {
        return MakePackage(folderName, PrefixPackage(), InfText(PrefixPackage()));
    }
    static void SetDevicePath(const std::string& value, REGSAM view, DWORD type = REG_EXPAND_SZ) {
        SavedValue saved;
        saved.present = true;
        saved.type = type;
        saved.data.assign(value.begin(), value.end());
        saved.data.push_back('\0');
        RestoreValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "DevicePath", saved, view);
    }
    // The agent's entry points, from a copy of the payload's DevAgent.dll.
    BOOL Enumerate() { return EntryPoint<EnumerateDeviceFn>(agent.Module(), "EnumerateDevice")(); }
    BOOL Remove(DWORD flags) { return EntryPoint<RemoveDeviceFn>(agent.Module(), "RemoveDevice")(kAdapterId, flags); }
    static std::vector<std::string> StagedPackages() { return wiztest::StagedInfsContaining("VEN_7A3C&DEV_0B52"); }

    wiztest::ScratchDir scratch;
    wiztest::TestDevices devices;
    AgentCopy agent;
    std::vector<SavedValue> savedPaths;
    std::vector<std::string> madeInfs;
};

void ExpectInstalledFromTheStore(const wiztest::DeviceDriver& driver, const std::string& service) {
    EXPECT_FALSE(driver.driverKey.empty()) << wiztest::Describe(driver);
    EXPECT_EQ(service, driver.service) << wiztest::Describe(driver);
    ASSERT_FALSE(driver.infPath.empty()) << wiztest::Describe(driver);
    std::vector<std::string> staged = wiztest::StagedInfsContaining("VEN_7A3C&DEV_0B52");
    EXPECT_NE(staged.end(), std::find(staged.begin(), staged.end(), driver.infPath)) << driver.infPath;
}

}  // namespace

TEST_F(DeviceInstallTest, APresentAdapterGetsItsDriverAndRemovalTakesDriverAndPackageAway) {
    SetDevicePath(MakePackage("Kestrin Duoflex") + ";%SystemRoot%\\inf", NativeView());
    std::string adapter = devices.CreateDevice({kAdapterId});
    ASSERT_NE(nullptr, agent.Module());
    SetLastError(0xdeadbeef);
    EXPECT_TRUE(Enumerate());
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    wiztest::DeviceDriver installed = wiztest::ReadDeviceDriver(adapter);
    std::cout << "[" << wiztest::PrefixName() << "] after installation: " << wiztest::Describe(installed) << "\n";
    ExpectInstalledFromTheStore(installed, PrefixPackage());
    EXPECT_TRUE(wiztest::PathExists(SysFile())) << "in the native system32\\drivers";

    EXPECT_TRUE(Remove(1));
    std::cout << "[" << wiztest::PrefixName() << "] after removal: " << wiztest::Describe(wiztest::ReadDeviceDriver(adapter))
              << "; staged INFs listing the id: " << StagedPackages().size() << "\n";
    EXPECT_FALSE(DeviceExists(adapter));
    EXPECT_TRUE(StagedPackages().empty()) << "a re-plugged adapter would get the driver back";
}

TEST_F(DeviceInstallTest, UnderWow64TheAgentProgramInstallsWhatWindowsRefusesThisProcess) {
    if (!RunsUnderWow64(SystemDeviceApi()))
        GTEST_SKIP() << "32-bit Windows has no WOW64";
    SetDevicePath(MakePackage("Kestrin Duoflex") + ";%SystemRoot%\\inf", NativeView());
    std::string adapter = devices.CreateDevice({kAdapterId});
    DeviceApi api = WatchedApi(Wow64InstallApi());
    EXPECT_TRUE(InstallDriverAsAgent(api, agent.Module()));
    EXPECT_EQ(0, refusals) << "the refused calls were not made in this process";
    EXPECT_EQ(1, starts.count);
    EXPECT_FALSE(starts.lastRanUnderWow64) << "the agent program ran as a 64-bit process";
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(starts.lastProcess, &flags)) << "the agent program's process handle was closed";
    EXPECT_FALSE(GetHandleInformation(starts.lastThread, &flags)) << "the agent program's thread handle was closed";
    ExpectInstalledFromTheStore(wiztest::ReadDeviceDriver(adapter), "vxa3864");
    EXPECT_TRUE(wiztest::PathExists(SysFile()));
}

TEST_F(DeviceInstallTest, WithoutAnAdapterThePackageIsStagedOnceAndRemovalDeletesIt) {
    SetDevicePath(MakePackage("Kestrin Duoflex") + ";%SystemRoot%\\inf", NativeView());
    EXPECT_TRUE(Enumerate()) << "the store serves an adapter plugged in later";
    EXPECT_EQ(1u, StagedPackages().size());
    EXPECT_TRUE(Enumerate()) << "a repair";
    EXPECT_EQ(1u, StagedPackages().size()) << "no second copy";
    EXPECT_FALSE(Remove(1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), GetLastError());
    EXPECT_TRUE(StagedPackages().empty());
}

TEST_F(DeviceInstallTest, AnUpgradedPackageIsStagedBesideTheOldAndInstalledOnThePresentAdapter) {
    std::string adapter = devices.CreateDevice({kAdapterId});
    SetDevicePath(MakePackage("Kestrin Duoflex") + ";%SystemRoot%\\inf", NativeView());
    ASSERT_TRUE(Enumerate());
    std::string first = wiztest::ReadDeviceDriver(adapter).infPath;
    std::string newer = Replaced(InfText(PrefixPackage()), "1.0.38.0", "1.0.39.0");
    SetDevicePath(MakePackage("Newer", PrefixPackage(), newer) + ";%SystemRoot%\\inf", NativeView());
    EXPECT_TRUE(Enumerate());
    std::string second = wiztest::ReadDeviceDriver(adapter).infPath;
    EXPECT_NE(first, second);
    EXPECT_EQ(2u, StagedPackages().size());
    EXPECT_TRUE(Remove(1));
    EXPECT_TRUE(StagedPackages().empty()) << "the earlier version's package goes too";
}

TEST_F(DeviceInstallTest, AnotherVendorsPackageForTheAdapterIsNeitherStagedNorDeleted) {
    std::string base = PrefixPackage();
    std::string foreign = Replaced(Replaced(InfText(base), "Provider    = %Orvel%", "Provider    = \"Other Vendor\""),
                                   "CatalogFile = " + base + ".cat", "CatalogFile = " + base + "x.cat");
    ASSERT_NE(InfText(base), foreign);
    std::string foreignFolder = MakePackage("Other", base, foreign);
    ASSERT_TRUE(CopyFileA(PayloadFile(base + ".cat").c_str(), (foreignFolder + "\\" + base + "x.cat").c_str(), FALSE));
    // Staged by its own setup under its own name, as another product would.
    ASSERT_TRUE(CopyFileA((foreignFolder + "\\" + base + ".inf").c_str(), (foreignFolder + "\\other.inf").c_str(), FALSE));
    madeInfs.push_back(foreignFolder + "\\other.inf");
    char staged[MAX_PATH] = "";
    ASSERT_TRUE(SetupCopyOEMInfA((foreignFolder + "\\other.inf").c_str(), nullptr, SPOST_PATH, 0, staged, MAX_PATH,
                                 nullptr, nullptr));

    // The other vendor's folder comes first on the search list.
    SetDevicePath(foreignFolder + ";" + MakePackage("Kestrin Duoflex") + ";%SystemRoot%\\inf", NativeView());
    std::string adapter = devices.CreateDevice({kAdapterId});
    EXPECT_TRUE(Enumerate());
    std::string infPath = wiztest::ReadDeviceDriver(adapter).infPath;
    ASSERT_FALSE(infPath.empty());
    EXPECT_TRUE(wiztest::ReadFileBytes(wiztest::WindowsInfFolder() + "\\" + infPath) ==
                wiztest::ReadFileBytes(scratch / ("Kestrin Duoflex\\" + base + ".inf")));
    EXPECT_TRUE(Remove(1));
    EXPECT_TRUE(wiztest::PathExists(staged)) << "not the product's package";
    EXPECT_EQ(1u, StagedPackages().size());
}

// The search list and the INFs on it are read as input like any other; the
// test process reads them in its own registry view for its own platform (x86).
TEST_F(DeviceInstallTest, TheSearchListAndItsInfsAreCheckedBeforeAnythingIsStaged) {
    char path[MAX_PATH];
    RestoreValue(HKEY_LOCAL_MACHINE, kCurrentVersion, "DevicePath", SavedValue());
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), FindPackageOnSearchPath(path)) << "missing";
    SetDevicePath("1234", 0, REG_BINARY);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA), FindPackageOnSearchPath(path)) << "no string";
    SetDevicePath(std::string(40000, 'x'), 0);
    EXPECT_EQ(static_cast<DWORD>(ERROR_MORE_DATA), FindPackageOnSearchPath(path)) << "over-long";
    SetDevicePath("C:\\absent;relative\\folder;;   ;" + std::string(300, 'y') + ";%SystemRoot%\\inf", 0);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), FindPackageOnSearchPath(path)) << "no folder holds it";

    std::string huge = MakePackage("Huge", "vxa38", InfText("vxa38") + std::string(2 * 1024 * 1024, ';'));
    std::string amd64 = MakePackage("Amd64", "vxa3864", InfText("vxa3864"));
    std::string garbage = MakePackage("Garbage", "vxa38", std::string("\xff\xfe[Version\0\x01", 12) + "=;=;[[");
    SetDevicePath(huge + ";" + amd64 + ";" + garbage, 0);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_TOO_LARGE), FindPackageOnSearchPath(path));
    std::string good = MakePackage("Good", "vxa38", InfText("vxa38"));
    SetDevicePath(huge + ";" + amd64 + ";" + garbage + ";" + good + "\\", 0);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), FindPackageOnSearchPath(path));
    EXPECT_EQ(good + "\\vxa38.inf", std::string(path));
}

// The library's own rules for the product's INF, which the build's package
// check holds every package to: tests/driver/package_check_test.py gives the
// check the same cases, and the two must answer alike.
TEST_F(DeviceInstallTest, TheLibraryTakesAnInfByTheRulesThePackageCheckEnforces) {
    struct Case {
        const char *from, *to;
        DWORD expected;
    };
    const Case cases[] = {
        {"Orvel               = \"Orvel\"", "Orvel               = \"Orvel Networks Inc.\"", ERROR_NOT_FOUND},
        {"Provider    = %Orvel%", "Provider    = \"Orvel\", \"Networks\"", ERROR_NOT_FOUND},
        {"Provider    = %Orvel%\r\n", "", ERROR_NOT_FOUND},
        {"CatalogFile = vxa38.cat", "CatalogFile.NTx86 = vxa38.cat", ERROR_NOT_FOUND},
        {"CatalogFile = vxa38.cat", "CatalogFile.NTx86 = vxa38.cat\r\nCatalogFile = vxa3864.cat", ERROR_NOT_FOUND},
        {"Orvel               = \"Orvel\"", "Orvel               = \"ORVEL\"", ERROR_SUCCESS},
        {"Provider    = %Orvel%", "Provider    = orvel", ERROR_SUCCESS},
        {"CatalogFile = vxa38.cat", "CatalogFile.NTx86 = VXA38.CAT\r\nCatalogFile = vxa38.cat", ERROR_SUCCESS},
    };
    int made = 0;
    for (const Case& c : cases) {
        std::string text = Replaced(InfText("vxa38"), c.from, c.to);
        ASSERT_NE(InfText("vxa38"), text) << c.from;
        std::string folder = MakePackage("Case " + std::to_string(++made), "vxa38", text);
        EXPECT_EQ(c.expected, CheckProductInf((folder + "\\vxa38.inf").c_str(), "vxa38.inf", kAdapterHardwareId,
                                              "NTx86"))
            << c.to;
    }
}
