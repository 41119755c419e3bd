// Shows the setup's message dialog and the setup-type page's large buttons
// for screenshots (tools/ui-screenshots.sh); not part of Setup.exe.
//   ui-demo.exe msgbox STYLE RECT-FILE    a message dialog with the wizard's texts
//   ui-demo.exe buttons RECT-FILE         the two BtnSTs of the setup-type page
// Once the window is shown it writes its screen rectangle to RECT-FILE and
// closes when RECT-FILE.done appears (or after two minutes).
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "fw/Resources.h"
#include "pages/CancelPrompt.h"
#include "res/resource.h"
#include "ui/BtnST.h"
#include "ui/Prompts.h"

namespace {

const DWORD kGiveUpMs = 120000;

char g_rectFile[MAX_PATH];
char g_doneFile[MAX_PATH + 8];
HWND g_shown = nullptr;
DWORD g_started = 0;
bool g_reported = false;

BOOL CALLBACK FindShown(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

void ReportRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    FILE* file = fopen(g_rectFile, "w");
    if (file) {
        fprintf(file, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        fclose(file);
    }
}

void CloseShown(HWND window) {
    char name[32] = {0};
    GetClassNameA(window, name, sizeof(name));
    if (strcmp(name, "#32770") == 0 && !GetParent(window))
        EndDialog(window, IDCANCEL);
    else
        PostMessageA(window, WM_CLOSE, 0, 0);
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_reported) {
        HWND window = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindShown, reinterpret_cast<LPARAM>(&window));
        if (!window || GetActiveWindow() != window)
            return;
        g_shown = window;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ReportRect(window);
        g_reported = true;
        return;
    }
    if (GetFileAttributesA(g_doneFile) != INVALID_FILE_ATTRIBUTES || GetTickCount() - g_started > kGiveUpMs)
        CloseShown(g_shown);
}

struct Message {
    UINT style;
    const char* title;
    const char* text;
};

int ShowMessageScene(UINT style) {
    static const Message kMessages[] = {
        {0x43, nullptr, nullptr},
        {0x33, "Warning...", "The target folder already exists.\n\nDo you want to continue installation?"},
        {0x30, "Warning...", "The target folder is invalid!\n\nPlease try the other one..."},
        {0x10, "Kestrin Duoflex Wireless Adapter Setup",
         "Setup could not copy the driver files.\n\nPlease close other programs and try again."},
    };
    for (const Message& message : kMessages) {
        if (message.style != style)
            continue;
        if (!message.title) {
            LoadCancelTexts();
            return ConfirmCancelLocalized() ? 0 : 1;
        }
        ShowMessage(message.title, message.text, message.style);
        return 0;
    }
    return 2;
}

// The setup-type page's two buttons as the page sets them up.
BtnST g_repair, g_remove;

INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
    HWND control = nullptr;
    if (msg == WM_DRAWITEM)
        control = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
    else if (msg == WM_CTLCOLORBTN || msg == WM_COMMAND)
        control = reinterpret_cast<HWND>(lp);
    SubclassWnd* owner = SubclassWnd::FromHandle(control);
    LRESULT result = 0;
    if (owner && owner->OnReflectedMessage(msg, wp, lp, result) && msg != WM_COMMAND)
        return msg == WM_DRAWITEM ? TRUE : static_cast<INT_PTR>(result);
    if (msg == WM_INITDIALOG) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        struct {
            BtnST& button;
            int id, icon;
            const char* caption;
        } setups[2] = {{g_repair, IDC_SETUP_REPAIR, IDI_REPAIR, "Repair/Upgrade"},
                       {g_remove, IDC_SETUP_REMOVE, IDI_REMOVE, "Remove"}};
        for (auto& setup : setups) {
            setup.button.SubclassWindow(GetDlgItem(page, setup.id));
            setup.button.UseIcon(LoadIconA(instance, MAKEINTRESOURCEA(setup.icon)));
            setup.button.SetWindowText(setup.caption);
            setup.button.SetContentLayout(1, true);
            setup.button.SetHoverCursor(IDC_HAND_POINTER, true);
        }
        SetDlgItemTextA(page, IDC_SETUP_REPAIR_TEXT, LoadResourceString(IDS_REPAIR_TEXT).c_str());
        SetDlgItemTextA(page, IDC_SETUP_REMOVE_TEXT, LoadResourceString(IDS_REMOVE_TEXT).c_str());
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK HostProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, msg, wp, lp);
}

int ShowButtonsScene() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = "UiDemoHost";
    RegisterClassA(&windowClass);
    HWND host = CreateWindowExA(WS_EX_DLGMODALFRAME, "UiDemoHost", LoadResourceString(IDS_SELECT_SETUP).c_str(),
                                WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 400, 300, nullptr, nullptr,
                                instance, nullptr);
    HWND page = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_SETUPTYPE), host, PageProc, 0);
    SetWindowLongA(page, GWL_STYLE, (GetWindowLongA(page, GWL_STYLE) & ~(WS_CAPTION | WS_DISABLED)) | WS_VISIBLE);
    RECT pageRect = {0, 0, 320, 143};
    MapDialogRect(page, &pageRect);
    SetWindowPos(page, nullptr, 0, 0, pageRect.right, pageRect.bottom, SWP_NOZORDER | SWP_FRAMECHANGED);
    RECT frame = pageRect;
    AdjustWindowRectEx(&frame, WS_POPUP | WS_CAPTION | WS_SYSMENU, FALSE, WS_EX_DLGMODALFRAME);
    SetWindowPos(host, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    ShowWindow(host, SW_SHOW);
    SetFocus(g_repair.GetSafeHwnd());
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(page, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = __argc;
    char** argv = __argv;
    bool messageScene = argc == 4 && strcmp(argv[1], "msgbox") == 0;
    bool buttonsScene = argc == 3 && strcmp(argv[1], "buttons") == 0;
    if (!messageScene && !buttonsScene) {
        MessageBoxA(nullptr, "usage: ui-demo msgbox STYLE RECT-FILE | ui-demo buttons RECT-FILE", "ui-demo", MB_OK);
        return 2;
    }
    snprintf(g_rectFile, sizeof(g_rectFile), "%s", argv[argc - 1]);
    snprintf(g_doneFile, sizeof(g_doneFile), "%s.done", g_rectFile);
    DeleteFileA(g_doneFile);
    g_started = GetTickCount();
    SetTimer(nullptr, 0, 200, OnTick);
    return messageScene ? ShowMessageScene(static_cast<UINT>(strtoul(argv[2], nullptr, 0))) : ShowButtonsScene();
}
