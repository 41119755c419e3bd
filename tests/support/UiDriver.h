#pragma once
// Drives the wizard from outside its process: finds windows, reads and clicks
// controls by id through window messages, starts and waits for processes.
#include <windows.h>

#include "fw/UniqueHandle.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace wiztest {

// A time limit multiplied by WIZ_TIME_FACTOR, which the test guest sets where
// software emulation runs everything several times slower (1 when unset).
DWORD ScaledMs(DWORD ms);

// Generous limits: the tests run under Wine on a loaded two-core machine.
const DWORD kUiTimeoutMs = ScaledMs(60000);

// Polls until the predicate holds or the time is up; answers the last result.
bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs = kUiTimeoutMs);

// A visible top-level window with exactly this title (of this process, when pid is not 0).
HWND FindTopWindow(const std::string& title, DWORD pid = 0);
HWND WaitForTopWindow(const std::string& title, DWORD pid = 0, DWORD timeoutMs = kUiTimeoutMs);
// A visible top-level window of the process other than `except` (a message box, a dialog).
HWND FindOtherTopWindow(DWORD pid, HWND except);
int CountTopWindows(const std::string& title);

std::string WindowText(HWND window);
std::string ControlText(HWND parent, int id);
std::string WindowClass(HWND window);
bool IsControlVisible(HWND parent, int id);
bool IsControlEnabled(HWND parent, int id);
// A control's window rectangle in its parent's client coordinates.
RECT ControlRect(HWND parent, int id);
// A child (at any depth) whose text is exactly this, or null.
HWND FindChildByText(HWND parent, const std::string& text);
// A child at any depth with this id, or null.
HWND FindDescendant(HWND parent, int id);

// Clicks a button as a user would: a disabled button ignores it. Asynchronous.
void ClickControl(HWND parent, int id);
void ClickWindow(HWND button);
// Closes a window through its close box (WM_SYSCOMMAND SC_CLOSE). Asynchronous.
void CloseWindowBox(HWND window);
void PressKey(HWND window, WORD virtualKey);
// Real keyboard input (SendInput), as a user types it: brings the top-level
// window of `window` to the foreground, then presses the keys of the chord in
// order and releases them in reverse (VK_MENU, VK_F4 is Alt+F4). False when
// the window could not be brought forward.
bool TypeKeys(HWND window, std::initializer_list<WORD> chord);
// The same keys to whichever window holds the focus now, no window brought forward.
bool SendKeys(std::initializer_list<WORD> chord);
// The window holding the keyboard focus in the thread that owns `window`.
HWND FocusOf(HWND window);

class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Start(const std::string& exe, const std::string& workingDir = std::string());
    DWORD Id() const { return id_; }
    // True when the process ended within the time; its exit code goes to exitCode.
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    void Kill();
    // Holds and releases the process's first thread, the wizard's window thread.
    bool Suspend() { return SuspendThread(thread_.Get()) != static_cast<DWORD>(-1); }
    bool Resume() { return ResumeThread(thread_.Get()) != static_cast<DWORD>(-1); }

private:
    UniqueKernelHandle process_;
    UniqueKernelHandle thread_;
    DWORD id_ = 0;
};

}  // namespace wiztest
