#include "payload/DevAgentBinding.h"

#include <string.h>

#include "fw/Path.h"
#include "fw/SystemLibrary.h"

bool ComposeHelperLibraryPath(const char* setupCopyDir, String& out) {
    return JoinPathWithinMaxPath(setupCopyDir, helperLibraryName, out);
}

bool DevAgentBinding::Load(const char* libraryPath) {
    // Device installation checks the package's signature.
    PreloadLibrariesFor(LibraryUse::Signatures);
    // The library's own imports are then searched for in its folder (below
    // Program Files) before the folder the setup was started from.
    library.Reset(::LoadLibraryExA(libraryPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    return library.IsValid();
}

void DevAgentBinding::Free() { library.Reset(); }

namespace {

// Calls the entry point with the last error cleared and keeps what it answered.
template <typename Call>
void CallAndRecord(Call call, AgentAnswer* answer) {
    ::SetLastError(ERROR_SUCCESS);
    BOOL result = call();
    DWORD lastError = ::GetLastError();
    if (answer) {
        answer->result = result;
        answer->lastError = lastError;
    }
}

}  // namespace

bool DevAgentBinding::Enumerate(AgentAnswer* answer) {
    EnumerateDeviceFn enumerate = EntryPoint<EnumerateDeviceFn>(library.Get(), "EnumerateDevice");
    if (!enumerate)
        return false;
    CallAndRecord([&] { return enumerate(); }, answer);
    return true;
}

bool DevAgentBinding::Remove(const char* hardwareId, DWORD flags, AgentAnswer* answer) {
    RemoveDeviceFn remove = EntryPoint<RemoveDeviceFn>(library.Get(), "RemoveDevice");
    if (!remove)
        return false;
    CallAndRecord([&] { return remove(hardwareId, flags); }, answer);
    return true;
}
