#include "app/Wizard97.h"

#include "app/pshMain.h"
#include "fw/Resources.h"
#include "fw/UniqueHandle.h"
#include "res/resource.h"
#include "state/SetupState.h"

void BringRunningWizardForward() {
    // The running sheet bears the title of the string table, so look for that one.
    HWND running = ::FindWindowA(nullptr, LoadResourceString(IDS_SHEET_TITLE).c_str());
    ::ShowWindow(running, SW_SHOW);
    ::SetForegroundWindow(running);
}

int CWizard97App::Main() {
    UniqueKernelHandle mutex(::CreateMutexA(nullptr, TRUE, kWizardName));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        BringRunningWizardForward();
        return 0;
    }
    HINSTANCE instance = ResourceHandle();
    UniqueGdiObject watermark(::LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_WATERMARK)));
    UniqueGdiObject header(::LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_HEADER)));
    {
        CPshMain sheet("", nullptr, 0, static_cast<HBITMAP>(watermark.Get()), nullptr,
                       static_cast<HBITMAP>(header.Get()));
        m_pMainWnd = &sheet;
        sheet.DoModal();
        m_pMainWnd = nullptr;
    }
    ::ReleaseMutex(mutex.Get());
    return 0;
}
