#include "support/ProductTraces.h"
#include "support/TestDevices.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "fw/UniqueHandle.h"
#include "support/TestSupport.h"

namespace wiztest {

const char kProduct[] = "Kestrin Duoflex Wireless Adapter";
const char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrin Duoflex Wireless Adapter";

namespace {

std::string SetupCopyParent() { return ProgramFilesDir() + "\\Orvel\\Setup\\LQ38"; }

// Removes folder and then its parents up to (not including) stop, while empty.
void RemoveEmptyParents(std::string folder, const std::string& stop) {
    while (folder.size() > stop.size() && folder.compare(0, stop.size(), stop) == 0) {
        if (!RemoveDirectoryA(folder.c_str()))
            return;
        folder = folder.substr(0, folder.rfind('\\'));
    }
}

// The link's fields as read from the loaded file; a field that cannot be read stays empty.
void ReadLinkFields(IShellLinkA* link, LinkInfo& info) {
    char text[MAX_PATH] = "";
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)))
        info.target = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
        info.workingFolder = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetDescription(text, MAX_PATH)))
        info.description = text;
}

}  // namespace

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return path;
}

std::string ProgramFilesDir() { return ShellFolder(CSIDL_PROGRAM_FILES); }

bool CreateUninstallEntry() {
    UniqueRegKey key;
    return RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(),
                           nullptr) == ERROR_SUCCESS;
}

void WriteUninstallString(const std::string& name, const std::string& text) {
    ASSERT_TRUE(CreateUninstallEntry());
    UniqueRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_SET_VALUE, key.Receive()));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(text.c_str()),
                                            static_cast<DWORD>(text.size() + 1)));
}

void RemoveUninstallEntry() { RegDeleteTree(HKEY_LOCAL_MACHINE, kUninstallKey); }

void RemoveProductTraces() {
    RemoveUninstallEntry();
    DeleteProductTree(SetupCopyParent() + "\\Kestrin Duoflex");
    RemoveEmptyParents(SetupCopyParent(), ProgramFilesDir());
    DeleteProductTree(ProgramFilesDir() + "\\Kestrin Duoflex");
    DeleteProductTree(ShellFolder(CSIDL_PROGRAMS) + "\\" + kProduct);
    DeleteProductTree(ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\" + kProduct);
    DeleteStagedProductPackages();
}

LinkInfo ReadShortcut(const std::string& linkPath) {
    LinkInfo info;
    HRESULT com = CoInitialize(nullptr);
    UniqueComPtr<IShellLinkA> link;
    UniqueComPtr<IPersistFile> file;
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(link.Receive()))) &&
        SUCCEEDED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) &&
        SUCCEEDED(file.Get()->Load(wide, STGM_READ))) {
        info.loaded = true;
        ReadLinkFields(link.Get(), info);
    }
    file.Reset();
    link.Reset();
    if (SUCCEEDED(com))
        CoUninitialize();
    return info;
}

}  // namespace wiztest
