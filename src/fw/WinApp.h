#pragma once
// The application object: one global instance whose InitInstance is the program.
#include <windows.h>

class Wnd;

class WinApp {
public:
    WinApp();
    virtual ~WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    // Answer false to end the program without a message loop of the framework's.
    virtual BOOL InitInstance() = 0;
    virtual int ExitInstance() { return 0; }

    // The window that dialogs without an explicit owner take as theirs.
    Wnd* m_pMainWnd = nullptr;
    HWND MainWindowHandle() const;

    static WinApp* Current() { return current_; }
    static HINSTANCE ResourceHandle();

    // Called from WinMain: registers the common controls and runs the application.
    int Run();

private:
    static WinApp* current_;
};
