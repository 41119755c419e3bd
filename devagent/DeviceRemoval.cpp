// Uninstalling the devices of a hardware id and, on request, the product's
// packages from the driver store.
#include "DeviceRemoval.h"

#include "DevAgent.h"
#include "DriverStore.h"

namespace {

struct RemovalTally {
    DWORD matched;
    DWORD firstError;
};

void RemoveOne(const DeviceApi& api, HDEVINFO devices, SP_DEVINFO_DATA& device, RemovalTally& tally) {
    ++tally.matched;
    // Without class-install parameters DIF_REMOVE removes the device from
    // every hardware profile, which is what uninstalling it means.
    ::SetLastError(ERROR_SUCCESS);
    if (api.callClassInstaller(DIF_REMOVE, devices, &device))
        return;
    DWORD error = LastErrorOr(ERROR_GEN_FAILURE);
    if (tally.firstError == ERROR_SUCCESS)
        tally.firstError = error;
}

DWORD CountDevices(HDEVINFO devices) {
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    DWORD count = 0;
    while (::SetupDiEnumDeviceInfo(devices, count, &device))
        ++count;
    return count;
}

RemovalTally RemoveMatching(const DeviceApi& api, HDEVINFO devices, const char* hardwareId) {
    RemovalTally tally = {0, ERROR_SUCCESS};
    // From the last element down: a removal that takes its element out of the
    // set moves only the elements already dealt with.
    for (DWORD index = CountDevices(devices); index-- > 0;) {
        SP_DEVINFO_DATA device;
        device.cbSize = sizeof(device);
        if (!::SetupDiEnumDeviceInfo(devices, index, &device))
            continue;
        if (HasHardwareId(devices, device, hardwareId))
            RemoveOne(api, devices, device, tally);
    }
    return tally;
}

}  // namespace

BOOL RemoveDevicesWithHardwareId(const DeviceApi& api, const char* hardwareId, DWORD flags) {
    if (!hardwareId || !*hardwareId || (flags & ~DEVAGENT_REMOVE_ALL))
        return Answer(ERROR_INVALID_PARAMETER);
    DWORD scope = DIGCF_ALLCLASSES | ((flags & DEVAGENT_REMOVE_ALL) ? 0 : DIGCF_PRESENT);
    RemovalTally tally = {0, ERROR_SUCCESS};
    {  // destroyed before the answer's last error is set
        UniqueDeviceInfoSet devices(api.getClassDevs(nullptr, nullptr, nullptr, scope));
        if (!devices)
            return Answer(LastErrorOr(ERROR_GEN_FAILURE));
        tally = RemoveMatching(api, devices.Get(), hardwareId);
    }
    // A device that stays keeps the package it was installed from.
    if (tally.firstError != ERROR_SUCCESS)
        return Answer(tally.firstError);
    if (flags & DEVAGENT_REMOVE_ALL) {
        DWORD deleted = DeleteProductPackages(api, hardwareId);
        if (deleted != ERROR_SUCCESS)
            return Answer(deleted);
    }
    return Answer(tally.matched == 0 ? ERROR_NO_SUCH_DEVINST : ERROR_SUCCESS);
}
