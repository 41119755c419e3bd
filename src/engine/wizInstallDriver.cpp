#include "engine/wizInstall.h"

#include "engine/EnginePaths.h"
#include "fw/Path.h"
#include "payload/DevAgentBinding.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

namespace {

// Whether the install folder holds the package's INF with the bytes the build
// packed, which the library takes as the product's (the build checks the INF
// against the library's rules).
bool InstallFolderHoldsBuiltInf() {
    const PayloadEntry* entry = FindPayloadEntry(PayloadStep::Driver, g_setup.osCode);
    const PayloadDigest* inf = entry ? FindPayloadDigest(entry->members[kDriverInfMember]) : nullptr;
    DigestChecker checker;
    return inf && checker.Matches(JoinPath(g_setup.installDir, inf->member).c_str(), inf->size, inf->sha256);
}

}  // namespace

bool InstallDriver() {
    String libraryPath;
    bool composed = ComposeHelperLibraryPath(g_setup.setupCopyDir.c_str(), libraryPath);
    // The library stages the package it finds in this folder: never one that
    // is, or leads to, a system folder.
    if (!IsAcceptableInstallFolder(g_setup.installDir.c_str()))
        return false;
    if (!AddDevicePath(g_setup.installDir.c_str()) || !InstallFolderHoldsBuiltInf())
        return false;
    DevAgentBinding agent;
    if (!composed || !agent.Load(libraryPath.c_str()))
        return false;
    AgentAnswer answer = {FALSE, ERROR_SUCCESS};
    bool found = agent.Enumerate(&answer);
    agent.Free();
    // The library staged the install folder's package and installed it on
    // every present adapter.
    return found && answer.result;
}
