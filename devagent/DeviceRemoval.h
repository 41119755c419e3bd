#pragma once
// What RemoveDevice does (DevAgent.h): uninstalling every device with a
// hardware id and, with DEVAGENT_REMOVE_ALL, the product's packages from the
// driver store.
#include "DevAgentCore.h"

BOOL RemoveDevicesWithHardwareId(const DeviceApi& api, const char* hardwareId, DWORD flags);
