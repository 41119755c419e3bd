#include "engine/wizInstall.h"

#include "engine/EnginePaths.h"
#include "state/SetupState.h"
#include "system/wizMisc.h"

namespace {

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


bool RegisterUninstall() {
    if (!OpenOrCreateKey(HKEY_LOCAL_MACHINE, kUninstallParentKey, g_setup.uninstallKeyName.c_str(), true))
        return false;
    String keyPath = UninstallKeyPath(g_setup.uninstallKeyName.c_str());
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
