#pragma once
// The setup's side of the device-install library "DevAgent.dll": loaded by
// full path for one operation, each entry point looked up on every call, freed
// before the operation returns.
#include <windows.h>

#include "devagent/DevAgent.h"
#include "devagent/ProductPackage.h"
#include "fw/String.h"
#include "fw/UniqueHandle.h"

const char* const helperLibraryName = "DevAgent.dll";
// The adapter's hardware id, as its INF files list it.
const char* const adapterHardwareId = kAdapterHardwareId;
// What the setup passes to "RemoveDevice": also the devices not present now,
// and the product's driver packages in the driver store.
const DWORD removeDeviceFlags = DEVAGENT_REMOVE_ALL;

// helperLibraryPath: setupCopyDir + "\DevAgent.dll"; false (out empty) when it
// would not fit its 259 characters, so that no shortened path is ever loaded.
bool ComposeHelperLibraryPath(const char* setupCopyDir, String& out);

// What an entry point answered: its result and, on FALSE, its last error.
struct AgentAnswer {
    BOOL result;
    DWORD lastError;
};

class DevAgentBinding {
public:
    DevAgentBinding() = default;
    DevAgentBinding(const DevAgentBinding&) = delete;
    DevAgentBinding& operator=(const DevAgentBinding&) = delete;

    // True when a module was obtained from that full path.
    bool Load(const char* libraryPath);
    void Free();
    // Each is true when its entry point exists (it is then called); what the
    // library itself answers goes to answer when one is given.
    bool Enumerate(AgentAnswer* answer = nullptr);
    bool Remove(const char* hardwareId, DWORD flags, AgentAnswer* answer = nullptr);

private:
    UniqueModule library;
};
