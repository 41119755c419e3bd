#pragma once
// The device-install library "DevAgent.dll": the setup extracts it next to its
// own copy, loads it by full path and calls these two entry points, exported
// under their plain names. Both answer TRUE only when the work was done; on
// FALSE, GetLastError tells why.
#include <windows.h>

// Asks the configuration manager to enumerate the whole device tree again,
// synchronously, retrying the installation of devices that were found earlier
// without a driver. Windows then installs a present adapter from the driver
// package it finds on the driver search path (DevicePath). TRUE when the
// re-enumeration was carried out; FALSE with the configuration manager's
// answer as a Win32 error otherwise.
typedef BOOL(WINAPI* EnumerateDeviceFn)(void);

// Uninstalls (DIF_REMOVE, for every hardware profile) every device one of
// whose hardware ids equals hardwareId, compared without regard to case.
//   flags 0: the devices present now; flags 1 (DEVAGENT_INCLUDE_ABSENT): also
//   those that are installed but not present now (an adapter that is not
//   plugged in), which the setup always asks for. Other bits are refused.
// TRUE when at least one device matched and every matching device was removed.
// FALSE with:
//   ERROR_NO_SUCH_DEVINST   no device matched: nothing was there to remove;
//   ERROR_INVALID_PARAMETER no hardware id, or flags beyond bit 0;
//   ERROR_IN_WOW64          Windows refused the removal to the process that
//                           tried it; the devices stay (on 64-bit Windows
//                           the removal runs in the library's own 64-bit
//                           helper, DevAgentWow64.h, and this is not expected);
//   another error           the first removal that failed (the others were
//                           still attempted).
typedef BOOL(WINAPI* RemoveDeviceFn)(const char* hardwareId, DWORD flags);

#define DEVAGENT_INCLUDE_ABSENT 0x00000001u

#ifdef DEVAGENT_BUILD
extern "C" {
BOOL WINAPI EnumerateDevice(void);
BOOL WINAPI RemoveDevice(const char* hardwareId, DWORD flags);
}
#endif
