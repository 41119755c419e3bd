// A stand-in for DevAgent.dll that records how it is called and answers as the
// test sets it (failure unless told otherwise), so that a test can see what the
// setup passes and what it makes of the library's answers.
#include "AgentRecord.h"

static AgentRecord record;

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

extern "C" BOOL WINAPI EnumerateDevice(void) {
    ++record.enumerateCalls;
    if (record.enumerateSucceeds) {
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    SetLastError(record.enumerateError ? record.enumerateError : ERROR_GEN_FAILURE);
    return FALSE;
}

extern "C" BOOL WINAPI RemoveDevice(const char* hardwareId, DWORD flags) {
    ++record.removeCalls;
    lstrcpynA(record.hardwareId, hardwareId ? hardwareId : "(null)", sizeof(record.hardwareId));
    record.flags = flags;
    if (record.removeSucceeds) {
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    SetLastError(record.removeError ? record.removeError : ERROR_GEN_FAILURE);
    return FALSE;
}

extern "C" AgentRecord* WINAPI RecordedCalls(void) { return &record; }
