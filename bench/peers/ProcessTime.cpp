// Milliseconds from starting a program to its end, for bench/peers.sh.
// Usage: process_time EXE [ARGUMENTS]
// ARGUMENTS is one string, put on the command line as it is (NSIS takes /D= and
// _?= unquoted, up to the line's end). It prints the time and exits with the
// program's exit code, or 255 when the program could not be started.
#include <windows.h>
#include <stdio.h>

#include <string>

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: process_time EXE [ARGUMENTS]\n");
        return 255;
    }
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    if (argc > 2)
        commandLine += std::string(" ") + argv[2];
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        fprintf(stderr, "process_time: cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 255;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    DWORD exitCode = 255;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    printf("%.3f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart));
    return static_cast<int>(exitCode);
}
