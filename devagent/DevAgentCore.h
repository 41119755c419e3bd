#pragma once
// What the work behind DevAgent.dll's entry points shares (device removal in
// DeviceRemoval.h, the driver package in DriverStore.h). The calls that change
// devices, the driver store or processes go through a table (DeviceApi), so
// that a test can answer for Windows where the platform at hand cannot (Wine
// does not refuse device removal to a 32-bit process on 64-bit Windows, as
// Windows does); what only reads (device properties, INF files, the
// registry, files) calls Windows directly.
#include <windows.h>
#include <setupapi.h>
#include <cfgmgr32.h>
#include <stddef.h>

#include "fw/UniqueHandle.h"

struct DeviceInfoSetTraits {
    using Handle = HDEVINFO;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::SetupDiDestroyDeviceInfoList(h); }
};
using UniqueDeviceInfoSet = UniqueHandle<DeviceInfoSetTraits>;

struct InfFileTraits {
    using Handle = HINF;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::SetupCloseInfFile(h); }
};
using UniqueInfFile = UniqueHandle<InfFileTraits>;

struct DeviceApi {
    HDEVINFO(WINAPI* getClassDevs)(const GUID* classGuid, PCSTR enumerator, HWND parent, DWORD flags);
    BOOL(WINAPI* callClassInstaller)(DI_FUNCTION function, HDEVINFO devices, PSP_DEVINFO_DATA device);
    CONFIGRET(WINAPI* locateDevNode)(PDEVINST devInst, DEVINSTID_A deviceId, ULONG flags);
    CONFIGRET(WINAPI* reenumerateDevNode)(DEVINST devInst, ULONG flags);
    // Looked up at run time by the system table (Windows without it has no WOW64).
    BOOL(WINAPI* isWow64Process)(HANDLE process, PBOOL wow64);
    // Starts the 64-bit agent program (DevAgentWow64.h).
    BOOL(WINAPI* createProcess)(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                                LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                                LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                                LPPROCESS_INFORMATION processInformation);
    // Driver packages: staging into the store, installing on present devices,
    // deleting from the store.
    BOOL(WINAPI* copyOEMInf)(PCSTR source, PCSTR location, DWORD mediaType, DWORD style, PSTR destination,
                             DWORD destinationSize, PDWORD requiredSize, PSTR* destinationName);
    BOOL(WINAPI* updateDriver)(HWND parent, LPCSTR hardwareId, LPCSTR infPath, DWORD flags, PBOOL reboot);
    BOOL(WINAPI* uninstallOEMInf)(PCSTR infName, DWORD flags, PVOID reserved);
};

// The calls as Windows offers them.
const DeviceApi& SystemDeviceApi();

// Enumerates the whole device tree again, retrying installation.
BOOL ReenumerateDeviceTree(const DeviceApi& api);

// SetLastError(error); TRUE when it is ERROR_SUCCESS.
BOOL Answer(DWORD error);

// Appends the nullptr-ended texts to out (capacity bytes); false when they do
// not fit. (The C library's formatting would multiply the library's size.)
bool Compose(char* out, size_t capacity, const char* const* texts);

// GetLastError, or fallback when a failed call left no error.
DWORD LastErrorOr(DWORD fallback);

// The Win32 error that stands for a configuration-manager result.
DWORD Win32ErrorFromConfigRet(CONFIGRET result);

// Whether a REG_MULTI_SZ list of `bytes` bytes (its terminators may be cut off)
// holds item, compared without regard to ASCII case, as hardware ids are.
bool MultiSzContainsNoCase(const char* list, size_t bytes, const char* item);

// Whether the `length` characters at text equal item (ASCII case ignored);
// text may end earlier, at a NUL.
bool EqualsNoCase(const char* text, size_t length, const char* item);

// Whether the device lists hardwareId among its hardware ids.
bool HasHardwareId(HDEVINFO devices, SP_DEVINFO_DATA& device, const char* hardwareId);

// A buffer on the process heap, released on every path.
class HeapBuffer {
public:
    HeapBuffer() : data(nullptr) {}
    ~HeapBuffer() { Release(); }
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;
    char* Allocate(DWORD bytes) {
        Release();
        data = static_cast<char*>(::HeapAlloc(::GetProcessHeap(), 0, bytes));
        return data;
    }

private:
    void Release() {
        if (data)
            ::HeapFree(::GetProcessHeap(), 0, data);
        data = nullptr;
    }
    char* data;
};
