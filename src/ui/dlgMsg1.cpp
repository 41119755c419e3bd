#include "ui/dlgMsg1.h"

#include "fw/Resources.h"
#include "res/resource.h"

static const int kAnswerIds[3] = {IDC_MSG1_BUTTON1, IDC_MSG1_BUTTON2, IDC_MSG1_BUTTON3};

dlgMsg1::dlgMsg1(const char* title, const char* text, UINT style)
    : Dialog(IDD_MSG1), style_(DecodeMessageStyle(style)), title_(title), text_(text) {
    for (int i = 0; i < 3; ++i)
        captions_[i] = DefaultAnswerCaption(style_.buttonSet, i);
    icon_ = ::LoadIconA(ResourceHandle(), MAKEINTRESOURCEA(MessageIconId(style_.iconKind)));
}

dlgMsg1::dlgMsg1(const char* title, const char* text, UINT style, const char* caption1, const char* caption2,
                 const char* caption3)
    : dlgMsg1(title, text, style) {
    captions_[0] = caption1;
    captions_[1] = caption2;
    captions_[2] = caption3;
}

int dlgMsg1::DoModal() { return static_cast<int>(DoModal(DefaultDialogOwner())); }

// Every way out goes through the framework's cancel path, so its own return
// value says nothing; the stored result does.
INT_PTR dlgMsg1::DoModal(HWND owner) {
    result_ = IDCANCEL;
    Dialog::DoModal(owner);
    return result_;
}

void dlgMsg1::DoDataExchange() {
    BindControl(IDC_MSG1_ICON, iconButton_);
    BindControl(IDC_MSG1_TEXT, message_);
    for (int i = 0; i < 3; ++i)
        BindControl(kAnswerIds[i], buttons_[i]);
}

BOOL dlgMsg1::OnInitDialog() {
    Dialog::OnInitDialog();
    SetWindowText(title_.c_str());
    message_.SetWindowText(text_.c_str());
    result_ = IDCANCEL;
    SetIcon();
    LayOutButtons();
    FocusDefaultButton();
    return FALSE;  // the focus is placed already
}

void dlgMsg1::SetIcon() {
    iconButton_.UseIcon(icon_);
    iconButton_.SetFlatLook(true);
    iconButton_.SetHoverBorder(false);
}

void dlgMsg1::LayOutButtons() {
    RECT rects[3];
    for (int i = 0; i < 3; ++i) {
        buttons_[i].ShowWindow(SW_HIDE);
        rects[i] = GetChildRect(buttons_[i].GetSafeHwnd());
    }
    LayOutAnswerButtons(style_.buttonSet, GetClientRect(), rects);
    for (int i = 0; i < AnswerButtonCount(style_.buttonSet); ++i) {
        buttons_[i].MoveWindow(rects[i]);
        buttons_[i].SetWindowText(captions_[i].c_str());
        buttons_[i].ShowWindow(SW_SHOW);
    }
}

// The focused answer button is also made the dialog's default button, so it
// looks like one and Enter answers with it wherever the focus goes next.
void dlgMsg1::FocusDefaultButton() {
    int index = InitialFocusIndex(style_);
    SendMessage(DM_SETDEFID, static_cast<WPARAM>(kAnswerIds[index]));
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(buttons_[index].GetSafeHwnd()), TRUE);
}

bool dlgMsg1::OnCommand(WORD id, WORD code, HWND) {
    if (code != BN_CLICKED)
        return false;
    for (int i = 0; i < AnswerButtonCount(style_.buttonSet); ++i) {
        if (id == kAnswerIds[i]) {
            result_ = AnswerResult(style_.buttonSet, i);
            OnCancel();
            return true;
        }
    }
    return false;
}
