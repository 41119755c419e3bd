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
//
// Each is loaded at start, or, where that loader and the call that makes it
// load are both known, right before the wizard's first such call: a library
// of a later step then costs nothing before the first page.
struct Preload {
    char name[14];  // held in place: the list costs no pointers
    LibraryUse use;
};

const Preload kPreloadedLibraries[] = {
    {"uxtheme.dll", LibraryUse::Start},    // Vista: user32 and the common controls 6, for visual styles
    {"version.dll", LibraryUse::Start},    // Vista: the common controls and the shell, for version
                                           // resources (Wine's user32 imports it, so under Wine it is
                                           // there before this runs)
    {"dwmapi.dll", LibraryUse::Start},     // Vista: uxtheme and user32, for desktop composition of the frame
    {"propsys.dll", LibraryUse::ShellObjects},  // Vista: the shell's property system, for the folder
                                                // browser and the shell link
    {"apphelp.dll", LibraryUse::Start},    // Vista: the shell's compatibility checks, when it starts a program
    {"userenv.dll", LibraryUse::Start},    // Vista: the shell, for the special folders of a profile
    {"setupapi.dll", LibraryUse::Start},   // Vista: the shell; DevAgent.dll imports it from its own folder
    {"oleacc.dll", LibraryUse::Start},     // Vista: the common controls 6, for accessibility
    {"clbcatq.dll", LibraryUse::ShellObjects},  // Vista: ole32's COM+ catalogue, when it creates a shell object
    {"cryptbase.dll", LibraryUse::Start},  // 7: advapi32's base cryptography
    {"profapi.dll", LibraryUse::Start},    // 7: userenv's profile paths
    {"comres.dll", LibraryUse::ShellObjects},   // Vista: clbcatq, for its resources
    {"crypt32.dll", LibraryUse::Signatures},    // Vista: wintrust (which imports it) and the shell, on
                                                // checking a signature: staging the driver package's
                                                // catalog, or opening a file through the shell
    {"wintrust.dll", LibraryUse::Signatures},   // Vista: setupapi, on staging the driver package's catalog
    {"msimg32.dll", LibraryUse::Start},    // Vista: the common controls and the shell, for alpha blending
    {"rsaenh.dll", LibraryUse::Digests},   // Vista: advapi32, by the provider's registered file name, on
                                           // CryptAcquireContext for the payload digests
    {"kerberos.dll", LibraryUse::Start},   // Wine: its secur32 loads both security packages by bare name as
    {"msv1_0.dll", LibraryUse::Start},     // it attaches (seen in the trace), so they are loaded ahead of it
    {"secur32.dll", LibraryUse::Start},    // Vista: the shell and the network libraries
};

void LoadPreloadsOf(LibraryUse use) {
    for (const Preload& library : kPreloadedLibraries)
        if (library.use == use)
            LoadSystemLibrary(library.name);
}

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFn)(DWORD);

}  // namespace

void HardenLibrarySearch(bool restrictToSystemFolder) {
    ::SetDllDirectoryA("");
    // Present on Vista only with the loader update: looked up, not imported.
    SetDefaultDllDirectoriesFn restrict =
        EntryPoint<SetDefaultDllDirectoriesFn>(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    if (restrictToSystemFolder && restrict)
        restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Kept loaded for the life of the process, as are the later ones.
    LoadPreloadsOf(LibraryUse::Start);
}

void PreloadLibrariesFor(LibraryUse use) {
    static bool loaded[static_cast<int>(LibraryUse::Count)];
    bool& done = loaded[static_cast<int>(use)];
    if (!done)
        LoadPreloadsOf(use);
    done = true;
}

void PreloadLibrariesForLaterSteps() {
    PreloadLibrariesFor(LibraryUse::Digests);
    PreloadLibrariesFor(LibraryUse::ShellObjects);
    PreloadLibrariesFor(LibraryUse::Signatures);
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
