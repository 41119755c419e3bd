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

bool DevAgentBinding::Enumerate() {
    EnumerateDeviceFn enumerate = EntryPoint<EnumerateDeviceFn>(library.Get(), "EnumerateDevice");
    if (!enumerate)
        return false;
    enumerate();
    return true;
}

bool DevAgentBinding::Remove(const char* hardwareId, DWORD flags, AgentAnswer* answer) {
    RemoveDeviceFn remove = EntryPoint<RemoveDeviceFn>(library.Get(), "RemoveDevice");
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
