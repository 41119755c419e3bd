#include "ui/MessageStyle.h"

#include "res/resource.h"

MessageStyle DecodeMessageStyle(UINT style) {
    MessageStyle decoded;
    UINT buttons = style & 0xF;
    decoded.buttonSet = (buttons == 0 || buttons == 1 || buttons == 3 || buttons == 4 || buttons == 5) ? buttons : 0;
    UINT icon = style & 0xF0;
    decoded.iconKind = (icon >= 0x10 && icon <= 0x40) ? icon : 0x40;
    UINT defaultButton = style & 0xF00;
    decoded.defaultButton = defaultButton <= 0x200 ? defaultButton : 0;
    return decoded;
}

int MessageIconId(UINT iconKind) {
    switch (iconKind) {
    case 0x10:
        return IDI_MSG_STOP;
    case 0x20:
        return IDI_MSG_QUESTION;
    case 0x30:
        return IDI_MSG_WARNING;
    default:
        return IDI_MSG_INFORMATION;
    }
}

int AnswerButtonCount(UINT buttonSet) {
    switch (buttonSet) {
    case 1:
    case 4:
    case 5:
        return 2;
    case 3:
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
    case 1:
        return kOkCancel;
    case 3:
        return kYesNoCancel;
    case 4:
        return kYesNo;
    case 5:
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
    if (style.buttonSet == 0)
        return 0;
    if (style.defaultButton == 0x100)
        return 1;
    if (style.defaultButton == 0x200 && style.buttonSet == 3)
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
