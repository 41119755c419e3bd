#include "app/Wizard97.h"

#include "app/pshMain.h"
#include "app/wizWizard.h"
#include "fw/UniqueHandle.h"
#include "res/resource.h"

static const char kMutexName[] = "Wireless Adapter Setup";

void BringRunningWizardForward() {
    // The running sheet bears the title of the string table, so look for that one.
    HWND running = ::FindWindowA(nullptr, LoadResourceString(IDS_SHEET_TITLE).c_str());
    ::ShowWindow(running, SW_SHOW);
    ::SetForegroundWindow(running);
}

// As a DIB section the bitmap keeps its own format: nothing is converted to
// the screen's at load, which was most of the cost of loading it.
static HBITMAP LoadWizardBitmap(HINSTANCE instance, UINT id) {
    return static_cast<HBITMAP>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

BOOL CWizard97App::InitInstance() {
    UniqueKernelHandle mutex(::CreateMutexA(nullptr, TRUE, kMutexName));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        BringRunningWizardForward();
        return FALSE;
    }
    HINSTANCE instance = ResourceHandle();
    UniqueGdiObject watermark(LoadWizardBitmap(instance, IDB_WATERMARK));
    UniqueGdiObject header(LoadWizardBitmap(instance, IDB_HEADER));
    {
        CPshMain sheet("", nullptr, 0, static_cast<HBITMAP>(watermark.Get()), nullptr,
                       static_cast<HBITMAP>(header.Get()));
        m_pMainWnd = &sheet;
        sheet.DoModal();
        m_pMainWnd = nullptr;
    }
    ::ReleaseMutex(mutex.Get());
    return FALSE;
}
