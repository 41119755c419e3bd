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
// load by bare name. Runs first, before anything loads a library.
void HardenLibrarySearch(bool restrictToSystemFolder);

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
