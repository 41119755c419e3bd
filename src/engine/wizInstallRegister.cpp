#include "engine/wizInstall.h"

#include "engine/EnginePaths.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

namespace {

const char kTcpParametersKey[] = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

struct TcpValue {
    const char* name;
    DWORD data;
};

const TcpValue kTcpValues[] = {
    {"TCPWindowSize", 0x10000},
    {"SackOpts", 1},
    {"TcpMaxDupAcks", 2},
    {"Tcp1323Opts", 1},
};

struct UninstallValue {
    const char* name;
    String text;
};

// A value longer than its buffer is refused rather than stored cut short.
bool WriteUninstallValue(const String& keyPath, const UninstallValue& value) {
    return value.text.Length() <= kMaxComposedChars &&
           WriteRegistryString(HKEY_LOCAL_MACHINE, keyPath.c_str(), value.name, value.text.c_str());
}

}  // namespace

bool CreateShortcuts() {
    // Without a Programs folder no menu paths were composed: nothing to create.
    // A menu folder that leads elsewhere (a link) is no place for the link either.
    if (!g_setup.menuFolderDir.IsEmpty() && IsProductMenuFolder(g_setup.menuFolderDir.c_str())) {
        MakeDirectoryTree(g_setup.menuFolderDir.c_str());
        // CreateShortcut answers true for a link it could not save: the file tells.
        CreateShortcut(g_setup.setupCopyPath.c_str(), g_setup.setupCopyDir.c_str(), g_setup.menuUninstallLink.c_str(),
                       "");
        return FileExists(g_setup.menuUninstallLink.c_str());
    }
    return true;
}

bool TuneTcpParameters() {
    bool written = false;
    for (const TcpValue& value : kTcpValues) {
        written = WriteRegistryDword(HKEY_LOCAL_MACHINE, kTcpParametersKey, value.name, value.data);
        if (!written)
            break;
    }
    return written;
}

bool RegisterUninstall() {
    if (!OpenOrCreateKey(HKEY_LOCAL_MACHINE, kUninstallParentKey, g_setup.uninstallKeyName.c_str(), true))
        return false;
    String keyPath = UninstallKeyPath();
    // The path has spaces: unquoted, Windows would try "C:\Program" first.
    const UninstallValue values[] = {
        {"DisplayName", g_setup.productName},
        {"UninstallString", QuotedPath(g_setup.uninstallCommand.c_str())},
        {"AppFolder", g_setup.installDir},
        {"ProgramsFolder", g_setup.menuFolderDir},
    };
    bool written = false;
    for (const UninstallValue& value : values) {
        written = WriteUninstallValue(keyPath, value);
        if (!written)
            break;
    }
    return written;
}
