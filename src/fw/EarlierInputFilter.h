#pragma once
// Keeps input made before a moment from acting, however late the system
// delivers it. A filter on the thread's message retrieval turns into WM_NULL
// every keyboard and mouse message made by then, and every command or close
// request (WM_COMMAND, WM_SYSCOMMAND, WM_CLOSE) posted to one window by then.
// What such input would cause later (the WM_SYSCHAR of a mnemonic, the posted
// WM_SYSCOMMAND of Alt+F4) never arises: the input itself reaches no window.
#include <windows.h>

#include "fw/UniqueHandle.h"

// True when a message time (a 32-bit millisecond tick, which wraps) lies at or
// before `moment`.
bool MadeByMoment(DWORD time, DWORD moment);

// True when a retrieved message is input, or a command or close request
// posted to `guarded`, made at or before `moment`.
bool IsEarlierInput(UINT message, HWND target, DWORD time, HWND guarded, DWORD moment);

// One filter at a time, on the thread that starts it.
class EarlierInputFilter {
public:
    EarlierInputFilter() = default;
    ~EarlierInputFilter() { Stop(); }
    EarlierInputFilter(const EarlierInputFilter&) = delete;
    EarlierInputFilter& operator=(const EarlierInputFilter&) = delete;

    // Drops, from now on, input made at or before `moment` and the commands and
    // close requests posted to `guarded` by then. False when the filter could
    // not be set.
    bool Start(HWND guarded, DWORD moment);
    void Stop();

private:
    static LRESULT CALLBACK GetMessageProc(int code, WPARAM wp, LPARAM lp);

    UniqueHook hook_;
    HWND guarded_ = nullptr;
    DWORD moment_ = 0;
};
