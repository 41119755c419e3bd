#pragma once
// The device-install library "DevAgent.dll": the setup extracts it next to its
// own copy, loads it by full path and calls these two entry points, exported
// under their plain names.
#include <windows.h>

// Enumerates devices again so that Windows installs a present adapter from the
// driver package found on the driver search path.
typedef BOOL(WINAPI* EnumerateDeviceFn)(void);
// Uninstalls every device with the given hardware id; the setup passes 1 as flags.
typedef BOOL(WINAPI* RemoveDeviceFn)(const char* hardwareId, DWORD flags);

#ifdef DEVAGENT_BUILD
extern "C" {
BOOL WINAPI EnumerateDevice(void);
BOOL WINAPI RemoveDevice(const char* hardwareId, DWORD flags);
}
#endif
