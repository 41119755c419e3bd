// The device-install library. The device work itself is not written yet: both
// entry points exist with their final signatures so that the setup can bind
// them, and both report failure until it is.
#define DEVAGENT_BUILD
#include "DevAgent.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" BOOL WINAPI EnumerateDevice(void) {
    // Not implemented yet: nothing was enumerated.
    return FALSE;
}

extern "C" BOOL WINAPI RemoveDevice(const char* hardwareId, DWORD flags) {
    // Not implemented yet: no device was removed.
    (void)hardwareId;
    (void)flags;
    return FALSE;
}
