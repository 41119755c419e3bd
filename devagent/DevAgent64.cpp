// The 64-bit agent program that DevAgent.dll carries for 64-bit Windows, where a
// 32-bit process may not install or remove devices. It does the same device
// work in its own process; the exit code is the result: 0 when done, the
// Win32 error otherwise.
//   DevAgent64.exe remove <flags> <hardware id>
//   DevAgent64.exe install
#include <string.h>

#include "DeviceRemoval.h"
#include "DriverStore.h"

namespace {

DWORD ResultOf(BOOL done) { return done ? ERROR_SUCCESS : LastErrorOr(ERROR_GEN_FAILURE); }

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "install") == 0)
        return static_cast<int>(ResultOf(InstallAdapterDriver(SystemDeviceApi())));
    if (argc == 4 && strcmp(argv[1], "remove") == 0) {
        // DevAgent.dll passes the flags it accepts, 0 or 1.
        if ((argv[2][0] != '0' && argv[2][0] != '1') || argv[2][1] != '\0')
            return ERROR_INVALID_PARAMETER;
        DWORD flags = static_cast<DWORD>(argv[2][0] - '0');
        return static_cast<int>(ResultOf(RemoveDevicesWithHardwareId(SystemDeviceApi(), argv[3], flags)));
    }
    return ERROR_INVALID_PARAMETER;
}
