#pragma once
// Modal dialogs from a resource template, with one message-routing path:
// a static procedure keeps `this` in GWLP_USERDATA and calls OnMessage.
#include "fw/Wnd.h"

class Dialog : public Wnd {
public:
    explicit Dialog(UINT templateId) : templateId_(templateId) {}

    // Runs the dialog modally; -1 when it could not be created.
    virtual INT_PTR DoModal(HWND parent);
    void EndDialog(INT_PTR result) const { ::EndDialog(hwnd_, result); }
    UINT TemplateId() const { return templateId_; }

protected:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static INT_PTR Route(Dialog* self, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    // Dialog-procedure semantics: the answer is returned to the dialog manager;
    // WM_NOTIFY results go through DWLP_MSGRESULT.
    virtual INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange() {}
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    virtual bool OnNotify(NMHDR* header, LRESULT& result);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    void BindControl(int id, Wnd& control) { control.AttachDlgItem(hwnd_, id); }

private:
    bool ReflectToControl(HWND control, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    UINT templateId_;
};

// The owner the framework gives a dialog that names none: the application's
// main window (its top-level window's last active popup), or none.
HWND DefaultDialogOwner();
