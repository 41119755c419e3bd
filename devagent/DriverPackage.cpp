#include "DriverPackage.h"

#include <string.h>

namespace {

bool VersionValueIs(HINF inf, const char* key, const char* expected) {
    char value[MAX_PATH];
    return ::SetupGetLineTextA(nullptr, inf, "Version", key, value, sizeof(value), nullptr) &&
           ::lstrcmpiA(value, expected) == 0;
}

const ProductInf* ProductInfOf(HINF inf) {
    if (!VersionValueIs(inf, "Provider", kProductProvider))
        return nullptr;
    for (const ProductInf& product : kProductInfs) {
        if (VersionValueIs(inf, "CatalogFile", product.catalog))
            return &product;
    }
    return nullptr;
}

// "NTamd64" and "NTamd64.6.0" are decorations for platform "NTamd64".
bool DecorationIsFor(const char* decoration, const char* platform) {
    size_t length = strlen(platform);
    return EqualsNoCase(decoration, length, platform) && (decoration[length] == '\0' || decoration[length] == '.');
}

// Whether a line of the models section lists hardwareId (fields 2 on).
bool ModelsListId(HINF inf, const char* section, const char* hardwareId) {
    INFCONTEXT line;
    for (BOOL more = ::SetupFindFirstLineA(inf, section, nullptr, &line); more;
         more = ::SetupFindNextLine(&line, &line)) {
        DWORD fields = ::SetupGetFieldCount(&line);
        for (DWORD field = 2; field <= fields; ++field) {
            char id[MAX_DEVICE_ID_LEN];
            if (::SetupGetStringFieldA(&line, field, id, sizeof(id), nullptr) && ::lstrcmpiA(id, hardwareId) == 0)
                return true;
        }
    }
    return false;
}

// One [Manufacturer] line: "name = models[, decoration...]". Without a
// platform the undecorated section counts too.
bool ManufacturerListsId(HINF inf, INFCONTEXT& line, const char* hardwareId, const char* platform) {
    char models[MAX_INF_STRING_LENGTH / 16];
    if (!::SetupGetStringFieldA(&line, 1, models, sizeof(models), nullptr))
        return false;
    if (!platform && ModelsListId(inf, models, hardwareId))
        return true;
    DWORD fields = ::SetupGetFieldCount(&line);
    for (DWORD field = 2; field <= fields; ++field) {
        char decoration[64], section[sizeof(models) + sizeof(decoration)];
        if (!::SetupGetStringFieldA(&line, field, decoration, sizeof(decoration), nullptr) ||
            (platform && !DecorationIsFor(decoration, platform)))
            continue;
        const char* const parts[] = {models, ".", decoration, nullptr};
        if (Compose(section, sizeof(section), parts) && ModelsListId(inf, section, hardwareId))
            return true;
    }
    return false;
}

bool ListsHardwareId(HINF inf, const char* hardwareId, const char* platform) {
    INFCONTEXT line;
    for (BOOL more = ::SetupFindFirstLineA(inf, "Manufacturer", nullptr, &line); more;
         more = ::SetupFindNextLine(&line, &line)) {
        if (ManufacturerListsId(inf, line, hardwareId, platform))
            return true;
    }
    return false;
}

}  // namespace

const ProductInf kProductInfs[2] = {{kX86Inf, kX86Catalog}, {kAmd64Inf, kAmd64Catalog}};

DWORD CheckProductInf(const char* path, const char* name, const char* hardwareId, const char* platform) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &attributes))
        return LastErrorOr(ERROR_FILE_NOT_FOUND);
    if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return ERROR_FILE_NOT_FOUND;
    if (attributes.nFileSizeHigh != 0 || attributes.nFileSizeLow > kMaxInfBytes)
        return ERROR_FILE_TOO_LARGE;
    UINT errorLine = 0;
    UniqueInfFile inf(::SetupOpenInfFileA(path, nullptr, INF_STYLE_WIN4, &errorLine));
    if (!inf)
        return LastErrorOr(ERROR_INVALID_DATA);
    const ProductInf* product = ProductInfOf(inf.Get());
    if (!product || (name && ::lstrcmpiA(name, product->inf) != 0))
        return ERROR_NOT_FOUND;
    return ListsHardwareId(inf.Get(), hardwareId, platform) ? ERROR_SUCCESS : ERROR_NOT_FOUND;
}
