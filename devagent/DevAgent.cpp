// The device-install library's entry points; the work is in DevAgentCore, and
// under WOW64 in the 64-bit agent program it carries (DevAgentWow64.h).
#define DEVAGENT_BUILD
#include "DevAgent.h"

#include "DevAgentCore.h"
#include "DevAgentWow64.h"

namespace {
HMODULE g_agent = nullptr;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_agent = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" BOOL WINAPI EnumerateDevice(void) { return InstallDriverAsAgent(SystemDeviceApi(), g_agent); }

extern "C" BOOL WINAPI RemoveDevice(const char* hardwareId, DWORD flags) {
    return RemoveDevicesAsAgent(SystemDeviceApi(), g_agent, hardwareId, flags);
}
