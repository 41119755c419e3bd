#pragma once
// Where Windows keeps its folders: resolved once at construction, queried by value.
#include "fw/Path.h"
#include "fw/String.h"

class CWinSetup {
public:
    CWinSetup();

    bool Resolve();
    // The resolution itself, from what GetWindowsDirectoryA answered.
    bool ResolveFrom(const char* windowsDirectory, unsigned length, bool legacy);

    String GetWindowsDrive() const { return windowsDrive; }
    String GetWindowsDir() const { return windowsDir; }
    String GetSystemDir() const { return legacyPlatform ? systemFolder : system32Folder; }
    String GetDriversDir() const;
    String GetInfDir() const { return JoinPath(windowsDir, "Inf"); }
    String GetTempDir() const { return JoinPath(windowsDir, "Temp"); }
    String GetProgramFilesDir() const;
    // Asks the shell on every call; the empty string when it has no such folder.
    String GetShellFolder(int csidl) const;

private:
    bool legacyPlatform;
    String windowsDrive;
    String windowsDir;
    String systemFolder;
    String system32Folder;
};
