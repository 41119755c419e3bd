#include "DevAgentCore.h"

#include <string.h>

#include <newdev.h>

#include "fw/EntryPoint.h"

namespace {

// Hardware ids fill a few hundred bytes; anything beyond this is no id list.
const DWORD kMaxHardwareIdBytes = 64 * 1024;

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool HasHardwareId(HDEVINFO devices, SP_DEVINFO_DATA& device, const char* hardwareId) {
    char stackBuffer[1024];
    HeapBuffer heapBuffer;
    char* buffer = stackBuffer;
    DWORD size = sizeof(stackBuffer), type = REG_NONE, required = 0;
    BOOL read = ::SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_HARDWAREID, &type,
                                                    reinterpret_cast<BYTE*>(buffer), size, &required);
    if (!read && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER && required <= kMaxHardwareIdBytes) {
        buffer = heapBuffer.Allocate(required);
        size = required;
        read = buffer && ::SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_HARDWAREID, &type,
                                                             reinterpret_cast<BYTE*>(buffer), size, &required);
    }
    if (!read || (type != REG_MULTI_SZ && type != REG_SZ))
        return false;
    return MultiSzContainsNoCase(buffer, required < size ? required : size, hardwareId);
}

namespace {

// IsWow64Process where kernel32 has it; a Windows without it has no WOW64.
BOOL WINAPI IsWow64ProcessIfOffered(HANDLE process, PBOOL wow64) {
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
    IsWow64ProcessFn query = EntryPoint<IsWow64ProcessFn>(::GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    *wow64 = FALSE;
    return query ? query(process, wow64) : TRUE;
}

}  // namespace

const DeviceApi& SystemDeviceApi() {
    static const DeviceApi api = {::SetupDiGetClassDevsA,    ::SetupDiCallClassInstaller, ::CM_Locate_DevNodeA,
                                  ::CM_Reenumerate_DevNode, IsWow64ProcessIfOffered,     ::CreateProcessA,
                                  ::SetupCopyOEMInfA,       ::UpdateDriverForPlugAndPlayDevicesA,
                                  ::SetupUninstallOEMInfA};
    return api;
}

BOOL ReenumerateDeviceTree(const DeviceApi& api) {
    DEVINST root = 0;
    // No device id: the root of the device tree.
    CONFIGRET result = api.locateDevNode(&root, nullptr, CM_LOCATE_DEVNODE_NORMAL);
    if (result == CR_SUCCESS) {
        // Retrying installation covers an adapter that was plugged in before
        // its driver package was on the search path.
        result = api.reenumerateDevNode(root, CM_REENUMERATE_SYNCHRONOUS | CM_REENUMERATE_RETRY_INSTALLATION);
    }
    if (result != CR_SUCCESS)
        return Answer(Win32ErrorFromConfigRet(result));
    ::SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL Answer(DWORD error) {
    ::SetLastError(error);
    return error == ERROR_SUCCESS;
}

bool EqualsNoCase(const char* text, size_t length, const char* item) {
    for (size_t i = 0; i < length; ++i, ++item) {
        if (!*item || AsciiLower(text[i]) != AsciiLower(*item))
            return false;
    }
    return *item == '\0';
}

bool Compose(char* out, size_t capacity, const char* const* texts) {
    size_t length = 0;
    for (; *texts; ++texts) {
        size_t add = strlen(*texts);
        if (length + add >= capacity)
            return false;
        memcpy(out + length, *texts, add);
        length += add;
    }
    out[length] = '\0';
    return true;
}

DWORD LastErrorOr(DWORD fallback) {
    DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : fallback;
}

DWORD Win32ErrorFromConfigRet(CONFIGRET result) {
    switch (result) {
        case CR_SUCCESS:
            return ERROR_SUCCESS;
        case CR_OUT_OF_MEMORY:
            return ERROR_NOT_ENOUGH_MEMORY;
        case CR_INVALID_POINTER:
        case CR_INVALID_FLAG:
        case CR_INVALID_DEVNODE:
            return ERROR_INVALID_PARAMETER;
        case CR_NO_SUCH_DEVNODE:
            return ERROR_NO_SUCH_DEVINST;
        case CR_ACCESS_DENIED:
            return ERROR_ACCESS_DENIED;
        case CR_CALL_NOT_IMPLEMENTED:
            return ERROR_CALL_NOT_IMPLEMENTED;
        case CR_NO_CM_SERVICES:
        case CR_REMOTE_COMM_FAILURE:
            return ERROR_SERVICE_NOT_ACTIVE;
        default:
            return ERROR_GEN_FAILURE;
    }
}

bool MultiSzContainsNoCase(const char* list, size_t bytes, const char* item) {
    if (!list || !item || !*item)
        return false;
    size_t start = 0;
    while (start < bytes && list[start] != '\0') {
        size_t end = start;
        while (end < bytes && list[end] != '\0')
            ++end;
        if (EqualsNoCase(list + start, end - start, item))
            return true;
        start = end + 1;
    }
    return false;
}
