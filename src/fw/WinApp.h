#pragma once
// The application object: the one running program, whose main window owns the
// dialogs that name no owner.
#include <windows.h>

class Wnd;

class WinApp {
public:
    WinApp();
    virtual ~WinApp();
    WinApp(const WinApp&) = delete;
    WinApp& operator=(const WinApp&) = delete;

    // Called from WinMain: registers the common controls, then runs Main.
    int Run();

    // The window that dialogs without an explicit owner take as theirs.
    Wnd* m_pMainWnd = nullptr;
    HWND MainWindowHandle() const;

    static WinApp* Current() { return current_; }

protected:
    // The program itself, from start-up to exit; answers the exit code.
    virtual int Main() = 0;

private:
    static WinApp* current_;
};
