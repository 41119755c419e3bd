// DevAgent.dll's device removal against devices made in the prefix's own
// device tree, and the WOW64 refusal that only Windows makes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DevAgent.h"
#include "DevAgentCore.h"
#include "EngineTestSupport.h"
#include "app/SetupState.h"
#include "engine/wizInstall.h"

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
    HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
    SP_DEVINFO_DATA device;
    bool exists = OpenDevice(set, instanceId, &device);
    SetupDiDestroyDeviceInfoList(set);
    return exists;
}

// Root-enumerated devices made for a test, all removed again at its end.
class DeviceRemovalTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveTestDevices(); }
    void TearDown() override { RemoveTestDevices(); }

    std::string CreateDevice(const std::vector<std::string>& hardwareIds) {
        HDEVINFO set = SetupDiCreateDeviceInfoList(&kNetClass, nullptr);
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
        SetupDiDestroyDeviceInfoList(set);
        EXPECT_TRUE(made) << GetLastError();
        EXPECT_TRUE(DeviceExists(instanceId)) << instanceId;
        return instanceId;
    }

    static void RemoveTestDevices() {
        HDEVINFO set = SetupDiGetClassDevsA(nullptr, "ROOT", nullptr, DIGCF_ALLCLASSES);
        if (set == INVALID_HANDLE_VALUE)
            return;
        std::string prefix = std::string("ROOT\\") + kDeviceName + "\\";
        SP_DEVINFO_DATA device;
        device.cbSize = sizeof(device);
        for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
            char instanceId[MAX_DEVICE_ID_LEN] = "";
            SetupDiGetDeviceInstanceIdA(set, &device, instanceId, sizeof(instanceId), nullptr);
            if (_strnicmp(instanceId, prefix.c_str(), prefix.size()) == 0)
                SetupDiRemoveDevice(set, &device);
        }
        SetupDiDestroyDeviceInfoList(set);
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

}  // namespace

TEST_F(DeviceRemovalTest, RemoveDeviceUninstallsEveryDeviceWithTheHardwareId) {
    std::string adapter = CreateDevice({kAdapterId});
    std::string listedSecond = CreateDevice({"PCI\\VEN_7A3C&DEV_0B52&SUBSYS_00011234", "pci\\ven_7a3c&dev_0b52"});
    std::string otherDevice = CreateDevice({"PCI\\VEN_7A3C&DEV_0B53"});
    std::string longerId = CreateDevice({"PCI\\VEN_7A3C&DEV_0B52&REV_01"});

    HMODULE library = LoadAgent();
    ASSERT_NE(nullptr, library);
    RemoveDeviceFn remove =
        reinterpret_cast<RemoveDeviceFn>(reinterpret_cast<void*>(GetProcAddress(library, "RemoveDevice")));
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
    EXPECT_TRUE(RemoveAdapterDevice()) << "the entry point was found; the library's own answer does not count";
}
