#pragma once
// A Wizard97 property page. comctl32 keeps the address of the PROPSHEETPAGEA
// this object builds, so pages are never copied or moved.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "fw/Dialog.h"

class PropertySheetEx;

class PropertyPageEx : public Dialog {
public:
    explicit PropertyPageEx(UINT templateId);

    void SetPageTitle(const char* text);
    void SetHeaderTitle(const char* text);
    void SetHeaderSubTitle(const char* text);
    void SetHideHeader() { page_.dwFlags |= PSP_HIDEHEADER; }

    const PROPSHEETPAGEA& PageDescriptor() const { return page_; }
    PropertySheetEx* GetSheet() const { return sheet_; }
    void SetSheet(PropertySheetEx* sheet) { sheet_ = sheet; }

    INT_PTR DoModal(HWND) override { return -1; }  // pages live only inside a sheet

    // One handler per page notification, in the order of OnNotify's switch
    // (PSN_SETACTIVE ... PSN_WIZFINISH); the defaults accept.
    virtual BOOL OnSetActive() { return TRUE; }    // FALSE refuses the activation
    virtual BOOL OnKillActive() { return TRUE; }   // FALSE keeps the page
    virtual BOOL OnQueryCancel() { return TRUE; }  // FALSE refuses the cancel
    virtual LRESULT OnWizardNext() { return 0; }   // 0 next page, -1 stay, else a template id
    virtual LRESULT OnWizardBack() { return 0; }
    virtual BOOL OnWizardFinish() { return TRUE; }  // FALSE keeps the sheet open

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    PROPSHEETPAGEA page_;
    PropertySheetEx* sheet_ = nullptr;
    String title_, headerTitle_, headerSubTitle_;
};
