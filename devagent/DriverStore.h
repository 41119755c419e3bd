#pragma once
// The product's driver package on the driver search path and in the driver
// store: finding, staging and installing it (EnumerateDevice, DevAgent.h),
// and deleting it again. The rules that make an INF the product's are in
// DriverPackage.h.
#include "DriverPackage.h"

// EnumerateDevice's work in this process.
BOOL InstallAdapterDriver(const DeviceApi& api);

// Deletes from the driver store (%windir%\inf) every package of the product
// that lists hardwareId, for any platform. ERROR_SUCCESS when none is left;
// otherwise the error of the first that could not be deleted (the others
// were still tried).
DWORD DeleteProductPackages(const DeviceApi& api, const char* hardwareId);

// The first folder of the DevicePath value holding the product's INF for
// this process's platform; path receives the INF's full path (MAX_PATH).
// ERROR_SUCCESS, or the errors EnumerateDevice documents for the search list.
DWORD FindPackageOnSearchPath(char* path);
