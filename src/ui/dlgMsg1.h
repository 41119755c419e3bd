#pragma once
// The setup's own message box: MessageBox style bits and results, one of the
// program's four message icons, and one to three answer buttons.
#include "fw/Dialog.h"
#include "fw/String.h"
#include "ui/BtnST.h"
#include "ui/MessageStyle.h"

class dlgMsg1 : public Dialog {
public:
    dlgMsg1(const char* title, const char* text, UINT style);
    // The three captions replace the built-in ones, empty ones included.
    dlgMsg1(const char* title, const char* text, UINT style, const char* caption1, const char* caption2,
            const char* caption3);

    // Runs the dialog owned by the application's main window, when there is
    // one, and answers the button's result: IDCANCEL unless an answer button
    // was chosen.
    int DoModal();
    INT_PTR DoModal(HWND owner) override;

    const MessageStyle& Style() const { return style_; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void SetIcon();
    void LayOutButtons();
    void FocusDefaultButton();

    BtnST iconButton_;
    Wnd message_;
    Wnd buttons_[3];
    MessageStyle style_;
    int result_ = IDCANCEL;
    String title_, text_;
    String captions_[3];
    HICON icon_ = nullptr;
};

