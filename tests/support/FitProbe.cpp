// A probe loaded into the running wizard (see InjectFitProbe): measures every
// text of the process's windows with the font its control uses and reports
// the ones that do not fit. It runs on a thread of its own and only reads.
//   ProbeFit(0) -> number of texts that do not fit; the report, one line a
//   text ("fits"/"CLIPPED" id text-size client-size), goes to %TEMP%\fitprobe.txt.
#include <windows.h>

#include <stdio.h>

namespace {

struct Probe {
    DWORD pid;
    FILE* report;
    int clipped;
};

bool IsWordBreakStatic(HWND control) {
    char cls[32] = {0};
    GetClassNameA(control, cls, sizeof(cls));
    LONG type = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
    return lstrcmpiA(cls, "Static") == 0 && (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT);
}

bool IsOwnerDrawnButton(HWND control) {
    char cls[32] = {0};
    GetClassNameA(control, cls, sizeof(cls));
    return lstrcmpiA(cls, "Button") == 0 && (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

// A static wraps its text into its client area; an owner-drawn button keeps
// its one-line caption clear of its focus rectangle (a line 3 pixels in) by two pixels.
void Measure(Probe& probe, HWND control) {
    bool text = IsWordBreakStatic(control), caption = IsOwnerDrawnButton(control);
    if (!(text || caption) || !(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE))
        return;
    char buffer[1024] = {0};
    if (GetWindowTextA(control, buffer, sizeof(buffer)) <= 0)
        return;
    RECT client;
    GetClientRect(control, &client);
    if (caption)
        InflateRect(&client, -6, -6);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    RECT needed = {0, 0, client.right - client.left, 0};
    UINT flags = DT_CALCRECT | (caption ? DT_SINGLELINE : DT_WORDBREAK) |
                 ((GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX) && text ? DT_NOPREFIX : 0);
    DrawTextA(dc, buffer, -1, &needed, flags);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    bool fits = needed.right <= client.right - client.left && needed.bottom <= client.bottom - client.top;
    for (char* c = buffer; *c; ++c)
        if (*c == '\n' || *c == '\r')
            *c = ' ';
    fprintf(probe.report, "%s %d %ldx%ld %ldx%ld %s\n", fits ? "fits" : "CLIPPED", GetDlgCtrlID(control),
            needed.right, needed.bottom, client.right - client.left, client.bottom - client.top, buffer);
    if (!fits)
        ++probe.clipped;
}

BOOL CALLBACK MeasureChild(HWND child, LPARAM param) {
    Measure(*reinterpret_cast<Probe*>(param), child);
    return TRUE;
}

BOOL CALLBACK MeasureTopWindow(HWND window, LPARAM param) {
    Probe& probe = *reinterpret_cast<Probe*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == probe.pid && IsWindowVisible(window))
        EnumChildWindows(window, MeasureChild, param);
    return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI ProbeFit(LPVOID) {
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    lstrcatA(path, "fitprobe.txt");
    Probe probe = {GetCurrentProcessId(), fopen(path, "w"), 0};
    if (!probe.report)
        return 0xFFFFFFFF;
    EnumWindows(MeasureTopWindow, reinterpret_cast<LPARAM>(&probe));
    fclose(probe.report);
    return static_cast<DWORD>(probe.clipped);
}
