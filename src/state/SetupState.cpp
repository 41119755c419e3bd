#include "state/SetupState.h"

#include <shlobj.h>

#include "fw/Path.h"
#include "fw/SystemLibrary.h"
#include "system/CWinSetup.h"

namespace {
// Lives until the process ends and is never destroyed: the system takes its
// memory back, and destroying it would cost the program a release of each of
// its strings in code.
union LifelongSetupState {
    constexpr LifelongSetupState() : state() {}
    ~LifelongSetupState() {}
    SetupState state;
};
LifelongSetupState g_lifelongSetup;
}  // namespace

SetupState& g_setup = g_lifelongSetup.state;

WORD OsCodeFromVersion(DWORD major, DWORD minor, WORD nativeArchitecture) {
    switch (major * 100 + minor) {
    case 351: return 351;
    case 400: return 400;
    case 410: return 410;
    case 490: return 490;
    case 500: return 500;
    case 501: return 501;
    case 502: return 502;
    case 600: return nativeArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? kOsVistaAmd64 : kOsVistaX86;
    default: return 0;
    }
}

static WORD NativeArchitecture() {
    typedef void(WINAPI * GetNativeSystemInfoFn)(SYSTEM_INFO*);
    SYSTEM_INFO info;
    ZeroMemory(&info, sizeof(info));
    GetNativeSystemInfoFn getNative =
        EntryPoint<GetNativeSystemInfoFn>(::GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo");
    if (getNative)
        getNative(&info);
    else
        ::GetSystemInfo(&info);
    return info.wProcessorArchitecture;
}

WORD GetOsCode() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    if (!::GetVersionExA(&version))
        ZeroMemory(&version, sizeof(version));
    if (version.dwMajorVersion == 6 && version.dwMinorVersion == 0)
        return OsCodeFromVersion(6, 0, NativeArchitecture());
    return OsCodeFromVersion(version.dwMajorVersion, version.dwMinorVersion, 0);
}

bool InitSystemInfo() {
    CWinSetup folders;
    g_setup.legacyPlatform = ::GetVersion() >= 0x80000000u;
    g_setup.osCode = GetOsCode();
    g_setup.windowsDrive = folders.GetWindowsDrive();
    g_setup.windowsDir = folders.GetWindowsDir();
    g_setup.systemDir = folders.GetSystemDir();
    g_setup.driversDir = folders.GetDriversDir();
    g_setup.infDir = folders.GetInfDir();
    g_setup.tempDir = folders.GetTempDir();
    g_setup.programFilesDir = folders.GetProgramFilesDir();
    g_setup.programsMenuDir = folders.GetShellFolder(CSIDL_PROGRAMS);
    g_setup.startupDir = folders.GetShellFolder(CSIDL_STARTUP);
    g_setup.desktopDir = folders.GetShellFolder(CSIDL_DESKTOPDIRECTORY);
    return g_setup.osCode != 0;
}

// The file name without folder and extension: the program's own name.
static String ModuleBaseName(const char* modulePath) {
    const char* separator = FindLastSeparator(modulePath);
    String name(separator ? separator + 1 : modulePath);
    long dot = name.FindLast('.');
    return dot < 0 ? name : name.Left(static_cast<size_t>(dot));
}

String UninstallKeyPath(const char* keyName) { return String::Format("%s\\%s", kUninstallParentKey, keyName); }

void ComposeSetupPathsFrom(SetupState& s, const char* modulePath, const char* currentDir) {
    s.setupExeName = ModuleBaseName(modulePath) + ".exe";
    s.sourceDir = currentDir;
    s.setupExePath = modulePath;
    s.setupCopyDir = JoinPath(s.programFilesDir, "Orvel\\Setup\\LQ38\\Kestrin Duoflex");
    s.setupCopyName = "Setup.exe";
    s.setupCopyPath = JoinPath(s.setupCopyDir, s.setupCopyName.c_str());
    s.installDir = JoinPath(s.programFilesDir, "Kestrin Duoflex");
    s.utilityExeName = "KestrinDuoflex.exe";
    s.utilityExePath = JoinPath(s.installDir, s.utilityExeName.c_str());
    if (!s.programsMenuDir.IsEmpty()) {
        s.menuFolderName = kProductName;
        s.menuFolderDir = JoinPath(s.programsMenuDir, s.menuFolderName.c_str());
        s.menuUninstallLink = JoinPath(s.menuFolderDir, "Uninstall.lnk");
        s.menuUtilityLink = JoinPath(s.menuFolderDir, "Kestrin Duoflex Wireless Utility.lnk");
    }
    if (!s.startupDir.IsEmpty())
        s.startupUtilityLink = JoinPath(s.startupDir, "Kestrin Duoflex Wireless Utility.lnk");
    if (!s.desktopDir.IsEmpty()) {
        s.desktopUninstallLink = JoinPath(s.desktopDir, "Uninstall.lnk");
        s.desktopUtilityLink = JoinPath(s.desktopDir, "Kestrin Duoflex Wireless Utility.lnk");
    }
    s.uninstallKeyName = kProductName;
    s.productName = kProductName;
    s.uninstallCommand = s.setupCopyPath;
}

void ComposeSetupPaths() {
    char modulePath[MAX_PATH] = {0};
    DWORD length = ::GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        modulePath[0] = '\0';  // no usable path: the later copy of the wizard fails cleanly
    char currentDir[MAX_PATH] = {0};
    DWORD dirLength = ::GetCurrentDirectoryA(MAX_PATH, currentDir);
    if (dirLength >= MAX_PATH)
        currentDir[0] = '\0';
    ComposeSetupPathsFrom(g_setup, modulePath, currentDir);
}

void SetInstallDir(const char* folder) {
    g_setup.installDir = folder;
    g_setup.utilityExePath = JoinPath(g_setup.installDir, g_setup.utilityExeName.c_str());
}

String GetInstallDir() { return g_setup.installDir; }
