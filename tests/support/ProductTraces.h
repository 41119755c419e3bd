#pragma once
// What the product leaves in a prefix, for the tests to make, read and take
// away again: the uninstall entry, the product's folders and its shortcut.
#include <string>

namespace wiztest {

extern const char kProduct[];
// The uninstall entry below HKEY_LOCAL_MACHINE, whose existence decides the mode.
extern const char kUninstallKey[];

std::string ShellFolder(int csidl);
std::string ProgramFilesDir();

// Makes the uninstall entry (empty unless it exists); true when it exists.
bool CreateUninstallEntry();
// Writes one REG_SZ value into the uninstall entry, made first when missing.
void WriteUninstallString(const std::string& name, const std::string& text);
void RemoveUninstallEntry();

// Removes everything an installation leaves (the uninstall entry, the setup
// copy's folder and its parents while they are empty, the install folder, the
// product's folder in both Start menus), and only that.
void RemoveProductTraces();

// Target, working folder and description of a shell link, read through
// IShellLinkA; loaded is false when the file could not be loaded as a link.
struct LinkInfo {
    bool loaded = false;
    std::string target, workingFolder, description;
};
LinkInfo ReadShortcut(const std::string& linkPath);

}  // namespace wiztest
