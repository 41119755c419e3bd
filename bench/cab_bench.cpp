// Times ExtractFile on one member of a cabinet and prints the throughput, for
// bench/cab-throughput.sh. Usage: cab_bench CABINET DESTINATION MEMBER [RUNS]
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include "payload/wizCab.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency) {
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

long long FileSize(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: cab_bench CABINET DESTINATION MEMBER [RUNS]\n");
        return 2;
    }
    int runs = argc > 4 ? atoi(argv[4]) : 3;
    char target[MAX_PATH];
    snprintf(target, sizeof(target), "%s\\%s", argv[2], argv[3]);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 0;
    long long size = -1;
    for (int run = 0; run < runs; ++run) {
        DeleteFileA(target);
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        bool found = ExtractFile(argv[1], argv[2], argv[3]);
        QueryPerformanceCounter(&end);
        size = FileSize(target);
        if (!found || size <= 0) {
            fprintf(stderr, "cab_bench: %s was not extracted\n", argv[3]);
            return 1;
        }
        double seconds = Seconds(start, end, frequency);
        if (run == 0 || seconds < best)
            best = seconds;
    }
    printf("bytes %lld seconds %.4f MB/s %.1f\n", size, best, size / best / 1e6);
    return 0;
}
