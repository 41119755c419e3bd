// Times the engine's install and removal sequences next to a plain copy of the
// same files with the same registry writes (and plain deletes for removal), on
// the same prefix, interleaved; for bench/engine.sh and bench/peers.sh.
// Usage: engine_bench [RUNS] [foreign] [tsv]
// With "foreign", DevicePath also lists a folder of 200 INF files of another
// vendor for the adapter, which the driver step must pass over. With "tsv", it
// prints each run's figures instead of the medians: a header line of column
// names, then one line per run (bench/peers.sh reads it). No adapter is
// present in the bench's prefix: the driver step stages the package only.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/wizInstall.h"
#include "fw/SystemLibrary.h"
#include "payload/ResourceFile.h"
#include "payload/wizCab.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

namespace {

const char kStage[] = "C:\\bench-engine";
const char kTcpKey[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";
const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

LARGE_INTEGER frequency;

double Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string S(const String& text) { return text.c_str(); }

std::string StagePath(const char* name) { return std::string(kStage) + "\\" + name; }

std::vector<std::string> DriverFiles() {
    if (g_setup.osCode == kOsVistaAmd64)
        return {"vxa3864.sys", "vxa3864.inf", "vxa3864.cat"};
    return {"vxa38.sys", "vxa38.inf", "vxa38.cat"};
}

// The payload unpacked once, and a shortcut made once, for the plain copy to copy.
bool Stage() {
    CreateDirectoryA(kStage, nullptr);
    bool staged = WriteResourceToFile(29330, kStage, "common.cab") &&
                  WriteResourceToFile(g_setup.osCode == kOsVistaAmd64 ? 29410 : 29400, kStage, "driver.cab");
    staged = staged && ExtractFile(StagePath("common.cab").c_str(), kStage, "DevAgent.dll");
    for (const std::string& file : DriverFiles())
        staged = staged && ExtractFile(StagePath("driver.cab").c_str(), kStage, file.c_str());
    staged = staged && CreateShortcut(S(g_setup.setupCopyPath).c_str(), S(g_setup.setupCopyDir).c_str(),
                                      StagePath("Uninstall.lnk").c_str(), "");
    return staged && GetFileAttributesA(StagePath("Uninstall.lnk").c_str()) != INVALID_FILE_ATTRIBUTES;
}

void CreateTree(const std::string& path) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

void SetString(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

void PlainInstall() {
    std::string setupDir = S(g_setup.setupCopyDir), installDir = S(g_setup.installDir);
    CreateTree(setupDir);
    CopyFileA(S(g_setup.setupExePath).c_str(), S(g_setup.setupCopyPath).c_str(), FALSE);
    CreateTree(installDir);
    CloseHandle(CreateFileA((installDir + "\\~NoKill.wiz").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    CopyFileA(StagePath("DevAgent.dll").c_str(), (setupDir + "\\DevAgent.dll").c_str(), FALSE);
    for (const std::string& file : DriverFiles())
        CopyFileA(StagePath(file.c_str()).c_str(), (installDir + "\\" + file).c_str(), FALSE);
    CreateTree(S(g_setup.menuFolderDir));
    CopyFileA(StagePath("Uninstall.lnk").c_str(), S(g_setup.menuUninstallLink).c_str(), FALSE);

    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kTcpKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        const std::pair<const char*, DWORD> values[] = {
            {"TCPWindowSize", 0x10000}, {"SackOpts", 1}, {"TcpMaxDupAcks", 2}, {"Tcp1323Opts", 1}};
        for (const auto& value : values)
            RegSetValueExA(key, value.first, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.second), 4);
        RegCloseKey(key);
    }
    std::string uninstallKey = std::string(kUninstallParentKey) + "\\" + kProductName;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, uninstallKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        SetString(key, "DisplayName", kProductName);
        SetString(key, "UninstallString", "\"" + S(g_setup.setupCopyPath) + "\"");
        SetString(key, "AppFolder", installDir);
        SetString(key, "ProgramsFolder", S(g_setup.menuFolderDir));
        RegCloseKey(key);
    }
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        char value[2048] = "";
        DWORD size = sizeof(value) - 1, type = REG_NONE;
        RegQueryValueExA(key, "DevicePath", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
        std::string updated = installDir + ";" + value;
        RegSetValueExA(key, "DevicePath", 0, type, reinterpret_cast<const BYTE*>(updated.c_str()),
                       static_cast<DWORD>(updated.size() + 1));
        RegCloseKey(key);
    }
}

void PlainRemove() {
    std::string installDir = S(g_setup.installDir);
    DeleteFileA((installDir + "\\~NoKill.wiz").c_str());
    for (const std::string& file : DriverFiles())
        DeleteFileA((installDir + "\\" + file).c_str());
    RemoveDirectoryA(installDir.c_str());
    DeleteFileA(S(g_setup.menuUninstallLink).c_str());
    RemoveDirectoryA(S(g_setup.menuFolderDir).c_str());
    HKEY parent;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallParentKey, 0, KEY_ALL_ACCESS, &parent) == ERROR_SUCCESS) {
        RegDeleteKeyA(parent, kProductName);
        RegCloseKey(parent);
    }
}

// Each operation of a run's rows, in the run's order, with its times.
struct Step {
    const RunStep* row;
    std::vector<double> times;
};

std::vector<Step> StepsOf(const EngineRun& run) {
    std::vector<Step> steps;
    for (const RunStep* row = run.steps; row < run.steps + run.stepCount; ++row)
        if (row->operation)
            steps.push_back({row, {}});
    return steps;
}

// Runs the steps in order, each timed when record is set; true when every one did its work.
bool RunSteps(std::vector<Step>& steps, bool record) {
    bool done = true;
    for (Step& step : steps) {
        double start = Now();
        done = step.row->operation() && done;
        if (record)
            step.times.push_back(Now() - start);
    }
    return done;
}

// Each step by the name the Finish page gives it.
void ReportSteps(const std::vector<Step>& steps) {
    for (const Step& step : steps)
        printf("  %-34s %8.1f ms\n", step.row->failureName, Median(step.times));
    printf("\n");
}

// A column per step, by the name the Finish page gives it, "_" for each blank.
void PrintStepNames(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        printf("\t");
        for (const char* at = step.row->failureName; *at; ++at)
            putchar(*at == ' ' ? '_' : *at);
    }
}

void PrintStepTimes(const std::vector<Step>& steps, size_t run) {
    for (const Step& step : steps)
        printf("\t%.3f", step.times[run]);
}

// One line per run; all_done is 1 when every step of every run did its work.
void PrintRunTable(const std::vector<Step>& installSteps, const std::vector<Step>& removalSteps,
                   const std::vector<double>& pumping, const std::vector<double>& install,
                   const std::vector<double>& removal, const std::vector<double>& plainInstall,
                   const std::vector<double>& plainRemoval, bool allDone) {
    printf("pumping\tinstall");
    PrintStepNames(installSteps);
    printf("\tremoval");
    PrintStepNames(removalSteps);
    printf("\tplain_install\tplain_removal\tall_done\n");
    for (size_t run = 0; run < pumping.size(); ++run) {
        printf("%.3f\t%.3f", pumping[run], install[run]);
        PrintStepTimes(installSteps, run);
        printf("\t%.3f", removal[run]);
        PrintStepTimes(removalSteps, run);
        printf("\t%.3f\t%.3f\t%d\n", plainInstall[run], plainRemoval[run], allDone ? 1 : 0);
    }
}

// Everything either way leaves behind, so that each run is a first installation.
void Clean(const std::string& devicePath, DWORD devicePathType) {
    PlainRemove();
    std::string setupDir = S(g_setup.setupCopyDir);
    DeleteFileA(S(g_setup.setupCopyPath).c_str());
    DeleteFileA((setupDir + "\\DevAgent.dll").c_str());
    RemoveDirectoryA(setupDir.c_str());
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegSetValueExA(key, "DevicePath", 0, devicePathType, reinterpret_cast<const BYTE*>(devicePath.c_str()),
                       static_cast<DWORD>(devicePath.size() + 1));
        RegCloseKey(key);
    }
}

void Report(const char* what, double engine, double pumping, const char* plainWhat, double plain, const char* target) {
    printf("%-36s %8.1f ms", what, engine);
    if (pumping > 0)
        printf("  (%.1f ms of it the mandated 2 x PumpWait(10))", pumping);
    printf("\n%-36s %8.1f ms\n", plainWhat, plain);
    printf("%-36s %8.2f%s\n\n", pumping > 0 ? "ratio, pumping excluded:" : "ratio:", (engine - pumping) / plain,
           target);
}

// 200 INFs of another vendor listing the adapter, in a folder appended to DevicePath.
void AddForeignInfFolder() {
    std::string folder = std::string(kStage) + "\\foreign";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < 200; ++i) {
        char name[32];
        snprintf(name, sizeof(name), "\\other%03d.inf", i);
        std::string text =
            "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Net\r\nProvider=\"Other Vendor\"\r\n"
            "CatalogFile=other.cat\r\n[Manufacturer]\r\nOther=Other,NTx86,NTamd64\r\n"
            "[Other.NTx86]\r\nAdapter=Other.ndi,PCI\\VEN_7A3C&DEV_0B52\r\n"
            "[Other.NTamd64]\r\nAdapter=Other.ndi,PCI\\VEN_7A3C&DEV_0B52\r\n";
        HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        char value[2048] = "";
        DWORD size = sizeof(value) - 1, type = REG_EXPAND_SZ;
        RegQueryValueExA(key, "DevicePath", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
        std::string updated = std::string(value) + ";" + folder;
        RegSetValueExA(key, "DevicePath", 0, type, reinterpret_cast<const BYTE*>(updated.c_str()),
                       static_cast<DWORD>(updated.size() + 1));
        RegCloseKey(key);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? atoi(argv[1]) : 9;
    QueryPerformanceFrequency(&frequency);
    // What the wizard has loaded by the time its steps run: the libraries of
    // start-up, and those it loads while the first page is shown.
    HardenLibrarySearch(false);
    PreloadLibrariesForLaterSteps();
    if (!InitSystemInfo()) {
        fprintf(stderr, "engine_bench: not a Vista prefix\n");
        return 2;
    }
    ComposeSetupPaths();
    // The wizard copies itself: Setup.exe of this build (Y:\Setup.exe), not the bench program.
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string setupExe = module;
    setupExe = setupExe.substr(0, setupExe.rfind('\\'));
    setupExe = setupExe.substr(0, setupExe.rfind('\\')) + "\\Setup.exe";
    g_setup.setupExePath = setupExe.c_str();
    SetInstallDir((std::string(kStage) + "\\Kestrin Duoflex").c_str());
    if (!Stage()) {
        fprintf(stderr, "engine_bench: could not stage the payload\n");
        return 1;
    }
    bool foreign = false, tsv = false;
    for (int i = 2; i < argc; ++i) {
        foreign = foreign || strcmp(argv[i], "foreign") == 0;
        tsv = tsv || strcmp(argv[i], "tsv") == 0;
    }
    if (foreign)
        AddForeignInfFolder();
    char devicePath[2048] = "";
    DWORD size = sizeof(devicePath) - 1, type = REG_EXPAND_SZ;
    RegGetValueA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "DevicePath",
                 RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, &type, devicePath, &size);

    // The rows a first installation and a removal run, as the progress pages walk them.
    std::vector<Step> installSteps = StepsOf(installationRun), removalSteps = StepsOf(removalRun);
    std::vector<double> engineInstall, engineRemove, plainInstall, plainRemove, pumping;
    bool allDone = true;
    for (int run = -1; run < runs; ++run) {  // run -1 warms the caches
        Clean(devicePath, type);
        double start = Now();
        PumpWait(10);
        PumpWait(10);
        double pumped = Now();
        bool installed = RunSteps(installSteps, run >= 0);
        double installedAt = Now();
        bool removed = RunSteps(removalSteps, run >= 0);
        double removedAt = Now();
        Clean(devicePath, type);
        double plainStart = Now();
        PlainInstall();
        double plainInstalled = Now();
        PlainRemove();
        double plainRemoved = Now();
        if (run < 0)
            continue;
        allDone = allDone && installed && removed;
        pumping.push_back(pumped - start);
        engineInstall.push_back(installedAt - pumped);
        engineRemove.push_back(removedAt - installedAt);
        plainInstall.push_back(plainInstalled - plainStart);
        plainRemove.push_back(plainRemoved - plainInstalled);
    }
    Clean(devicePath, type);

    if (tsv) {
        PrintRunTable(installSteps, removalSteps, pumping, engineInstall, engineRemove, plainInstall, plainRemove,
                      allDone);
        return 0;
    }
    printf("medians of %d interleaved runs, osCode %u, no adapter present%s\n\n", runs, g_setup.osCode,
           foreign ? ", 200 foreign INFs on DevicePath" : "");
    Report("engine install sequence:", Median(engineInstall), Median(pumping),
           "plain copy + the same registry writes:", Median(plainInstall), "  (target <= 1.50)");
    printf("  (copying files includes the pumping)\n");
    ReportSteps(installSteps);
    Report("engine removal sequence:", Median(engineRemove), 0, "plain deletes + key deletion:", Median(plainRemove),
           "");
    ReportSteps(removalSteps);
    if (!allDone)
        printf("note: some engine step reported failure\n");
    return 0;
}
