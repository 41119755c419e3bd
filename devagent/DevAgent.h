#pragma once
// The device-install library "DevAgent.dll": the setup extracts it next to its
// own copy, loads it by full path and calls these two entry points, exported
// under their plain names. Both answer TRUE only when the work was done; on
// FALSE, GetLastError tells why.
#include <windows.h>

// Installs the adapter's driver package (DriverPackage.h) that the setup has
// just put on the driver search path: finds it in the first DevicePath folder
// that holds it (never %windir%\inf), stages it in the driver store, so that
// an adapter plugged in later installs from there without a question, and
// installs it on every present device with the adapter's hardware id. Then
// asks for the device tree to be enumerated again, as a nudge whose failure
// does not count. TRUE when the package is staged and every present adapter
// (none is fine) now has its driver from it; FALSE with:
//   ERROR_FILE_NOT_FOUND   no DevicePath value, or no folder on it holds the
//                          package for this system's platform;
//   ERROR_MORE_DATA        a DevicePath value too long to be a search list;
//   ERROR_INVALID_DATA     a DevicePath that is no string;
//   ERROR_FILE_TOO_LARGE   the only candidates were too large for an INF;
//   ERROR_NO_COMPAT_DRIVERS a present adapter was left without the package;
//   another error          what staging or installing answered.
typedef BOOL(WINAPI* EnumerateDeviceFn)(void);

// Uninstalls (DIF_REMOVE, for every hardware profile) every device one of
// whose hardware ids equals hardwareId, compared without regard to case.
//   flags 0: the devices present now;
//   flags 1 (DEVAGENT_REMOVE_ALL), which the setup always passes: also the
//   devices installed but not present now (an adapter that is not plugged
//   in), and afterwards every package of the product in the driver store
//   that lists hardwareId, whichever version staged it, so that a re-plugged
//   adapter does not get the driver back. Other packages are never touched.
//   Other bits are refused.
// TRUE when at least one device matched, every matching device was removed
// and (flags 1) the packages are gone. FALSE with:
//   ERROR_NO_SUCH_DEVINST   no device matched: nothing was there to remove
//                           (the packages went all the same);
//   ERROR_INVALID_PARAMETER no hardware id, or flags beyond bit 0;
//   ERROR_IN_WOW64          Windows refused the removal to the process that
//                           tried it; the devices stay (on 64-bit Windows
//                           the removal runs in the library's own 64-bit
//                           agent program, DevAgentWow64.h, and this is not
//                           expected);
//   another error           the first removal that failed (the others were
//                           still attempted; the packages then stay, as
//                           devices still use them), or the first package
//                           that could not be deleted.
typedef BOOL(WINAPI* RemoveDeviceFn)(const char* hardwareId, DWORD flags);

#define DEVAGENT_REMOVE_ALL 0x00000001u

#ifdef DEVAGENT_BUILD
extern "C" {
BOOL WINAPI EnumerateDevice(void);
BOOL WINAPI RemoveDevice(const char* hardwareId, DWORD flags);
}
#endif
