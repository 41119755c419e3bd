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
//
// Beside each: the library that loads it by name and how that is known.
// "Vista": how Vista's libraries load it, as they are documented (they cannot
// run here). "Wine": seen here, under Wine, by a trace of every LoadLibrary
// call of a whole installation and removal (RelayInclude on LoadLibrary*);
// those entries only Wine needs. "7": Windows 7 and later only; Vista has no
// such file, and the entry is skipped there.
const char* const kPreloadedLibraries[] = {
    "uxtheme.dll",    // Vista: user32 and the common controls 6, for visual styles
    "version.dll",    // Vista: the common controls and the shell, for version resources
                      // (Wine's user32 imports it, so under Wine it is there before this runs)
    "dwmapi.dll",     // Vista: uxtheme and user32, for desktop composition of the frame
    "propsys.dll",    // Vista: the shell's property system (folder browser, links)
    "apphelp.dll",    // Vista: the shell's compatibility checks, when it starts a program
    "userenv.dll",    // Vista: the shell, for the special folders of a profile
    "setupapi.dll",   // Vista: the shell; DevAgent.dll imports it from its own folder
    "oleacc.dll",     // Vista: the common controls 6, for accessibility
    "clbcatq.dll",    // Vista: ole32's COM+ catalogue, when it creates the shell link
    "cryptbase.dll",  // 7: advapi32's base cryptography
    "profapi.dll",    // 7: userenv's profile paths
    "comres.dll",     // Vista: clbcatq, for its resources
    "crypt32.dll",    // Vista: wintrust and the shell, on checking a signature
    "wintrust.dll",   // Vista: setupapi, on staging the driver package's catalog
    "msimg32.dll",    // Vista: the common controls and the shell, for alpha blending
    "rsaenh.dll",     // Vista: advapi32, by the provider's registered file name, for the
                      // payload digests (CryptAcquireContext)
    "kerberos.dll",   // Wine: its secur32 loads both security packages by bare name as
    "msv1_0.dll",     // it attaches (seen in the trace), so they are loaded ahead of it
    "secur32.dll",    // Vista: the shell and the network libraries
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
