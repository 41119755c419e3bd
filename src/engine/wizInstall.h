#pragma once
// The installation engine: the operations the progress pages call, each on the
// process-wide setup state (g_setup), and the two runs that order them. Each
// answer's meaning is given beside the operation: true only when its work is
// done. A run calls every operation of its rows once, in order, whatever the
// answers are.
#include <windows.h>

#include "fw/String.h"

// The empty file whose presence in the install folder allows removal to delete there.
const char* const removalMarkerName = "~NoKill.wiz";
// The names under which the payload cabinets are written into setupCopyDir.
const char* const commonCabName = "BasePack.Cab";
const char* const driverCabName = "DevicePack.Cab";

// The payload catalogue: which cabinet resource holds which members and where
// they go, for each system the wizard accepts.
enum class PayloadStep { Common, Driver };
enum class PayloadFolder { SetupCopyDir, InstallDir };

const int kMaxPayloadMembers = 3;
// The driver rows list the package's INF second.
const int kDriverInfMember = 1;

struct PayloadEntry {
    PayloadStep step;
    WORD osCodes[2];  // the systems the row serves
    int resourceId;
    const char* cabinetName;
    const char* members[kMaxPayloadMembers];  // in extraction order; nullptr ends a shorter list
    PayloadFolder destination;
};

extern const PayloadEntry payloadCatalogue[3];

// What the build recorded of a payload member, from the file it packed: its
// size and SHA-256. Only these bytes are installed.
struct PayloadDigest {
    const char* member;
    DWORD size;
    BYTE sha256[32];
};

// The record of the member named so (case does not count); nullptr when the
// build packed no such member.
const PayloadDigest* FindPayloadDigest(const char* member);

// The row of the catalogue for that step and system; nullptr when there is none.
const PayloadEntry* FindPayloadEntry(PayloadStep step, WORD osCode);
// The files removal deletes from the install folder, the package first and the
// marker last, ending with nullptr; nullptr itself for a system without a list.
const char* const* RemovalFileList(WORD osCode);

// True when "AppFolder" was read and may be the install folder; otherwise
// installDir stays the one composed at start-up.
bool RestoreInstallDir();
// True when the setup copy, both folders and the marker are in place and every
// catalogue member of this system was unpacked with the bytes the build packed.
bool InstallFiles();
// True when the Uninstall shortcut exists afterwards, or when no menu folder
// was composed (nothing to make).
bool CreateShortcuts();
// True when all four TCP/IP values were written; the first failure ends it.
bool TuneTcpParameters();
// True when the uninstall entry exists and all four of its values were written.
bool RegisterUninstall();
// True when the helper library answered that it staged the install folder's
// package and installed it on every present adapter (no adapter present is
// success). The library stages the package of the first DevicePath folder
// that holds one it takes; so the step makes the install folder (one the
// folder guard allows) the first entry of DevicePath, and asks the library
// only when the folder holds the INF the build packed: without it, the library
// would stage an older package from a folder further back.
bool InstallDriver();

// True when the marker was absent (nothing to delete) or the package and the
// marker are gone; false when "AppFolder" could not be read or names a folder
// that is not the product's.
bool RemoveFiles();
// True when the library answered that it removed the adapter's devices and the
// product's staged packages, or that there is no such device (the packages
// then went all the same).
bool RemoveAdapterDevice();
// True when the product's folders in both Start menus and its links on the
// desktop and in the Startup folder are gone afterwards.
bool RemoveShortcuts();
// True when the uninstall entry is gone afterwards.
bool UnregisterUninstall();

// One row of a run as its progress page walks it: first the status line it
// shows, then the operation it calls (with the name the Finish page gives it
// when it fails), then the bar's position. Each part may be absent.
struct RunStep {
    const char* status;       // nullptr: the line stays as it is
    bool (*operation)();      // nullptr: the row does no engine work
    const char* failureName;  // with an operation
    int position;             // -1: the bar stays where it is
};

struct EngineRun {
    // Run in maintenance mode only, before the page shows anything of the run;
    // nullptr when the run has no such row.
    const RunStep* maintenanceFirst;
    const RunStep* steps;
    int stepCount;
};

// The installation (first installation, repair/upgrade) and the removal.
extern const EngineRun installationRun;
extern const EngineRun removalRun;
