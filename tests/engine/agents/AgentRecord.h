#pragma once
// What the recording stand-in for DevAgent.dll saw of the setup's calls.
#include <windows.h>

struct AgentRecord {
    LONG enumerateCalls;
    LONG removeCalls;
    char hardwareId[128];
    DWORD flags;
    // RemoveDevice's answer: FALSE with this error (ERROR_GEN_FAILURE while 0),
    // or TRUE when removeSucceeds.
    BOOL removeSucceeds;
    DWORD removeError;
    // EnumerateDevice's answer, alike.
    BOOL enumerateSucceeds;
    DWORD enumerateError;
};

typedef AgentRecord*(WINAPI* RecordedCallsFn)(void);
