#pragma once
// What the recording stand-in for DevAgent.dll saw of the setup's calls.
#include <windows.h>

struct AgentRecord {
    LONG enumerateCalls;
    LONG removeCalls;
    char hardwareId[128];
    DWORD flags;
};

typedef AgentRecord*(WINAPI* RecordedCallsFn)(void);
