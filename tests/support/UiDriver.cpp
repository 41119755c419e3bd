#include "support/UiDriver.h"

#include <stdlib.h>

#include <vector>

namespace wiztest {

DWORD ScaledMs(DWORD ms) {
    char factor[16] = {0};
    if (!GetEnvironmentVariableA("WIZ_TIME_FACTOR", factor, sizeof(factor)))
        return ms;
    DWORD times = strtoul(factor, nullptr, 10);
    return times > 1 ? ms * times : ms;
}

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (predicate())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return predicate();
        Sleep(30);
    }
}

namespace {
struct TopWindowQuery {
    std::string title;
    DWORD pid;
    HWND except;
    bool anyTitle;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param) {
    TopWindowQuery* query = reinterpret_cast<TopWindowQuery*>(param);
    if (!IsWindowVisible(window) || window == query->except)
        return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (query->pid && pid != query->pid)
        return TRUE;
    if (query->anyTitle || WindowText(window) == query->title)
        query->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopWindows(const std::string& title, DWORD pid, HWND except, bool anyTitle) {
    TopWindowQuery query{title, pid, except, anyTitle, {}};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}
}  // namespace

HWND FindTopWindow(const std::string& title, DWORD pid) {
    std::vector<HWND> found = TopWindows(title, pid, nullptr, false);
    return found.empty() ? nullptr : found.front();
}

HWND WaitForTopWindow(const std::string& title, DWORD pid, DWORD timeoutMs) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTopWindow(title, pid)) != nullptr; }, timeoutMs);
    return window;
}

HWND FindOtherTopWindow(DWORD pid, HWND except) {
    std::vector<HWND> found = TopWindows(std::string(), pid, except, true);
    return found.empty() ? nullptr : found.front();
}

int CountTopWindows(const std::string& title) {
    return static_cast<int>(TopWindows(title, 0, nullptr, false).size());
}

std::string WindowText(HWND window) {
    char text[2048] = {0};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return std::string();
    return std::string(text, copied);
}

std::string ControlText(HWND parent, int id) {
    HWND control = GetDlgItem(parent, id);
    return control ? WindowText(control) : std::string();
}

std::string WindowClass(HWND window) {
    char name[256] = {0};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

bool IsControlVisible(HWND parent, int id) {
    HWND control = GetDlgItem(parent, id);
    return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE);
}

bool IsControlEnabled(HWND parent, int id) {
    HWND control = GetDlgItem(parent, id);
    return control && IsWindowEnabled(control);
}

RECT ControlRect(HWND parent, int id) {
    RECT rect = {0, 0, 0, 0};
    HWND control = GetDlgItem(parent, id);
    if (control) {
        GetWindowRect(control, &rect);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

namespace {
struct ChildQuery {
    std::string text;
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM param) {
    ChildQuery* query = reinterpret_cast<ChildQuery*>(param);
    bool match = query->id ? GetDlgCtrlID(child) == query->id : WindowText(child) == query->text;
    if (match) {
        query->found = child;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindChildByText(HWND parent, const std::string& text) {
    ChildQuery query{text, 0, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND FindDescendant(HWND parent, int id) {
    ChildQuery query{std::string(), id, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void ClickControl(HWND parent, int id) { ClickWindow(GetDlgItem(parent, id)); }

void ClickWindow(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void CloseWindowBox(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

void PressKey(HWND window, WORD virtualKey) {
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(window, WM_KEYUP, virtualKey, 0xC0000001);
}

namespace {
INPUT KeyInput(WORD virtualKey, bool release) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}
}  // namespace

bool TypeKeys(HWND window, std::initializer_list<WORD> chord) {
    HWND top = GetAncestor(window, GA_ROOT);
    auto forward = [&] {
        if (GetForegroundWindow() == top)
            return true;
        SetForegroundWindow(top);
        return false;
    };
    return WaitUntil(forward) && SendKeys(chord);
}

bool SendKeys(std::initializer_list<WORD> chord) {
    std::vector<INPUT> inputs;
    for (WORD key : chord)
        inputs.push_back(KeyInput(key, false));
    for (auto key = chord.end(); key != chord.begin();)
        inputs.push_back(KeyInput(*--key, true));
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

Process::~Process() { Kill(); }

bool Process::Start(const std::string& exe, const std::string& workingDir) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + exe + "\"";
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info))
        return false;
    thread_.Reset(info.hThread);
    process_.Reset(info.hProcess);
    id_ = info.dwProcessId;
    return true;
}

bool Process::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_ || WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(process_.Get(), exitCode);
    return true;
}

void Process::Kill() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), 10000);
    }
}

}  // namespace wiztest
