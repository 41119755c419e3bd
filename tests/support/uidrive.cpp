// A command-line driver for the wizard's windows, for scripts (run.sh, the
// benchmarks) that need to wait for or poke at a window inside a Wine prefix.
//   uidrive wait TITLE [TIMEOUT_MS]          waits until a window with TITLE is visible
//   uidrive gone TITLE [TIMEOUT_MS]          waits until no window with TITLE is visible
//   uidrive text TITLE ID                     prints the text of control ID of that window (or its pages)
//   uidrive click TITLE ID                    clicks control ID of that window
//   uidrive close TITLE                       closes that window through its close box
//   uidrive rect TITLE                        prints the window's rectangle: X Y WIDTH HEIGHT
//   uidrive launch-time EXE TITLE [RUNS]      milliseconds from process start to TITLE shown
// With UIDRIVE_DESKTOP set, it works on the windows of that desktop (a Wine
// virtual desktop started with explorer /desktop=NAME).
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string>

#include "support/UiDriver.h"

using namespace wiztest;

namespace {

DWORD TimeoutArg(int argc, char** argv, int index) {
    return argc > index ? static_cast<DWORD>(strtoul(argv[index], nullptr, 10)) : kUiTimeoutMs;
}

int LaunchTime(const std::string& exe, const std::string& title) {
    LARGE_INTEGER frequency, start, shown;
    QueryPerformanceFrequency(&frequency);
    Process process;
    QueryPerformanceCounter(&start);
    if (!process.Start(exe))
        return -1;
    HWND window = nullptr;
    while (!(window = FindTopWindow(title, process.Id()))) {
        if (process.WaitExit(0))
            return -1;
        Sleep(1);
    }
    QueryPerformanceCounter(&shown);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!process.WaitExit(5000))
        process.Kill();
    return static_cast<int>((shown.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
}

int Usage() {
    fprintf(stderr, "usage: uidrive wait|gone|text|click|close|launch-time ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    if (const char* desktop = getenv("UIDRIVE_DESKTOP")) {
        HDESK handle = OpenDesktopA(desktop, 0, FALSE, GENERIC_ALL);
        if (!handle || !SetThreadDesktop(handle)) {
            fprintf(stderr, "uidrive: cannot use desktop %s\n", desktop);
            return 1;
        }
    }
    std::string command = argv[1], title = argv[2];
    if (command == "wait")
        return WaitForTopWindow(title, 0, TimeoutArg(argc, argv, 3)) ? 0 : 1;
    if (command == "gone")
        return WaitUntil([&] { return FindTopWindow(title) == nullptr; }, TimeoutArg(argc, argv, 3)) ? 0 : 1;
    if (command == "launch-time" && argc >= 4) {
        int runs = argc > 4 ? atoi(argv[4]) : 1;
        for (int i = 0; i < runs; ++i)
            printf("%d\n", LaunchTime(argv[2], argv[3]));
        return 0;
    }
    HWND window = FindTopWindow(title);
    if (!window) {
        fprintf(stderr, "uidrive: no window titled \"%s\"\n", title.c_str());
        return 1;
    }
    if (command == "rect") {
        RECT r;
        GetWindowRect(window, &r);
        printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    if (command == "close") {
        CloseWindowBox(window);
        return 0;
    }
    if (argc < 4)
        return Usage();
    // A control of the window itself, or of one of its pages.
    int id = atoi(argv[3]);
    HWND control = GetDlgItem(window, id);
    if (!control)
        control = FindDescendant(window, id);
    if (command == "text") {
        printf("%s\n", control ? WindowText(control).c_str() : "");
        return control ? 0 : 1;
    }
    if (command == "click") {
        ClickWindow(control);
        return control ? 0 : 1;
    }
    return Usage();
}
