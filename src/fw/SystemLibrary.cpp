#include "fw/SystemLibrary.h"

#include "fw/Path.h"

HMODULE LoadSystemLibrary(const char* fileName) {
    char folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    String path;
    if (length == 0 || length >= MAX_PATH || !JoinPathWithinMaxPath(String(folder, length).c_str(), fileName, path))
        return nullptr;
    return ::LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace {

// Libraries that Windows' own libraries load by bare name while the wizard
// runs, so that the search would reach the program's folder first. Loaded
// here from the system folder, they are found already loaded instead. On a
// Windows Vista without the loader update this is the only protection; on
// Vista the loader is not restricted even where it could be, because
// SetDefaultDllDirectories there makes CoCreateInstance(CLSID_ShellLink), the
// Uninstall shortcut, fail. A name the system lacks is skipped.
const char* const kPreloadedLibraries[] = {
    "uxtheme.dll",    // visual styles: the common controls 6 and user32
    "version.dll",    // version resources: the common controls and the shell
    "dwmapi.dll",     // desktop composition: uxtheme, the window frame
    "propsys.dll",    // property system: the shell (folder browser, links)
    "apphelp.dll",    // compatibility database: the shell, when it starts a program
    "userenv.dll",    // user profiles: the shell's special folders
    "setupapi.dll",   // device installation: the shell, DevAgent.dll
    "oleacc.dll",     // accessibility: the common controls
    "clbcatq.dll",    // COM class catalogue: ole32, when it creates the shell link
    "cryptbase.dll",  // base cryptography: advapi32 of later Windows
    "profapi.dll",    // profile paths: userenv of later Windows
    "comres.dll",     // COM+ resources: clbcatq
    "crypt32.dll",    // certificates: wintrust and the shell, on checking a signature
    "wintrust.dll",   // signature checks: setupapi, on staging the driver package's catalog
    "msimg32.dll",    // alpha blending: the common controls and the shell
    "rsaenh.dll",     // the RSA cryptographic provider: advapi32
    "kerberos.dll",   // security packages, which secur32 loads by bare name when it
    "msv1_0.dll",     // starts: loaded ahead of it for that reason
    "secur32.dll",    // security packages: the shell and the network libraries
};

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFn)(DWORD);

}  // namespace

void HardenLibrarySearch(bool restrictToSystemFolder) {
    ::SetDllDirectoryA("");
    // Present on Vista only with the loader update: looked up, not imported.
    SetDefaultDllDirectoriesFn restrict =
        EntryPoint<SetDefaultDllDirectoriesFn>(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (restrictToSystemFolder && restrict)
        restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Kept loaded for the life of the process.
    for (const char* name : kPreloadedLibraries)
        LoadSystemLibrary(name);
}

HMODULE Comctl32Library() {
    static HMODULE library = [] {
        // Version 6 lives in the side-by-side store: only a load by name in
        // the manifest's activation context reaches it, and the context
        // answers that name before any search. Without such a redirection,
        // the system folder's copy.
        ACTCTX_SECTION_KEYED_DATA redirection = {};
        redirection.cbSize = sizeof(redirection);
        if (::FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, "comctl32.dll",
                                       &redirection))
            return ::LoadLibraryA("comctl32.dll");
        return LoadSystemLibrary("comctl32.dll");
    }();
    return library;
}

HMODULE Shell32Library() {
    static HMODULE library = LoadSystemLibrary("shell32.dll");
    return library;
}

FARPROC EntryPointTable::Entry(size_t index) {
    if (!bound_) {
        bound_ = true;
        HMODULE module = library_();
        for (size_t i = 0; i < count_; ++i)
            entries_[i] = module ? ::GetProcAddress(module, names_[i]) : nullptr;
    }
    return entries_[index];
}
