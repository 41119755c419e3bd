#include "engine/wizInstall.h"

#include "engine/EnginePaths.h"
#include "payload/DevAgentBinding.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

bool InstallDriver() {
    String libraryPath;
    bool composed = ComposeHelperLibraryPath(g_setup.setupCopyDir.c_str(), libraryPath);
    // The library stages the package it finds in this folder: never one that
    // is, or leads to, a system folder.
    if (!IsAcceptableInstallFolder(g_setup.installDir.c_str()))
        return false;
    if (!AddDevicePath(g_setup.installDir.c_str()))
        return false;
    DevAgentBinding agent;
    if (!composed || !agent.Load(libraryPath.c_str()))
        return false;
    AgentAnswer answer = {FALSE, ERROR_SUCCESS};
    bool found = agent.Enumerate(&answer);
    agent.Free();
    // The library staged the package and installed it on every present adapter.
    return found && answer.result;
}
