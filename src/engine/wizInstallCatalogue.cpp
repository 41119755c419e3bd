#include "engine/wizInstall.h"

#include "res/resource.h"
#include "state/SetupState.h"

const PayloadEntry payloadCatalogue[3] = {
    {PayloadStep::Common,
     {kOsVistaX86, kOsVistaAmd64},
     IDR_CAB_COMMON,
     commonCabName,
     {"DevAgent.dll", nullptr, nullptr},
     PayloadFolder::SetupCopyDir},
    {PayloadStep::Driver,
     {kOsVistaX86, kOsVistaX86},
     IDR_CAB_DRIVER_X86,
     driverCabName,
     {"vxa38.sys", "vxa38.inf", "vxa38.cat"},
     PayloadFolder::InstallDir},
    {PayloadStep::Driver,
     {kOsVistaAmd64, kOsVistaAmd64},
     IDR_CAB_DRIVER_AMD64,
     driverCabName,
     {"vxa3864.sys", "vxa3864.inf", "vxa3864.cat"},
     PayloadFolder::InstallDir},
};

namespace {

const PayloadDigest kPayloadDigests[] = {
#include "PayloadDigests.inc"
};

const char* const kRemovalFilesX86[] = {"vxa38.sys", "vxa38.inf", "vxa38.cat", removalMarkerName, nullptr};
const char* const kRemovalFilesAmd64[] = {"vxa3864.sys", "vxa3864.inf", "vxa3864.cat", removalMarkerName, nullptr};

}  // namespace

const PayloadEntry* FindPayloadEntry(PayloadStep step, WORD osCode) {
    for (const PayloadEntry& entry : payloadCatalogue) {
        if (entry.step == step && (entry.osCodes[0] == osCode || entry.osCodes[1] == osCode))
            return &entry;
    }
    return nullptr;
}

const PayloadDigest* FindPayloadDigest(const char* member) {
    for (const PayloadDigest& digest : kPayloadDigests) {
        if (member && ::lstrcmpiA(digest.member, member) == 0)
            return &digest;
    }
    return nullptr;
}

const char* const* RemovalFileList(WORD osCode) {
    if (osCode == kOsVistaX86)
        return kRemovalFilesX86;
    if (osCode == kOsVistaAmd64)
        return kRemovalFilesAmd64;
    return nullptr;
}
