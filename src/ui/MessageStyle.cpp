#include "ui/MessageStyle.h"

#include "res/resource.h"

MessageStyle DecodeMessageStyle(UINT style) {
    MessageStyle decoded;
    UINT buttons = style & MB_TYPEMASK;
    bool knownButtons = buttons == MB_OK || buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL ||
                        buttons == MB_YESNO || buttons == MB_RETRYCANCEL;
    decoded.buttonSet = knownButtons ? buttons : MB_OK;
    UINT icon = style & MB_ICONMASK;
    decoded.iconKind = (icon >= MB_ICONSTOP && icon <= MB_ICONINFORMATION) ? icon : MB_ICONINFORMATION;
    UINT defaultButton = style & MB_DEFMASK;
    decoded.defaultButton = defaultButton <= MB_DEFBUTTON3 ? defaultButton : MB_DEFBUTTON1;
    return decoded;
}

int MessageIconId(UINT iconKind) {
    switch (iconKind) {
    case MB_ICONSTOP:
        return IDI_MSG_STOP;
    case MB_ICONQUESTION:
        return IDI_MSG_QUESTION;
    case MB_ICONWARNING:
        return IDI_MSG_WARNING;
    default:
        return IDI_MSG_INFORMATION;
    }
}

int AnswerButtonCount(UINT buttonSet) {
    switch (buttonSet) {
    case MB_OKCANCEL:
    case MB_YESNO:
    case MB_RETRYCANCEL:
        return 2;
    case MB_YESNOCANCEL:
        return 3;
    default:
        return 1;
    }
}

namespace {
struct ButtonSetTable {
    const char* captions[3];
    int results[3];
};

const ButtonSetTable& TableFor(UINT buttonSet) {
    static const ButtonSetTable kOk = {{"&OK", "", ""}, {IDOK, IDCANCEL, IDCANCEL}};
    static const ButtonSetTable kOkCancel = {{"&OK", "&Cancel", ""}, {IDOK, IDCANCEL, IDCANCEL}};
    static const ButtonSetTable kYesNoCancel = {{"&Yes", "&No", "&Cancel"}, {IDYES, IDNO, IDCANCEL}};
    static const ButtonSetTable kYesNo = {{"&Yes", "&No", ""}, {IDYES, IDNO, IDCANCEL}};
    static const ButtonSetTable kRetryCancel = {{"&Retry", "&Cancel", ""}, {IDRETRY, IDCANCEL, IDCANCEL}};
    switch (buttonSet) {
    case MB_OKCANCEL:
        return kOkCancel;
    case MB_YESNOCANCEL:
        return kYesNoCancel;
    case MB_YESNO:
        return kYesNo;
    case MB_RETRYCANCEL:
        return kRetryCancel;
    default:
        return kOk;
    }
}

bool IsShown(UINT buttonSet, int index) { return index >= 0 && index < AnswerButtonCount(buttonSet); }
}  // namespace

const char* DefaultAnswerCaption(UINT buttonSet, int index) {
    return IsShown(buttonSet, index) ? TableFor(buttonSet).captions[index] : "";
}

int AnswerResult(UINT buttonSet, int index) {
    return IsShown(buttonSet, index) ? TableFor(buttonSet).results[index] : IDCANCEL;
}

int InitialFocusIndex(const MessageStyle& style) {
    if (style.buttonSet == MB_OK)
        return 0;
    if (style.defaultButton == MB_DEFBUTTON2)
        return 1;
    if (style.defaultButton == MB_DEFBUTTON3 && style.buttonSet == MB_YESNOCANCEL)
        return 2;
    return 0;
}

void LayOutAnswerButtons(UINT buttonSet, const RECT& client, RECT buttons[3]) {
    int count = AnswerButtonCount(buttonSet);
    if (count == 3)
        return;  // the template already centres all three
    LONG shift = (client.left + client.right) / 2 - (buttons[0].left + buttons[0].right) / 2;
    if (count == 2)
        shift /= 2;  // with the template's spacing this centres the pair
    for (int i = 0; i < count; ++i)
        ::OffsetRect(&buttons[i], shift, 0);
}
