#include "fw/PropertySheetEx.h"

#include "fw/CommonControls.h"
#include "fw/MessageRecord.h"
#include "fw/Resources.h"

namespace {
// The sheet between PropertySheetA and its PSCB_INITIALIZED callback, which
// carries no user data of its own. Only the UI thread creates sheets.
PropertySheetEx* g_creatingSheet = nullptr;

// A timer's message comes only once nothing is to be painted.
const UINT_PTR kFirstPageShownTimer = 0x5F1D;

// The ways a user closes the sheet: Alt+F4 and the close box (SC_CLOSE, then
// WM_CLOSE), Esc and Cancel (IDCANCEL).
bool IsCloseRequest(UINT msg, WPARAM wp) {
    return msg == WM_CLOSE || (msg == WM_SYSCOMMAND && (wp & 0xFFF0) == SC_CLOSE) ||
           (msg == WM_COMMAND && LOWORD(wp) == IDCANCEL);
}
}  // namespace

PropertySheetEx::PropertySheetEx(const char* caption, HWND parent, UINT startPage, HBITMAP watermark,
                             HPALETTE palette, HBITMAP header) {
    ZeroMemory(&m_psh, sizeof(m_psh));
    ZeroMemory(pages_, sizeof(pages_));
    ZeroMemory(descriptors_, sizeof(descriptors_));
    pinnedTitle_[0] = L'\0';
    m_psh.dwSize = sizeof(m_psh);
    m_psh.hwndParent = parent;
    m_psh.hInstance = ResourceHandle();
    m_psh.pszCaption = caption;
    m_psh.nStartPage = startPage;
    if (watermark) {
        m_psh.dwFlags |= PSH_WATERMARK | PSH_USEHBMWATERMARK;
        m_psh.hbmWatermark = watermark;
    }
    if (palette) {
        m_psh.dwFlags |= PSH_USEHPLWATERMARK;
        m_psh.hplWatermark = palette;
    }
    if (header) {
        m_psh.dwFlags |= PSH_HEADER | PSH_USEHBMHEADER;
        m_psh.hbmHeader = header;
    }
}

void PropertySheetEx::TakePages(PropertyPageEx* const* pages, int count) {
    for (count_ = 0; count_ < count; ++count_) {
        pages[count_]->SetSheet(this);
        pages_[count_] = pages[count_];
    }
}

int PropertySheetEx::GetPageIndex(const PropertyPageEx& page) const {
    for (int i = 0; i < count_; ++i)
        if (pages_[i] == &page)
            return i;
    return -1;
}

PropertyPageEx* PropertySheetEx::GetActivePage() const {
    HWND current = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
    for (int i = 0; i < count_; ++i)
        if (current && pages_[i]->GetSafeHwnd() == current)
            return pages_[i];
    return nullptr;
}

bool PropertySheetEx::SetActivePage(int index) const {
    if (index < 0 || index >= count_ || !hwnd_)
        return false;
    return SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(index), 0) != 0;
}

INT_PTR PropertySheetEx::DoModal() {
    for (int i = 0; i < count_; ++i)
        descriptors_[i] = pages_[i]->PageDescriptor();
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.dwFlags &= ~PSH_MODELESS;
    m_psh.nPages = static_cast<UINT>(count_);
    m_psh.ppsp = descriptors_;
    m_psh.pfnCallback = SheetCallback;
    initialised_ = false;
    g_creatingSheet = this;
    INT_PTR result = CommonControls::PropertySheetA(&m_psh);
    g_creatingSheet = nullptr;
    return result;
}

int CALLBACK PropertySheetEx::SheetCallback(HWND hwnd, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED && g_creatingSheet) {
        g_creatingSheet->SubclassWindow(hwnd);
        g_creatingSheet = nullptr;
    }
    return 0;
}

void PropertySheetEx::PinTitle(const char* title) {
    ::MultiByteToWideChar(CP_ACP, 0, title, -1, pinnedTitle_, 256);
    pinnedTitle_[255] = L'\0';
    if (hwnd_)
        ::SetWindowTextW(hwnd_, pinnedTitle_);
}

LRESULT PropertySheetEx::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
    RecordMessage("sheet", msg, wp, lp);
    // Refused here, not only by the page: the dialog manager answers a
    // WM_CLOSE the sheet lets through with a freshly posted IDCANCEL, which
    // carries a later time.
    if (IsCloseRequest(msg, wp) && IsEarlierRequest()) {
        RecordMessage("sheet refuses", msg, wp, lp);
        return 0;
    }
    if (msg == WM_SHOWWINDOW && wp && !initialised_) {
        initialised_ = true;
        OnInitDialog();
        ::SetTimer(hwnd_, kFirstPageShownTimer, USER_TIMER_MINIMUM, nullptr);
    } else if (msg == WM_TIMER && wp == kFirstPageShownTimer) {
        ::KillTimer(hwnd_, kFirstPageShownTimer);
        OnFirstPageShown();
        return 0;
    } else if (msg == WM_SETTEXT && pinnedTitle_[0]) {
        // comctl32 subclasses with a Unicode procedure, so text arrives wide.
        if (::IsWindowUnicode(hwnd_))
            return DefaultProc(msg, wp, reinterpret_cast<LPARAM>(pinnedTitle_));
        char narrow[256];
        ::WideCharToMultiByte(CP_ACP, 0, pinnedTitle_, -1, narrow, sizeof(narrow), nullptr, nullptr);
        return DefaultProc(msg, wp, reinterpret_cast<LPARAM>(narrow));
    }
    return DefaultProc(msg, wp, lp);
}
