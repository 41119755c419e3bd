#include "engine/wizInstall.h"

#include "app/SetupState.h"
#include "payload/DevAgentBinding.h"
#include "system/wizMisc.h"

bool InstallDriver() {
    String libraryPath;
    bool composed = ComposeHelperLibraryPath(g_setup.setupCopyDir.c_str(), libraryPath);
    if (!AddDevicePath(g_setup.installDir.c_str()))
        return false;
    DevAgentBinding agent;
    bool loaded = composed && agent.Load(libraryPath.c_str());
    if (loaded)
        agent.Enumerate();
    agent.Free();
    return loaded;
}

bool RemoveAdapterDevice() {
    String libraryPath;
    if (!ComposeHelperLibraryPath(g_setup.setupCopyDir.c_str(), libraryPath))
        return false;
    DevAgentBinding agent;
    if (!agent.Load(libraryPath.c_str()))
        return false;
    bool found = agent.Remove(adapterHardwareId, removeDeviceFlags);
    agent.Free();
    return found;
}
