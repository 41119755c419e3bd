#pragma once
// Where the program's DLLs come from, and their functions bound at run time.
// Setup.exe runs elevated and is usually started from a download folder, which
// Windows searches first for every DLL that is not a KnownDLL, also when a
// system library loads one by bare name.
#include <windows.h>

#include "fw/EntryPoint.h"

// Loads a DLL of the operating system from the system folder only, never from
// the application's folder or the current directory.
HMODULE LoadSystemLibrary(const char* fileName);

// Takes the current directory out of the DLL search, restricts the loader to
// the system folder when restrictToSystemFolder (and the system offers it),
// and loads from the system folder the libraries that Windows' own libraries
// load by bare name from the start. Runs first, before anything loads a library.
void HardenLibrarySearch(bool restrictToSystemFolder);

// What the wizard does after start that makes Windows' libraries load more of
// them by bare name: digests through CryptAcquireContext, shell objects
// through COM (the folder browser, the shell link), and signature checks
// (staging the driver package, opening a file through the shell).
enum class LibraryUse : unsigned char { Start, Digests, ShellObjects, Signatures, Count };

// Loads from the system folder, once, the libraries of that use. Called right
// before the first call that would pull them in.
void PreloadLibrariesFor(LibraryUse use);
// All of them: the wizard does this while its first page waits for the user,
// so that no step pays for them.
void PreloadLibrariesForLaterSteps();

// The common controls of the manifest's version (through the activation
// context), and the shell, from the system folder. Loaded on first use and
// kept for the life of the process; null when not available.
HMODULE Comctl32Library();
HMODULE Shell32Library();

// The functions of one library, looked up by name all at once on the first
// call to Get and kept for the life of the process. Made as a constant, so a
// table at namespace scope needs no code before that call.
class EntryPointTable {
public:
    constexpr EntryPointTable(HMODULE (*library)(), const char* const* names, FARPROC* entries, size_t count)
        : library_(library), names_(names), entries_(entries), count_(count) {}

    // Entry index (below count) as the type Fn; nullptr when the library or
    // that function is missing.
    template <typename Fn>
    Fn Get(size_t index) {
        return AsFunction<Fn>(Entry(index));
    }

private:
    FARPROC Entry(size_t index);

    HMODULE (*library_)();
    const char* const* names_;
    FARPROC* entries_;
    size_t count_;
    bool bound_ = false;
};

// A table of a library's functions from one list of their names, so that one
// name gives a function's index, the name looked up and, from the Windows
// declaration of that name, its type:
//   #define SHELL32_FUNCTIONS(F) F(SHGetMalloc) F(ShellExecuteA)
//   ENTRY_POINT_TABLE(g_shell32, Shell32Library, SHELL32_FUNCTIONS);
//   auto execute = BOUND_ENTRY(g_shell32, ShellExecuteA);  // nullptr when missing
#define ENTRY_POINT_INDEX(name) k##name,
#define ENTRY_POINT_NAME(name) #name,
#define ENTRY_POINT_TABLE(table, library, FUNCTIONS)                                                  \
    enum { FUNCTIONS(ENTRY_POINT_INDEX) table##Count };                                               \
    const char* const table##Names[] = {FUNCTIONS(ENTRY_POINT_NAME)};                                 \
    static_assert(sizeof(table##Names) / sizeof(table##Names[0]) == table##Count, "a name per index"); \
    FARPROC table##Entries[table##Count];                                                             \
    EntryPointTable table(library, table##Names, table##Entries, table##Count)
#define BOUND_ENTRY(table, name) table.Get<decltype(&::name)>(k##name)
