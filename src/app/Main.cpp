// The program's entry: the one application object and WinMain.
#include <windows.h>

#include "app/Wizard97.h"
#include "fw/MessageRecord.h"
#include "fw/SystemLibrary.h"
#include "state/SetupState.h"

CWizard97App theApp;

// On Windows Vista, SetDefaultDllDirectories (with the loader update) makes
// CoCreateInstance(CLSID_ShellLink) fail: there the preloading alone protects.
// The tests build a variant that restricts the loader on Vista too.
static bool RestrictLoaderToSystemFolder() {
#ifdef WIZ_RESTRICT_LOADER_ON_VISTA
    return true;
#else
    WORD osCode = GetOsCode();
    return osCode != kOsVistaX86 && osCode != kOsVistaAmd64;
#endif
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HardenLibrarySearch(RestrictLoaderToSystemFolder());
    RecordRetrievedMessages();
    int result = WinApp::Current()->Run();
    WriteMessageRecord();
    return result;
}
