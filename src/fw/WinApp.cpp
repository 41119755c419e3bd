#include "fw/WinApp.h"

#include "fw/CommonControls.h"
#include "fw/Wnd.h"

WinApp* WinApp::current_ = nullptr;

WinApp::WinApp() { current_ = this; }

WinApp::~WinApp() {
    if (current_ == this)
        current_ = nullptr;
}

int WinApp::Run() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    CommonControls::InitCommonControlsEx(&controls);
    return Main();
}

HWND WinApp::MainWindowHandle() const { return m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr; }
