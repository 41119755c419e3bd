#include "EngineTestSupport.h"

#include <shlobj.h>

#include <algorithm>

#include "state/SetupState.h"
#include "support/UiDriver.h"

namespace enginetest {

namespace {

const char* const kTcpValueNames[] = {"TCPWindowSize", "SackOpts", "TcpMaxDupAcks", "Tcp1323Opts"};

}  // namespace

std::vector<std::string> RunOperations(const EngineRun& run) {
    std::vector<std::string> failed;
    auto call = [&failed](const RunStep& step) {
        if (step.operation && !step.operation())
            failed.push_back(step.failureName);
    };
    if (g_setup.alreadyInstalled && run.maintenanceFirst)
        call(*run.maintenanceFirst);
    for (const RunStep* step = run.steps; step < run.steps + run.stepCount; ++step)
        call(*step);
    return failed;
}

KeyTree SaveKeyTree(HKEY root, const std::string& key) {
    KeyTree tree;
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return tree;
    tree.present = true;
    char name[16384];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumValueA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        tree.values.emplace_back(name, SaveValue(root, key, name));
    }
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        tree.subkeys.emplace_back(name, SaveKeyTree(root, key + "\\" + name));
    }
    RegCloseKey(handle);
    return tree;
}

void RestoreKeyTree(HKEY root, const std::string& key, const KeyTree& tree) {
    wiztest::RegDeleteTree(root, key);
    if (!tree.present)
        return;
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return;
    RegCloseKey(handle);
    for (const auto& value : tree.values)
        RestoreValue(root, key, value.first, value.second);
    for (const auto& subkey : tree.subkeys)
        RestoreKeyTree(root, key + "\\" + subkey.first, subkey.second);
}

std::string DevicePath(DWORD* type) { return wiztest::ReadDevicePath(NativeView(), type); }

void PrefixState::Save() {
    values.clear();
    auto save = [this](const char* key, const char* name, REGSAM view) {
        values.emplace_back(new wiztest::SavedRegistryValue(HKEY_LOCAL_MACHINE, key, name, view));
    };
    save(kCurrentVersionKey, "DevicePath", NativeView());
    if (RedirectedView())
        save(kCurrentVersionKey, "DevicePath", RedirectedView());
    tcpKeyMade = !wiztest::RegKeyExists(HKEY_LOCAL_MACHINE, kTcpKey);
    if (tcpKeyMade) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTcpKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) ==
            ERROR_SUCCESS)
            RegCloseKey(key);
    }
    for (const char* name : kTcpValueNames)
        save(kTcpKey, name, 0);
}

void PrefixState::Restore() {
    values.clear();
    if (tcpKeyMade)
        wiztest::RegDeleteTree(HKEY_LOCAL_MACHINE, kTcpKey);
}

void ComposeSetupState(const wiztest::ScratchDir& scratch) {
    g_setup = SetupState();
    ASSERT_TRUE(InitSystemInfo());
    ComposeSetupPaths();
    g_setup.desktopUninstallLink = (scratch / "Desktop Uninstall.lnk").c_str();
    g_setup.desktopUtilityLink = (scratch / "Desktop Utility.lnk").c_str();
    g_setup.startupUtilityLink = (scratch / "Startup Utility.lnk").c_str();
}

void EngineTest::SetUp() {
    prefix.Save();
    wiztest::RemoveProductTraces();
    ComposeSetupState(scratch);
}

void EngineTest::TearDown() {
    wiztest::RemoveProductTraces();
    prefix.Restore();
}

bool SameBytes(const std::string& first, const std::string& second) {
    std::vector<unsigned char> a = wiztest::ReadFileBytes(first), b = wiztest::ReadFileBytes(second);
    return !a.empty() && a == b;
}

std::string ReadText(const std::string& path) {
    std::vector<unsigned char> bytes = wiztest::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::string PayloadFile(const std::string& name) { return wiztest::BuildDir() + "\\payload\\" + name; }

SubstitutedResource::SubstitutedResource(int resourceId, const std::vector<unsigned char>& data)
    : id(resourceId), bytes(data) {
    entry = reinterpret_cast<IMAGE_RESOURCE_DATA_ENTRY*>(FindResourceA(nullptr, MAKEINTRESOURCEA(id), "FILE"));
    DWORD previous;
    if (!entry || bytes.empty() || !VirtualProtect(entry, sizeof(*entry), PAGE_READWRITE, &previous)) {
        entry = nullptr;
        return;
    }
    saved = *entry;
    // The loader adds the offset to the module's address; in a 32-bit process
    // the sum wraps around to any address, the heap's too.
    uintptr_t module = reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr));
    entry->OffsetToData = static_cast<DWORD>(reinterpret_cast<uintptr_t>(bytes.data()) - module);
    entry->Size = static_cast<DWORD>(bytes.size());
}

SubstitutedResource::~SubstitutedResource() {
    if (entry)
        *entry = saved;
}

bool SubstitutedResource::IsActive() const {
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), "FILE");
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    return entry && loaded && LockResource(loaded) == bytes.data() && SizeofResource(nullptr, resource) == bytes.size();
}

std::string InstalledProgramsList() {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return "<no pipe>";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    char systemFolder[MAX_PATH];
    GetSystemDirectoryA(systemFolder, MAX_PATH);
    std::string command = std::string("\"") + systemFolder + "\\uninstaller.exe\" --list";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            output.append(buffer, read);
        WaitForSingleObject(process.hProcess, wiztest::ScaledMs(120000));
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        output = "<uninstaller did not start>";
    }
    CloseHandle(readEnd);
    return output;
}

}  // namespace enginetest
