#include "app/wizWizard.h"

#include <windows.h>

#include "fw/String.h"
#include "fw/UniqueHandle.h"
#include "state/SetupState.h"

bool IsProductInstalled(const char* keyName) {
    String path = UninstallKeyPath(keyName);
    UniqueRegKey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, key.Receive()) == ERROR_SUCCESS;
}
