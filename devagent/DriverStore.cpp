// Finding the package on the driver search path, staging it and installing
// it on present adapters, and deleting the product's packages from the store.
#include "DriverStore.h"

#include <newdev.h>
#include <string.h>

#include "fw/PathChars.h"

namespace {

// A search list longer than this is no search list.
const DWORD kMaxDevicePathBytes = 32 * 1024;

// folder + "\" + name into out (MAX_PATH); false when it does not fit.
bool JoinPath(const char* folder, const char* name, char* out) {
    const char* const parts[] = {folder, "\\", name, nullptr};
    return Compose(out, MAX_PATH, parts);
}

bool WindowsInfFolder(char* folder) {
    char windows[MAX_PATH];
    UINT length = ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
    return length > 0 && length < MAX_PATH && JoinPath(windows, "inf", folder);
}

DWORD ReadDevicePath(HeapBuffer& buffer, char*& text) {
    UniqueRegKey key;
    LONG result = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                                  KEY_QUERY_VALUE, key.Receive());
    if (result != ERROR_SUCCESS)
        return static_cast<DWORD>(result);
    text = buffer.Allocate(kMaxDevicePathBytes + 1);
    if (!text)
        return ERROR_NOT_ENOUGH_MEMORY;
    DWORD type = REG_NONE, size = kMaxDevicePathBytes;
    result = ::RegQueryValueExA(key.Get(), "DevicePath", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    if (result != ERROR_SUCCESS)
        return static_cast<DWORD>(result);  // ERROR_MORE_DATA when over-long
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    text[size] = '\0';
    return ERROR_SUCCESS;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One entry of the search list as a full folder path without a trailing
// separator; false for an entry that cannot name a folder.
bool ExpandFolder(const char* entry, char* folder) {
    while (IsBlank(*entry))
        ++entry;
    size_t length = strlen(entry);
    while (length > 0 && IsBlank(entry[length - 1]))
        --length;
    char raw[MAX_PATH];
    if (length == 0 || length >= MAX_PATH)
        return false;
    memcpy(raw, entry, length);
    raw[length] = '\0';
    DWORD expanded = ::ExpandEnvironmentStringsA(raw, folder, MAX_PATH);
    if (expanded == 0 || expanded > MAX_PATH)
        return false;
    length = LengthWithoutTrailingSeparators(folder);
    folder[length] = '\0';
    bool drivePath = length >= 3 && folder[1] == ':' && folder[2] == '\\';
    return drivePath || (folder[0] == '\\' && folder[1] == '\\');
}

// ERROR_SUCCESS with path set, ERROR_FILE_NOT_FOUND when the folder holds no
// package of the product for this platform, or why a candidate was unreadable.
DWORD FindPackageIn(const char* folder, char* path) {
    DWORD result = ERROR_FILE_NOT_FOUND;
    for (const ProductInf& product : kProductInfs) {
        const char* name = product.inf;
        if (!JoinPath(folder, name, path))
            continue;
        DWORD checked = CheckProductInf(path, name, kAdapterHardwareId, kThisPlatform);
        if (checked == ERROR_SUCCESS)
            return checked;
        bool unreadable = checked != ERROR_FILE_NOT_FOUND && checked != ERROR_PATH_NOT_FOUND && checked != ERROR_NOT_FOUND;
        if (unreadable && result == ERROR_FILE_NOT_FOUND)
            result = checked;
    }
    return result;
}

struct AdapterCount {
    DWORD present;
    DWORD withoutPackage;
    DWORD error;
};

// Whether the device's driver was installed from the staged INF publishedName.
bool UsesPackage(HDEVINFO devices, SP_DEVINFO_DATA& device, const char* publishedName) {
    char driverKey[MAX_PATH] = "";
    if (!::SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_DRIVER, nullptr,
                                             reinterpret_cast<BYTE*>(driverKey), sizeof(driverKey) - 1, nullptr) ||
        !*driverKey)
        return false;
    HKEY opened = ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_QUERY_VALUE);
    if (opened == reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE))
        return false;
    UniqueRegKey key(opened);
    char infPath[MAX_PATH];
    DWORD type = REG_NONE, size = sizeof(infPath) - 1;
    if (::RegQueryValueExA(key.Get(), "InfPath", nullptr, &type, reinterpret_cast<BYTE*>(infPath), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    infPath[size] = '\0';
    return ::lstrcmpiA(infPath, publishedName) == 0;
}

AdapterCount CountPresentAdapters(const DeviceApi& api, const char* publishedName) {
    AdapterCount count = {0, 0, ERROR_SUCCESS};
    UniqueDeviceInfoSet devices(api.getClassDevs(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT));
    if (!devices) {
        count.error = LastErrorOr(ERROR_GEN_FAILURE);
        return count;
    }
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices.Get(), index, &device); ++index) {
        if (!HasHardwareId(devices.Get(), device, kAdapterHardwareId))
            continue;
        ++count.present;
        if (!UsesPackage(devices.Get(), device, publishedName))
            ++count.withoutPackage;
    }
    return count;
}

DWORD InstallOnPresentAdapters(const DeviceApi& api, const char* package, const char* publishedName) {
    AdapterCount count = CountPresentAdapters(api, publishedName);
    if (count.error != ERROR_SUCCESS || count.present == 0)
        return count.error;  // none present: the store serves a later plug-in
    // Installed even over the same or a newer driver: a repair repairs, and
    // the package is the one the user just chose. From the package's own
    // folder, not the staged copy: Wine has no driver store and copies the
    // files from beside the INF it is given; Windows stages it from there.
    BOOL reboot = FALSE;
    ::SetLastError(ERROR_SUCCESS);
    BOOL updated = api.updateDriver(nullptr, kAdapterHardwareId, package, INSTALLFLAG_FORCE, &reboot);
    DWORD updateError = updated ? ERROR_SUCCESS : LastErrorOr(ERROR_GEN_FAILURE);
    // The answer alone proves nothing (Wine's is always TRUE): each device is read back.
    count = CountPresentAdapters(api, publishedName);
    if (count.error != ERROR_SUCCESS || count.withoutPackage == 0)
        return count.error;
    return updateError != ERROR_SUCCESS ? updateError : ERROR_NO_COMPAT_DRIVERS;
}

DWORD StageAndInstall(const DeviceApi& api, const char* package) {
    char staged[MAX_PATH] = "";
    PSTR publishedName = nullptr;
    ::SetLastError(ERROR_SUCCESS);
    // An INF staged before with the same contents keeps its name: no copies pile up.
    if (!api.copyOEMInf(package, nullptr, SPOST_PATH, 0, staged, MAX_PATH, nullptr, &publishedName) ||
        !publishedName || !*publishedName)
        return LastErrorOr(ERROR_GEN_FAILURE);
    return InstallOnPresentAdapters(api, package, publishedName);
}

// The name Windows recorded for a staged INF, when it is not the published
// name itself (Wine records none).
bool RecordedOriginalName(const char* path, const char* publishedName, char* original) {
    union {
        SP_INF_INFORMATION info;
        char bytes[4096];
    } buffer;
    if (!::SetupGetInfInformationA(path, INFINFO_INF_NAME_IS_ABSOLUTE, &buffer.info, sizeof(buffer), nullptr))
        return false;
    SP_ORIGINAL_FILE_INFO_A file;
    file.cbSize = sizeof(file);
    if (!::SetupQueryInfOriginalFileInformationA(&buffer.info, 0, nullptr, &file) ||
        ::lstrcmpiA(file.OriginalInfName, publishedName) == 0)
        return false;
    lstrcpynA(original, file.OriginalInfName, MAX_PATH);
    return true;
}

bool IsStagedProductPackage(const char* path, const WIN32_FIND_DATAA& found, const char* hardwareId) {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || found.nFileSizeHigh != 0 ||
        found.nFileSizeLow > kMaxInfBytes)
        return false;
    char original[MAX_PATH];
    const char* name = RecordedOriginalName(path, found.cFileName, original) ? original : nullptr;
    return CheckProductInf(path, name, hardwareId, nullptr) == ERROR_SUCCESS;
}

DWORD DeleteStagedPackage(const DeviceApi& api, const char* path, const char* publishedName) {
    // Without the force Wine keeps the file; Windows would keep it while a
    // device uses it, and the devices are gone when this runs.
    ::SetLastError(ERROR_SUCCESS);
    if (!api.uninstallOEMInf(publishedName, SUOI_FORCEDELETE, nullptr))
        return LastErrorOr(ERROR_GEN_FAILURE);
    return ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

}  // namespace

DWORD FindPackageOnSearchPath(char* path) {
    HeapBuffer buffer;
    char* list = nullptr;
    DWORD result = ReadDevicePath(buffer, list);
    char infFolder[MAX_PATH];
    if (result == ERROR_SUCCESS && !WindowsInfFolder(infFolder))
        result = LastErrorOr(ERROR_PATH_NOT_FOUND);
    if (result != ERROR_SUCCESS)
        return result;
    DWORD firstUnreadable = ERROR_FILE_NOT_FOUND;
    for (char* entry = list; entry;) {
        char* end = strchr(entry, ';');
        if (end)
            *end = '\0';
        char folder[MAX_PATH];
        // The system's own INF folder is the store, not a package's folder.
        if (ExpandFolder(entry, folder) && ::lstrcmpiA(folder, infFolder) != 0) {
            DWORD found = FindPackageIn(folder, path);
            if (found == ERROR_SUCCESS)
                return found;
            if (firstUnreadable == ERROR_FILE_NOT_FOUND)
                firstUnreadable = found;
        }
        entry = end ? end + 1 : nullptr;
    }
    return firstUnreadable;
}

BOOL InstallAdapterDriver(const DeviceApi& api) {
    char package[MAX_PATH];
    DWORD result = FindPackageOnSearchPath(package);
    if (result == ERROR_SUCCESS)
        result = StageAndInstall(api, package);
    // A nudge for devices Windows found before the package was there; Wine
    // cannot re-enumerate, and the answer is what the package work gave.
    ReenumerateDeviceTree(api);
    return Answer(result);
}

DWORD DeleteProductPackages(const DeviceApi& api, const char* hardwareId) {
    char folder[MAX_PATH], pattern[MAX_PATH];
    if (!WindowsInfFolder(folder) || !JoinPath(folder, "*.inf", pattern))
        return LastErrorOr(ERROR_PATH_NOT_FOUND);
    WIN32_FIND_DATAA found;
    UniqueFind search(::FindFirstFileA(pattern, &found));
    if (!search)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : LastErrorOr(ERROR_PATH_NOT_FOUND);
    DWORD firstError = ERROR_SUCCESS;
    do {
        char path[MAX_PATH];
        if (!JoinPath(folder, found.cFileName, path) || !IsStagedProductPackage(path, found, hardwareId))
            continue;
        DWORD deleted = DeleteStagedPackage(api, path, found.cFileName);
        if (firstError == ERROR_SUCCESS)
            firstError = deleted;
    } while (::FindNextFileA(search.Get(), &found));
    return firstError;
}
