#include "engine/wizInstall.h"

#include <setupapi.h>  // ERROR_NO_SUCH_DEVINST

#include "payload/DevAgentBinding.h"
#include "state/SetupState.h"

bool RemoveAdapterDevice() {
    String libraryPath;
    if (!ComposeHelperLibraryPath(g_setup.setupCopyDir.c_str(), libraryPath))
        return false;
    DevAgentBinding agent;
    if (!agent.Load(libraryPath.c_str()))
        return false;
    AgentAnswer answer = {FALSE, ERROR_SUCCESS};
    bool found = agent.Remove(adapterHardwareId, removeDeviceFlags, &answer);
    agent.Free();
    // No such device: the adapter was never installed or is gone already.
    return found && (answer.result || answer.lastError == ERROR_NO_SUCH_DEVINST);
}
