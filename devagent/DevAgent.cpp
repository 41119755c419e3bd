// The device-install library's entry points; the work is in DevAgentCore.
#define DEVAGENT_BUILD
#include "DevAgent.h"

#include "DevAgentCore.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        ::DisableThreadLibraryCalls(instance);
    return TRUE;
}

extern "C" BOOL WINAPI EnumerateDevice(void) { return ReenumerateDeviceTree(SystemDeviceApi()); }

extern "C" BOOL WINAPI RemoveDevice(const char* hardwareId, DWORD flags) {
    return RemoveDevicesWithHardwareId(SystemDeviceApi(), hardwareId, flags);
}
