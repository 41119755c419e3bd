#include "DevAgentWow64.h"

#include <string.h>

#include "DevAgent.h"
#include "DeviceRemoval.h"
#include "DriverStore.h"
#include "fw/PathChars.h"
#include "fw/UniqueHandle.h"

namespace {

void FormatHex(DWORD value, char* out) {
    for (int digit = 7; digit >= 0; --digit, value >>= 4)
        out[digit] = "0123456789ABCDEF"[value & 0xF];
    out[8] = '\0';
}

bool FolderOf(HMODULE module, char* folder) {
    DWORD length = ::GetModuleFileNameA(module, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    char* separator = FindLastSeparator(folder);
    if (!separator)
        return false;
    *separator = '\0';
    return true;
}

// A folder of its own below the agent's, so that no other program's file is
// run or deleted and two runs never meet.
bool MakePrivateFolder(HMODULE agent, char* folder) {
    char parent[MAX_PATH];
    if (!FolderOf(agent, parent))
        return false;
    DWORD seed = ::GetCurrentProcessId() ^ ::GetTickCount();
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
        char name[9];
        FormatHex(seed + attempt, name);
        const char* const parts[] = {parent, "\\~DA", name, nullptr};
        // Room is left for the agent program's name.
        if (!Compose(folder, MAX_PATH - 1 - strlen(kWow64AgentName), parts))
            return false;
        if (::CreateDirectoryA(folder, nullptr))
            return true;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

bool WriteWow64Agent(HMODULE agent, const char* path) {
    HRSRC found = ::FindResourceA(agent, MAKEINTRESOURCEA(DEVAGENT_WOW64_AGENT_RESOURCE), RT_RCDATA);
    HGLOBAL loaded = found ? ::LoadResource(agent, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    DWORD size = found ? ::SizeofResource(agent, found) : 0;
    if (!bytes || size == 0)
        return false;
    UniqueFile file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    bool complete = ::WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
    // Closed here, for its answer: a write the system deferred can still fail.
    complete = ::CloseHandle(file.Detach()) && complete;
    if (!complete)
        ::DeleteFileA(path);
    return complete;
}

DWORD RunAndWait(const DeviceApi& api, const char* program, const char* workingFolder, const char* arguments) {
    char commandLine[2 * MAX_PATH];
    const char* const parts[] = {"\"", program, "\" ", arguments, nullptr};
    if (!Compose(commandLine, sizeof(commandLine), parts))
        return ERROR_INVALID_PARAMETER;
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    memset(&process, 0, sizeof(process));
    ::SetLastError(ERROR_SUCCESS);
    if (!api.createProcess || !api.createProcess(program, commandLine, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                                 nullptr, workingFolder, &startup, &process))
        return LastErrorOr(ERROR_GEN_FAILURE);
    UniqueKernelHandle agentProcess(process.hProcess), agentThread(process.hThread);
    DWORD exitCode = ERROR_GEN_FAILURE;
    if (::WaitForSingleObject(agentProcess.Get(), INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(agentProcess.Get(), &exitCode))
        exitCode = LastErrorOr(ERROR_GEN_FAILURE);
    return exitCode;
}

// The image of a process that has just ended may stay locked for a moment.
void DeleteWow64Agent(const char* path, const char* folder) {
    for (int attempt = 0; attempt < 50; ++attempt) {
        bool fileGone = ::DeleteFileA(path) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
        if (fileGone && ::RemoveDirectoryA(folder))
            return;
        ::Sleep(100);
    }
}

bool IsPlainHardwareId(const char* hardwareId) {
    return hardwareId && *hardwareId && !strpbrk(hardwareId, "\" \t") && strlen(hardwareId) < MAX_PATH;
}

}  // namespace

bool RunsUnderWow64(const DeviceApi& api) {
    BOOL wow64 = FALSE;
    return api.isWow64Process && api.isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

DWORD RunWow64Agent(const DeviceApi& api, HMODULE agent, const char* arguments) {
    char folder[MAX_PATH];
    if (!MakePrivateFolder(agent, folder))
        return LastErrorOr(ERROR_PATH_NOT_FOUND);
    char program[MAX_PATH];
    const char* const parts[] = {folder, "\\", kWow64AgentName, nullptr};
    Compose(program, sizeof(program), parts);  // MakePrivateFolder left the room
    // The agent program works in DevAgent.dll's folder: its own folder must be free to go.
    char agentFolder[MAX_PATH];
    DWORD result = FolderOf(agent, agentFolder) && WriteWow64Agent(agent, program)
                       ? RunAndWait(api, program, agentFolder, arguments)
                       : LastErrorOr(ERROR_RESOURCE_DATA_NOT_FOUND);
    DeleteWow64Agent(program, folder);
    return result;
}

BOOL RemoveDevicesAsAgent(const DeviceApi& api, HMODULE agent, const char* hardwareId, DWORD flags) {
    if (!RunsUnderWow64(api))
        return RemoveDevicesWithHardwareId(api, hardwareId, flags);
    // The agent program checks the arguments as well; these go through a command line.
    if (!IsPlainHardwareId(hardwareId) || (flags & ~DEVAGENT_REMOVE_ALL))
        return Answer(ERROR_INVALID_PARAMETER);
    char arguments[MAX_PATH + 32];
    const char* const parts[] = {"remove ", flags ? "1 " : "0 ", hardwareId, nullptr};
    Compose(arguments, sizeof(arguments), parts);  // the id was checked to fit
    return Answer(RunWow64Agent(api, agent, arguments));
}

BOOL InstallDriverAsAgent(const DeviceApi& api, HMODULE agent) {
    if (!RunsUnderWow64(api))
        return InstallAdapterDriver(api);
    return Answer(RunWow64Agent(api, agent, "install"));
}
