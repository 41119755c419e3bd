#include "engine/wizInstall.h"

#include "engine/EnginePaths.h"
#include "fw/Path.h"
#include "fw/SystemLibrary.h"
#include "fw/UniqueHandle.h"
#include "payload/ResourceFile.h"
#include "payload/wizCab.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

namespace {

// Keeps the window responsive between writing a cabinet and unpacking it.
const DWORD kCabinetPumpMilliseconds = 10;

const String& DestinationOf(const PayloadEntry& entry) {
    return entry.destination == PayloadFolder::SetupCopyDir ? g_setup.setupCopyDir : g_setup.installDir;
}

// Whether the member at path holds the bytes the build packed; one that does
// not (or that the build never recorded) is deleted.
bool KeepIfAsBuilt(const String& path, const PayloadDigest* digest, DigestChecker& checker) {
    if (digest && checker.Matches(path.c_str(), digest->size, digest->sha256))
        return true;
    DeleteFileAt(path.c_str());
    return false;
}

// Writes the row's cabinet into setupCopyDir and unpacks its members, each
// checked against its record; true when the cabinet was written. allAsBuilt
// turns false for a member that is missing or not as built.
bool UnpackPayload(const PayloadEntry* entry, DigestChecker& checker, bool* allAsBuilt) {
    if (!entry || !WriteResourceToFile(entry->resourceId, g_setup.setupCopyDir.c_str(), entry->cabinetName)) {
        *allAsBuilt = false;
        return false;
    }
    PumpWait(kCabinetPumpMilliseconds);
    String cabinetPath = JoinPath(g_setup.setupCopyDir, entry->cabinetName);
    for (const char* member : entry->members) {
        if (!member)
            continue;
        const PayloadDigest* digest = FindPayloadDigest(member);
        ExtractFile(cabinetPath.c_str(), DestinationOf(*entry).c_str(), member,
                    digest ? static_cast<long>(digest->size) : kAnyMemberSize);
        if (!KeepIfAsBuilt(JoinPath(DestinationOf(*entry), member), digest, checker))
            *allAsBuilt = false;
    }
    return true;
}

// Started from the setup copy itself (repair or removal from the list of
// installed programs or the Start menu), the copy is already in place, and
// copying a running program onto itself fails; its attributes are still
// normalised.
bool PlaceSetupCopy() {
    const char* target = g_setup.setupCopyPath.c_str();
    ::SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    if (IsSameFile(g_setup.setupExePath.c_str(), target))
        return true;
    bool copied = ::CopyFileA(g_setup.setupExePath.c_str(), target, FALSE) != FALSE;
    ::SetFileAttributesA(target, FILE_ATTRIBUTE_NORMAL);
    return copied;
}

}  // namespace

bool RestoreInstallDir() {
    String folder;
    // A relative value would send the installation wherever the current
    // folder is; a system folder is no folder of the product's.
    String keyPath = UninstallKeyPath(g_setup.uninstallKeyName.c_str());
    bool read = ReadRegistryString(HKEY_LOCAL_MACHINE, keyPath.c_str(), "AppFolder", folder) &&
                IsAcceptableInstallFolder(folder.c_str());
    if (!read)
        folder = g_setup.installDir;
    SetInstallDir(folder.c_str());
    return read;
}

bool InstallFiles() {
    if (MakeDirectoryTree(g_setup.setupCopyDir.c_str()) < 0)
        return false;
    if (!PlaceSetupCopy())
        return false;
    // An install folder that is a system folder by any name, or a link, gets nothing.
    if (!IsAcceptableInstallFolder(g_setup.installDir.c_str()) || MakeDirectoryTree(g_setup.installDir.c_str()) < 0)
        return false;
    if (!EnsureMarkerFile(removalMarkerName, g_setup.installDir.c_str(), false))
        return false;

    // The extractor loads the cabinet library for every member; held here, it
    // stays mapped in between instead of being loaded and unloaded four times.
    UniqueModule cabinetLibrary(LoadSystemLibrary("cabinet.dll"));
    const PayloadEntry* common = FindPayloadEntry(PayloadStep::Common, g_setup.osCode);
    const PayloadEntry* driver = FindPayloadEntry(PayloadStep::Driver, g_setup.osCode);
    DigestChecker checker;
    bool allAsBuilt = true;
    bool commonWritten = UnpackPayload(common, checker, &allAsBuilt);
    bool driverWritten = UnpackPayload(driver, checker, &allAsBuilt);
    DeleteFileIn(g_setup.setupCopyDir.c_str(), driverCabName);
    DeleteFileIn(g_setup.setupCopyDir.c_str(), commonCabName);
    return commonWritten && driverWritten && allAsBuilt;
}
