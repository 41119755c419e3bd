#include "support/TestDevices.h"

#include <setupapi.h>
#include <cfgmgr32.h>
#include <string.h>

#include <gtest/gtest.h>

#include "fw/UniqueHandle.h"
#include "support/TestSupport.h"

namespace wiztest {

namespace {

const GUID kNetClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
const char kDeviceName[] = "WIZTESTNET";

struct DeviceSetTraits {
    using Handle = HDEVINFO;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { SetupDiDestroyDeviceInfoList(h); }
};
using DeviceSet = UniqueHandle<DeviceSetTraits>;

bool OpenDevice(HDEVINFO set, const std::string& instanceId, SP_DEVINFO_DATA* device) {
    device->cbSize = sizeof(*device);
    return SetupDiOpenDeviceInfoA(set, instanceId.c_str(), nullptr, 0, device) != FALSE;
}

std::string StringProperty(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property) {
    char value[512] = "";
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, property, nullptr, reinterpret_cast<BYTE*>(value),
                                           sizeof(value) - 1, nullptr))
        return std::string();
    return value;
}

std::string StringValue(HKEY key, const char* name) {
    char value[MAX_PATH] = "";
    DWORD size = sizeof(value) - 1;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        return std::string();
    return value;
}

// The version field of the INF's [Version] DriverVer, as SetupAPI reads it.
std::string InfDriverVersion(const std::string& path) {
    HINF inf = SetupOpenInfFileA(path.c_str(), nullptr, INF_STYLE_WIN4, nullptr);
    if (inf == INVALID_HANDLE_VALUE)
        return std::string();
    INFCONTEXT line;
    char version[64] = "";
    if (!SetupFindFirstLineA(inf, "Version", "DriverVer", &line) ||
        !SetupGetStringFieldA(&line, 2, version, sizeof(version), nullptr))
        version[0] = '\0';
    SetupCloseInfFile(inf);
    return version;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

TestDevices::TestDevices() { RemoveAll(); }
TestDevices::~TestDevices() { RemoveAll(); }

std::string TestDevices::CreateDevice(const std::vector<std::string>& hardwareIds) {
    DeviceSet owner(SetupDiCreateDeviceInfoList(&kNetClass, nullptr));
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    std::string ids;
    for (const std::string& id : hardwareIds)
        ids += id + '\0';
    ids += '\0';
    char instanceId[MAX_DEVICE_ID_LEN] = "";
    bool made = SetupDiCreateDeviceInfoA(owner.Get(), kDeviceName, &kNetClass, nullptr, nullptr, DICD_GENERATE_ID,
                                         &device) &&
                SetupDiSetDeviceRegistryPropertyA(owner.Get(), &device, SPDRP_HARDWAREID,
                                                  reinterpret_cast<const BYTE*>(ids.data()),
                                                  static_cast<DWORD>(ids.size())) &&
                SetupDiRegisterDeviceInfo(owner.Get(), &device, 0, nullptr, nullptr, nullptr) &&
                SetupDiGetDeviceInstanceIdA(owner.Get(), &device, instanceId, sizeof(instanceId), nullptr);
    EXPECT_TRUE(made) << GetLastError();
    EXPECT_TRUE(DeviceExists(instanceId)) << instanceId;
    return instanceId;
}

void TestDevices::RemoveAll() {
    DeviceSet owner(SetupDiGetClassDevsA(nullptr, "ROOT", nullptr, DIGCF_ALLCLASSES));
    if (!owner)
        return;
    std::string prefix = std::string("ROOT\\") + kDeviceName + "\\";
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(owner.Get(), index, &device); ++index) {
        char instanceId[MAX_DEVICE_ID_LEN] = "";
        SetupDiGetDeviceInstanceIdA(owner.Get(), &device, instanceId, sizeof(instanceId), nullptr);
        if (_strnicmp(instanceId, prefix.c_str(), prefix.size()) == 0)
            SetupDiRemoveDevice(owner.Get(), &device);
    }
}

bool DeviceExists(const std::string& instanceId) {
    DeviceSet set(SetupDiCreateDeviceInfoList(nullptr, nullptr));
    SP_DEVINFO_DATA device;
    return OpenDevice(set.Get(), instanceId, &device);
}

DeviceDriver ReadDeviceDriver(const std::string& instanceId) {
    DeviceDriver driver;
    DeviceSet set(SetupDiCreateDeviceInfoList(nullptr, nullptr));
    SP_DEVINFO_DATA device;
    if (!OpenDevice(set.Get(), instanceId, &device))
        return driver;
    driver.found = true;
    driver.driverKey = StringProperty(set.Get(), &device, SPDRP_DRIVER);
    driver.service = StringProperty(set.Get(), &device, SPDRP_SERVICE);
    HKEY key = SetupDiOpenDevRegKey(set.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_QUERY_VALUE);
    if (key != reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE)) {
        driver.infPath = StringValue(key, "InfPath");
        driver.driverVersion = StringValue(key, "DriverVersion");
        RegCloseKey(key);
    }
    if (driver.driverVersion.empty() && !driver.infPath.empty())
        driver.driverVersion = InfDriverVersion(WindowsInfFolder() + "\\" + driver.infPath);
    return driver;
}

std::string Describe(const DeviceDriver& driver) {
    if (!driver.found)
        return "no such device";
    return "SPDRP_DRIVER=\"" + driver.driverKey + "\" service=\"" + driver.service + "\" InfPath=\"" +
           driver.infPath + "\" DriverVersion=\"" + driver.driverVersion + "\"";
}

std::string WindowsInfFolder() {
    char windows[MAX_PATH] = "";
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\inf";
}

std::string NativeDriversFolder() {
    char windows[MAX_PATH] = "";
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    return std::string(windows) + (wow64 ? "\\sysnative\\drivers" : "\\system32\\drivers");
}

std::vector<std::string> StagedInfsContaining(const std::string& text) {
    std::vector<std::string> names;
    std::string folder = WindowsInfFolder();
    for (const std::string& name : ListFiles(folder)) {
        if (name.size() < 4 || Lower(name.substr(name.size() - 4)) != ".inf")
            continue;
        std::vector<unsigned char> bytes = ReadFileBytes(folder + "\\" + name);
        if (Lower(std::string(bytes.begin(), bytes.end())).find(Lower(text)) != std::string::npos)
            names.push_back(name);
    }
    return names;
}

void DeleteStagedCopies(const std::string& path) {
    std::vector<unsigned char> package = ReadFileBytes(path);
    std::string folder = WindowsInfFolder();
    for (const std::string& name : ListFiles(folder)) {
        if (name.size() < 4 || Lower(name.substr(name.size() - 4)) != ".inf" ||
            ReadFileBytes(folder + "\\" + name) != package)
            continue;
        DeleteFileA((folder + "\\" + name).c_str());
        DeleteFileA((folder + "\\" + name.substr(0, name.size() - 4) + ".pnf").c_str());
    }
}

void DeleteStagedProductPackages() {
    for (const char* inf : {"vxa38.inf", "vxa3864.inf"})
        DeleteStagedCopies(BuildDir() + "\\payload\\" + inf);
}

}  // namespace wiztest
