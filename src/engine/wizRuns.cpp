#include "engine/wizInstall.h"

namespace {

const RunStep kRestoreStep = {nullptr, RestoreInstallDir, "restoring the installation folder", -1};

const RunStep kInstallationSteps[] = {
    {"Status: Copying files...", nullptr, nullptr, 20},
    {nullptr, InstallFiles, "copying files", 40},
    {nullptr, nullptr, nullptr, 60},
    {"Status: Building shortcut...", CreateShortcuts, "building the shortcut", 70},
    {"Status: Registing setting...", TuneTcpParameters, "network settings", 80},
    {nullptr, RegisterUninstall, "registering the uninstall entry", 85},
    {"Status: Miscellaneous setting...", InstallDriver, "driver installation", 100},
};

const RunStep kRemovalSteps[] = {
    {"Status: Remove files...", RemoveFiles, "removing files", 40},
    {nullptr, RemoveAdapterDevice, "removing the adapter device", 70},
    {nullptr, RemoveShortcuts, "removing shortcuts", 80},
    {"Status: Remove setting...", nullptr, nullptr, 90},
    {nullptr, UnregisterUninstall, "removing the uninstall entry", 100},
};

template <int N>
constexpr int CountOf(const RunStep (&)[N]) {
    return N;
}

}  // namespace

const EngineRun installationRun = {&kRestoreStep, kInstallationSteps, CountOf(kInstallationSteps)};
const EngineRun removalRun = {nullptr, kRemovalSteps, CountOf(kRemovalSteps)};
