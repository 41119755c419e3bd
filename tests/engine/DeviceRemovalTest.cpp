// DevAgent.dll's device removal against devices made in the prefix's own
// device tree, and the WOW64 refusal that only Windows makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DevAgent.h"
#include "DevAgentCore.h"
#include "DevAgentWow64.h"
#include "EngineTestSupport.h"
#include "engine/wizInstall.h"
#include "state/SetupState.h"

using namespace enginetest;

namespace {

const GUID kNetClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
const char kDeviceName[] = "WIZTESTNET";
const char kAdapterId[] = "PCI\\VEN_7A3C&DEV_0B52";

bool OpenDevice(HDEVINFO set, const std::string& instanceId, SP_DEVINFO_DATA* device) {
    device->cbSize = sizeof(*device);
    return SetupDiOpenDeviceInfoA(set, instanceId.c_str(), nullptr, 0, device) != FALSE;
}

bool DeviceExists(const std::string& instanceId) {
    UniqueDeviceInfoSet set(SetupDiCreateDeviceInfoList(nullptr, nullptr));
    SP_DEVINFO_DATA device;
    return OpenDevice(set.Get(), instanceId, &device);
}

// Root-enumerated devices made for a test, all removed again at its end.
class DeviceRemovalTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveTestDevices(); }
    void TearDown() override { RemoveTestDevices(); }

    std::string CreateDevice(const std::vector<std::string>& hardwareIds) {
        UniqueDeviceInfoSet owner(SetupDiCreateDeviceInfoList(&kNetClass, nullptr));
        HDEVINFO set = owner.Get();
        SP_DEVINFO_DATA device;
        device.cbSize = sizeof(device);
        std::string ids;
        for (const std::string& id : hardwareIds)
            ids += id + '\0';
        ids += '\0';
        char instanceId[MAX_DEVICE_ID_LEN] = "";
        bool made =
            SetupDiCreateDeviceInfoA(set, kDeviceName, &kNetClass, nullptr, nullptr, DICD_GENERATE_ID, &device) &&
            SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(ids.data()),
                                              static_cast<DWORD>(ids.size())) &&
            SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr) &&
            SetupDiGetDeviceInstanceIdA(set, &device, instanceId, sizeof(instanceId), nullptr);
        EXPECT_TRUE(made) << GetLastError();
        EXPECT_TRUE(DeviceExists(instanceId)) << instanceId;
        return instanceId;
    }

    static void RemoveTestDevices() {
        UniqueDeviceInfoSet owner(SetupDiGetClassDevsA(nullptr, "ROOT", nullptr, DIGCF_ALLCLASSES));
        if (!owner)
            return;
        HDEVINFO set = owner.Get();
        std::string prefix = std::string("ROOT\\") + kDeviceName + "\\";
        SP_DEVINFO_DATA device;
        device.cbSize = sizeof(device);
        for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
            char instanceId[MAX_DEVICE_ID_LEN] = "";
            SetupDiGetDeviceInstanceIdA(set, &device, instanceId, sizeof(instanceId), nullptr);
            if (_strnicmp(instanceId, prefix.c_str(), prefix.size()) == 0)
                SetupDiRemoveDevice(set, &device);
        }
    }

    static HMODULE LoadAgent() { return LoadLibraryA((wiztest::BuildDir() + "\\payload\\DevAgent.dll").c_str()); }
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

// The helper's starts, watched through the table's process call.
struct HelperStarts {
    int count = 0;
    bool lastRanUnderWow64 = true;
    bool lastFileExisted = false;
};
HelperStarts starts;

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
    return made;
}

DeviceApi WatchedApi(const DeviceApi& base) {
    starts = HelperStarts();
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

TEST_F(DeviceRemovalTest, UnderWow64TheHelperRemovesWhatWindowsRefusesThisProcess) {
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
    EXPECT_FALSE(starts.lastRanUnderWow64) << "the helper ran as a 64-bit process";

    EXPECT_FALSE(RemoveDevicesAsAgent(api, agent.Module(), kAdapterId, 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_SUCH_DEVINST), GetLastError()) << "carried back by the exit code";
    EXPECT_EQ(2, starts.count);
    EXPECT_EQ(std::vector<std::string>({"DevAgent.dll"}), agent.FolderContents()) << "no helper left behind";
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
    EXPECT_EQ(std::vector<std::string>({"DevAgent.dll"}), agent.FolderContents()) << "no helper written";
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

TEST(DeviceHelper, IsAnX64ProgramImportingSystemDllsOnly) {
    std::vector<unsigned char> image = AgentResource(RT_RCDATA, DEVAGENT_HELPER_RESOURCE);
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
