// The floor for the setup's start-up: a plain Wizard97 sheet of the common
// controls, with the setup's manifest and its two bitmaps, that does before its
// first page the work the setup must do there: the single-instance mutex, the
// uninstall-entry lookup, the version query and the folder queries.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "WizardFloor.h"

namespace {

const char kTitle[] = "Wizard97 Floor";

// What the setup asks before its first page; the answers are not used.
void QuerySystemFolders() {
    volatile DWORD version = GetVersion();
    (void)version;
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExA(&info);
    SYSTEM_INFO system = {};
    typedef void(WINAPI * NativeSystemInfo)(SYSTEM_INFO*);
    if (auto native = reinterpret_cast<NativeSystemInfo>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo"))))
        native(&system);
    else
        GetSystemInfo(&system);
    char path[MAX_PATH] = "";
    GetWindowsDirectoryA(path, MAX_PATH);
    const int folders[] = {CSIDL_PROGRAM_FILES, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_DESKTOPDIRECTORY};
    for (int csidl : folders)
        SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
}

bool UninstallEntryExists() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrin Duoflex Wireless Adapter", 0,
                      KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

int CALLBACK SheetCallback(HWND, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED)
        QuerySystemFolders();
    return 0;
}

INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<PROPSHEETPAGEA*>(lp)->lParam);
        return TRUE;
    }
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == PSN_SETACTIVE) {
        bool first = GetWindowLongPtrA(page, GWLP_USERDATA) == 0;
        PropSheet_SetWizButtons(GetParent(page), first ? PSWIZB_NEXT : PSWIZB_BACK | PSWIZB_FINISH);
        SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kTitle);
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return 0;
    HBITMAP watermark = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_FLOOR_WATERMARK));
    HBITMAP header = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_FLOOR_HEADER));
    UninstallEntryExists();

    PROPSHEETPAGEA pages[2] = {};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof(pages[i]);
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = instance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(i == 0 ? IDD_FLOOR_WELCOME : IDD_FLOOR_PAGE);
        pages[i].pfnDlgProc = PageProc;
        pages[i].pszTitle = kTitle;
        pages[i].lParam = i;
    }
    pages[0].dwFlags |= PSP_HIDEHEADER;
    pages[1].dwFlags |= PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;
    pages[1].pszHeaderTitle = "Destination Folder";
    pages[1].pszHeaderSubTitle = "Where the files go.";

    PROPSHEETHEADERA sheet = {};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_WIZARD97 | PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_WATERMARK | PSH_USEHBMWATERMARK |
                    PSH_HEADER | PSH_USEHBMHEADER;
    sheet.hInstance = instance;
    sheet.pszCaption = kTitle;
    sheet.nPages = 2;
    sheet.ppsp = pages;
    sheet.hbmWatermark = watermark;
    sheet.hbmHeader = header;
    sheet.pfnCallback = SheetCallback;
    PropertySheetA(&sheet);

    ReleaseMutex(mutex);
    DeleteObject(header);
    DeleteObject(watermark);
    return 0;
}
