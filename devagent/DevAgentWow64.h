#pragma once
// 64-bit Windows refuses device installation and removal to a 32-bit process
// (ERROR_IN_WOW64). DevAgent.dll stays 32-bit, as the setup that loads it, and
// carries a 64-bit agent program program built from the same device code as a
// resource; under WOW64 the device work that Windows refuses runs there.
#include "DevAgentCore.h"
#include "DevAgentResource.h"

// The name it is written under, in a private folder of its own.
const char* const kWow64AgentName = "DevAgent64.exe";

// Whether this is a 32-bit process on 64-bit Windows.
bool RunsUnderWow64(const DeviceApi& api);

// Writes the agent program from agent's resources into a fresh folder below the
// folder agent lives in, runs it with arguments (without a window), waits for
// it and deletes it and its folder again. The agent program's exit code: a Win32
// error, ERROR_SUCCESS when the work was done; another error when it could
// not be run.
DWORD RunWow64Agent(const DeviceApi& api, HMODULE agent, const char* arguments);

// RemoveDevice and EnumerateDevice (DevAgent.h) for the library agent: in
// this process, or under WOW64 always through the agent program (a 32-bit process
// there would also install the x86 package only).
BOOL RemoveDevicesAsAgent(const DeviceApi& api, HMODULE agent, const char* hardwareId, DWORD flags);
BOOL InstallDriverAsAgent(const DeviceApi& api, HMODULE agent);
