#pragma once
// Root-enumerated devices made in the prefix's own device tree for a test (as
// Plug and Play would report the adapter), what SetupAPI tells of them, and
// the driver store (%windir%\inf) as the tests read it.
#include <windows.h>

#include <string>
#include <vector>

namespace wiztest {

const char kAdapterId[] = "PCI\\VEN_7A3C&DEV_0B52";

// Devices made by CreateDevice, all removed again when this goes (and when it
// is made, in case a test before it ended early).
class TestDevices {
public:
    TestDevices();
    ~TestDevices();
    TestDevices(const TestDevices&) = delete;
    TestDevices& operator=(const TestDevices&) = delete;
    // A device of the network class with these hardware ids; its instance id.
    std::string CreateDevice(const std::vector<std::string>& hardwareIds);
    static void RemoveAll();
};

bool DeviceExists(const std::string& instanceId);

// What SetupAPI tells of a device's driver: its driver key (SPDRP_DRIVER), its
// service (SPDRP_SERVICE), the INF it was installed from (InfPath of the
// driver key) and that driver's version (DriverVersion of the driver key, or,
// as Wine writes none, the DriverVer of the INF in %windir%\inf that InfPath
// names); empty where there is none.
struct DeviceDriver {
    bool found = false;
    std::string driverKey, service, infPath, driverVersion;
};
DeviceDriver ReadDeviceDriver(const std::string& instanceId);
std::string Describe(const DeviceDriver& driver);

// %windir%\inf, and the native system32\drivers (also from a 32-bit process).
std::string WindowsInfFolder();
std::string NativeDriversFolder();
// The names of the INFs in %windir%\inf whose text holds `text` (case ignored).
std::vector<std::string> StagedInfsContaining(const std::string& text);
// Deletes from %windir%\inf every INF with the same bytes as the file at path
// (and its precompiled .pnf): the store as if that package was never staged.
void DeleteStagedCopies(const std::string& path);
// The same for the product's packages as built: what installations left.
void DeleteStagedProductPackages();

}  // namespace wiztest
