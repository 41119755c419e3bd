#include "system/CWinSetup.h"

#include <windows.h>
#include <shlobj.h>

#include "fw/ShellApi.h"

CWinSetup::CWinSetup() : legacyPlatform(false) { Resolve(); }

bool CWinSetup::Resolve() {
    char buffer[MAX_PATH] = {0};
    UINT length = ::GetWindowsDirectoryA(buffer, MAX_PATH);
    if (length >= MAX_PATH)
        length = 0;  // the folder did not fit: treat it as unknown
    return ResolveFrom(buffer, length, ::GetVersion() >= 0x80000000u);
}

bool CWinSetup::ResolveFrom(const char* windowsDirectory, unsigned length, bool legacy) {
    legacyPlatform = legacy;
    if (length < 3)
        return false;
    windowsDir = String(windowsDirectory, length);
    windowsDrive = windowsDir.Left(3);
    systemFolder = JoinPath(windowsDir, "system");
    system32Folder = JoinPath(windowsDir, "system32");
    return true;
}

String CWinSetup::GetDriversDir() const {
    if (legacyPlatform)
        return systemFolder;
    return JoinPath(system32Folder, "Drivers");
}

String CWinSetup::GetProgramFilesDir() const {
    if (legacyPlatform)
        return windowsDrive + "Program Files";
    return GetShellFolder(CSIDL_PROGRAM_FILES);
}

String CWinSetup::GetShellFolder(int csidl) const {
    // Asked wide: the shell's narrow answer takes a best fit for a character
    // of the folder's name that the code page lacks, which may be a separator.
    wchar_t wide[MAX_PATH] = {0};
    char folder[MAX_PATH];
    if (!ShellApi::SHGetSpecialFolderPathW(nullptr, wide, csidl, FALSE) ||
        !NarrowWithoutBestFit(wide, folder, MAX_PATH))
        return String();
    return String(folder);
}
