#include "fw/PropertyPageEx.h"

#include "fw/MessageRecord.h"
#include "fw/Resources.h"

PropertyPageEx::PropertyPageEx(UINT templateId) : Dialog(templateId) {
    ZeroMemory(&page_, sizeof(page_));
    page_.dwSize = sizeof(page_);
    page_.hInstance = ResourceHandle();
    page_.pszTemplate = MAKEINTRESOURCEA(templateId);
    page_.pfnDlgProc = PageProc;
    page_.lParam = reinterpret_cast<LPARAM>(this);
}

void PropertyPageEx::SetPageTitle(const char* text) {
    title_ = text;
    page_.pszTitle = title_.c_str();
    page_.dwFlags |= PSP_USETITLE;
}

void PropertyPageEx::SetHeaderTitle(const char* text) {
    headerTitle_ = text;
    page_.pszHeaderTitle = headerTitle_.c_str();
    page_.dwFlags |= PSP_USEHEADERTITLE;
}

void PropertyPageEx::SetHeaderSubTitle(const char* text) {
    headerSubTitle_ = text;
    page_.pszHeaderSubTitle = headerSubTitle_.c_str();
    page_.dwFlags |= PSP_USEHEADERSUBTITLE;
}

INT_PTR CALLBACK PropertyPageEx::PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // At WM_INITDIALOG lParam is comctl32's copy of our PROPSHEETPAGEA.
    Dialog* self = msg == WM_INITDIALOG
                       ? reinterpret_cast<PropertyPageEx*>(reinterpret_cast<PROPSHEETPAGEA*>(lp)->lParam)
                       : reinterpret_cast<Dialog*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    return Route(self, hwnd, msg, wp, lp);
}

bool PropertyPageEx::OnNotify(NMHDR* header, LRESULT& result) {
    if (header->hwndFrom != GetParent())
        return Dialog::OnNotify(header, result);  // only the sheet's notifications are ours
    switch (header->code) {
    case PSN_SETACTIVE:
        result = OnSetActive() ? 0 : -1;
        return true;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;
        return true;
    case PSN_QUERYCANCEL:
        result = OnQueryCancel() ? FALSE : TRUE;
        RecordMessage("OnQueryCancel", WM_NOTIFY, reinterpret_cast<WPARAM>(page_.pszTemplate), result);
        return true;
    case PSN_WIZNEXT:
        result = OnWizardNext();
        return true;
    case PSN_WIZBACK:
        result = OnWizardBack();
        return true;
    case PSN_WIZFINISH:
        result = OnWizardFinish() ? FALSE : TRUE;
        RecordMessage("OnWizardFinish", WM_NOTIFY, reinterpret_cast<WPARAM>(page_.pszTemplate), result);
        return true;
    default:
        return Dialog::OnNotify(header, result);
    }
}
