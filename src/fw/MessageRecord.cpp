#include "fw/MessageRecord.h"

#include <stdio.h>

namespace {
struct Entry {
    LONGLONG counter;
    DWORD tick;
    DWORD messageTime;
    const char* where;
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    HWND hwnd;
    bool sent;
};

// The last kEntries entries; only the UI thread records.
const unsigned kEntries = 16384;
Entry g_entries[kEntries];
unsigned g_count = 0;
HHOOK g_retrieveHook = nullptr;

void Add(const char* where, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD messageTime, bool sent) {
    Entry& entry = g_entries[g_count++ % kEntries];
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    entry = Entry{counter.QuadPart, ::GetTickCount(), messageTime, where, msg, wp, lp, hwnd, sent};
}

LRESULT CALLBACK RetrieveProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const MSG* message = reinterpret_cast<const MSG*>(lp);
        Add(wp == PM_REMOVE ? "retrieved" : "peeked", message->hwnd, message->message, message->wParam,
            message->lParam, message->time, false);
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace

void RecordMessage(const char* where, UINT msg, WPARAM wp, LPARAM lp) {
    Add(where, nullptr, msg, wp, lp, static_cast<DWORD>(::GetMessageTime()), ::InSendMessage() != FALSE);
}

void RecordRetrievedMessages() {
    g_retrieveHook = ::SetWindowsHookExA(WH_GETMESSAGE, RetrieveProc, nullptr, ::GetCurrentThreadId());
}

void WriteMessageRecord() {
    if (g_retrieveHook)
        ::UnhookWindowsHookEx(g_retrieveHook);
    char path[MAX_PATH];
    DWORD length = ::GetEnvironmentVariableA("WIZ_MESSAGE_RECORD", path, MAX_PATH - 40);
    if (!length || length >= MAX_PATH - 40)
        length = ::GetTempPathA(MAX_PATH - 40, path);
    wsprintfA(path + length, "\\SetupMessages-%lu.txt", ::GetCurrentProcessId());
    FILE* file = fopen(path, "w");
    if (!file)
        return;
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    unsigned first = g_count > kEntries ? g_count - kEntries : 0;
    LONGLONG start = g_entries[first % kEntries].counter;
    fprintf(file, "us\ttick\tmsgtime\tsent\twhere\thwnd\tmsg\twp\tlp\n");
    for (unsigned i = first; i < g_count; ++i) {
        const Entry& e = g_entries[i % kEntries];
        unsigned long microseconds = static_cast<unsigned long>((e.counter - start) * 1000000 / frequency.QuadPart);
        fprintf(file, "%lu\t%lu\t%lu\t%d\t%s\t%p\t0x%04x\t0x%lx\t0x%lx\n", microseconds, e.tick, e.messageTime,
                e.sent ? 1 : 0, e.where, static_cast<void*>(e.hwnd), e.msg, static_cast<unsigned long>(e.wp),
                static_cast<unsigned long>(e.lp));
    }
    fclose(file);
}
