#include "payload/DevAgentBinding.h"

#include <string.h>

#include "devagent/DevAgent.h"
#include "fw/Path.h"

bool ComposeHelperLibraryPath(const char* setupCopyDir, String& out) {
    return JoinPathWithinMaxPath(setupCopyDir, helperLibraryName, out);
}

bool DevAgentBinding::Load(const char* libraryPath) {
    // The library's own imports are then searched for in its folder (below
    // Program Files) before the folder the setup was started from.
    library.Reset(::LoadLibraryExA(libraryPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    return library.IsValid();
}

void DevAgentBinding::Free() { library.Reset(); }

FARPROC DevAgentBinding::EntryPoint(const char* name) const {
    return library ? ::GetProcAddress(library.Get(), name) : nullptr;
}

bool DevAgentBinding::Enumerate() {
    EnumerateDeviceFn enumerate =
        reinterpret_cast<EnumerateDeviceFn>(reinterpret_cast<void*>(EntryPoint("EnumerateDevice")));
    if (!enumerate)
        return false;
    enumerate();
    return true;
}

bool DevAgentBinding::Remove(const char* hardwareId, DWORD flags, AgentAnswer* answer) {
    RemoveDeviceFn remove = reinterpret_cast<RemoveDeviceFn>(reinterpret_cast<void*>(EntryPoint("RemoveDevice")));
    if (!remove)
        return false;
    ::SetLastError(ERROR_SUCCESS);
    BOOL result = remove(hardwareId, flags);
    DWORD lastError = ::GetLastError();
    if (answer) {
        answer->result = result;
        answer->lastError = lastError;
    }
    return true;
}
