// The message dialog and the prompts, run for real and answered through
// window messages from inside their own modal loop.
#include <gtest/gtest.h>

#include <string>

#include "Canvas.h"
#include "support/ModalScript.h"
#include "fw/WinApp.h"
#include "pages/CancelPrompt.h"
#include "res/resource.h"
#include "state/SetupState.h"
#include "support/UiDriver.h"
#include "ui/BtnST.h"
#include "ui/Prompts.h"
#include "ui/dlgMsg1.h"

using uitest::RunModal;

namespace {

const int kAnswerIds[3] = {IDC_MSG1_BUTTON1, IDC_MSG1_BUTTON2, IDC_MSG1_BUTTON3};

struct Seen {
    std::string title, text;
    bool visible[3] = {};
    std::string captions[3];
    RECT rects[3] = {};
    RECT templateRects[3] = {};
    RECT client = {};
    int focusId = 0;
    bool focusIsDefault = false;
    int defId = 0;
    HWND owner = nullptr;
    int iconId = 0;  // the message icon that the icon button holds, 0 for none
    bool iconButtonFlat = false;
};

RECT TemplateRect(HWND dialog, int index) {
    RECT rect = {23 + 50 * index, 65, 67 + 50 * index, 81};
    MapDialogRect(dialog, &rect);
    return rect;
}

// True when the icon draws exactly like the program's icon resource.
bool LooksLikeIcon(HICON icon, int id) {
    uitest::Canvas actual(32, 32, RGB(255, 255, 255)), expected(32, 32, RGB(255, 255, 255));
    uitest::DrawExpectedIcon(actual, icon, 0, 0);
    uitest::DrawExpectedIcon(expected, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)), 0, 0);
    return actual.SameArea(expected, actual.Rect());
}

// Which of the four message icons this one draws like.
int IdentifyIcon(HICON icon) {
    for (int id : {IDI_MSG_INFORMATION, IDI_MSG_WARNING, IDI_MSG_STOP, IDI_MSG_QUESTION})
        if (icon && LooksLikeIcon(icon, id))
            return id;
    return 0;
}

Seen Look(HWND dialog) {
    Seen seen;
    seen.title = wiztest::WindowText(dialog);
    seen.text = wiztest::ControlText(dialog, IDC_MSG1_TEXT);
    for (int i = 0; i < 3; ++i) {
        seen.visible[i] = wiztest::IsControlVisible(dialog, kAnswerIds[i]);
        seen.captions[i] = wiztest::ControlText(dialog, kAnswerIds[i]);
        seen.rects[i] = wiztest::ControlRect(dialog, kAnswerIds[i]);
        seen.templateRects[i] = TemplateRect(dialog, i);
    }
    GetClientRect(dialog, &seen.client);
    HWND focus = GetFocus();
    seen.focusId = GetDlgCtrlID(focus);
    seen.focusIsDefault = (GetWindowLongA(focus, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    LRESULT defId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    seen.defId = HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : 0;
    seen.owner = GetWindow(dialog, GW_OWNER);
    BtnST* iconButton = static_cast<BtnST*>(SubclassWnd::FromHandle(GetDlgItem(dialog, IDC_MSG1_ICON)));
    if (iconButton) {
        seen.iconId = IdentifyIcon(iconButton->Icon(0));
        seen.iconButtonFlat = iconButton->IsFlat();
    }
    return seen;
}

// Shows the message, looks at it, then acts on it.
int Ask(UINT style, Seen& seen, const std::function<void(HWND)>& act) {
    return static_cast<int>(RunModal([&] { return ShowMessage("Question", "Some text", style); },
                                     [&](HWND dialog) {
                                         seen = Look(dialog);
                                         act(dialog);
                                     }));
}

void Click(HWND dialog, int index) { wiztest::ClickControl(dialog, kAnswerIds[index]); }
void PressEnter(HWND) { wiztest::PressKey(GetFocus(), VK_RETURN); }
void PressEscape(HWND dialog) { wiztest::PressKey(dialog, VK_ESCAPE); }
void CloseBox(HWND dialog) { wiztest::CloseWindowBox(dialog); }

LONG Centre(LONG low, LONG high) { return (low + high) / 2; }

class TestApp : public WinApp {
public:
    int Main() override { return 0; }
};

}  // namespace

TEST(MessageDialog, ShowsTitleAndText) {
    Seen seen;
    Ask(0x40, seen, PressEscape);
    EXPECT_EQ("Question", seen.title);
    EXPECT_EQ("Some text", seen.text);
}

TEST(MessageDialog, OkAloneIsCentred) {
    Seen seen;
    EXPECT_EQ(IDOK, Ask(0x10, seen, [](HWND d) { Click(d, 0); }));
    EXPECT_TRUE(seen.visible[0]);
    EXPECT_FALSE(seen.visible[1]);
    EXPECT_FALSE(seen.visible[2]);
    EXPECT_EQ("&OK", seen.captions[0]);
    EXPECT_NEAR(Centre(seen.client.left, seen.client.right), Centre(seen.rects[0].left, seen.rects[0].right), 1);
    EXPECT_EQ(seen.templateRects[0].top, seen.rects[0].top);
    EXPECT_EQ(seen.templateRects[0].right - seen.templateRects[0].left, seen.rects[0].right - seen.rects[0].left);
}

TEST(MessageDialog, PairIsCentred) {
    Seen seen;
    EXPECT_EQ(IDNO, Ask(0x24, seen, [](HWND d) { Click(d, 1); }));
    EXPECT_TRUE(seen.visible[0]);
    EXPECT_TRUE(seen.visible[1]);
    EXPECT_FALSE(seen.visible[2]);
    EXPECT_EQ("&Yes", seen.captions[0]);
    EXPECT_EQ("&No", seen.captions[1]);
    EXPECT_NEAR(Centre(seen.client.left, seen.client.right), Centre(seen.rects[0].left, seen.rects[1].right), 1);
    EXPECT_EQ(seen.templateRects[1].left - seen.templateRects[0].left, seen.rects[1].left - seen.rects[0].left);
}

TEST(MessageDialog, ThreeButtonsKeepTheirPlaces) {
    Seen seen;
    EXPECT_EQ(IDCANCEL, Ask(0x43, seen, [](HWND d) { Click(d, 2); }));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(seen.visible[i]) << i;
        EXPECT_TRUE(EqualRect(&seen.templateRects[i], &seen.rects[i])) << i;
    }
    EXPECT_EQ("&Yes", seen.captions[0]);
    EXPECT_EQ("&No", seen.captions[1]);
    EXPECT_EQ("&Cancel", seen.captions[2]);
}

TEST(MessageDialog, EveryButtonGivesItsAnswer) {
    struct Case {
        UINT set;
        int button;
        int answer;
        const char* caption;
        int shown;  // how many answer buttons the set shows
    } cases[] = {{MB_OK, 0, IDOK, "&OK", 1},          {MB_OKCANCEL, 0, IDOK, "&OK", 2},
                 {MB_OKCANCEL, 1, IDCANCEL, "&Cancel", 2}, {MB_YESNOCANCEL, 0, IDYES, "&Yes", 3},
                 {MB_YESNOCANCEL, 1, IDNO, "&No", 3},  {MB_YESNOCANCEL, 2, IDCANCEL, "&Cancel", 3},
                 {MB_YESNO, 0, IDYES, "&Yes", 2},      {MB_YESNO, 1, IDNO, "&No", 2},
                 {MB_RETRYCANCEL, 0, IDRETRY, "&Retry", 2}, {MB_RETRYCANCEL, 1, IDCANCEL, "&Cancel", 2}};
    for (const Case& c : cases) {
        Seen seen;
        int answer = Ask(c.set, seen, [&](HWND d) { Click(d, c.button); });
        EXPECT_EQ(c.answer, answer) << "set " << c.set << " button " << c.button;
        EXPECT_EQ(c.caption, seen.captions[c.button]) << "set " << c.set << " button " << c.button;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(i < c.shown, seen.visible[i]) << "set " << c.set << " button " << i;
    }
}

TEST(MessageDialog, UnknownButtonSetsShowOneOk) {
    for (UINT style : {0x132u, 0x02u, 0x06u, 0x0Fu}) {
        Seen seen;
        EXPECT_EQ(IDOK, Ask(style, seen, PressEnter)) << style;
        EXPECT_TRUE(seen.visible[0]);
        EXPECT_FALSE(seen.visible[1]);
        EXPECT_FALSE(seen.visible[2]);
        EXPECT_EQ("&OK", seen.captions[0]);
        EXPECT_EQ(IDC_MSG1_BUTTON1, seen.focusId) << style;
    }
}

TEST(MessageDialog, FocusStartsOnYesAndEnterAnswersYes) {
    Seen seen;
    EXPECT_EQ(IDYES, Ask(0x43, seen, PressEnter));
    EXPECT_EQ(IDC_MSG1_BUTTON1, seen.focusId);
    EXPECT_TRUE(seen.focusIsDefault);
    EXPECT_EQ(IDC_MSG1_BUTTON1, seen.defId);
}

TEST(MessageDialog, SecondDefaultPutsTheFocusOnNo) {
    Seen seen;
    EXPECT_EQ(IDNO, Ask(0x04 | 0x100, seen, PressEnter));
    EXPECT_EQ(IDC_MSG1_BUTTON2, seen.focusId);
    EXPECT_TRUE(seen.focusIsDefault);
    EXPECT_EQ(IDC_MSG1_BUTTON2, seen.defId);
}

TEST(MessageDialog, ThirdDefaultPutsTheFocusOnCancel) {
    Seen seen;
    EXPECT_EQ(IDCANCEL, Ask(0x03 | 0x200, seen, PressEnter));
    EXPECT_EQ(IDC_MSG1_BUTTON3, seen.focusId);
    EXPECT_TRUE(seen.focusIsDefault);
    EXPECT_EQ(IDC_MSG1_BUTTON3, seen.defId);
}

TEST(MessageDialog, OnlyTheFocusedButtonLooksDefault) {
    Seen seen;
    HWND others[2] = {};
    Ask(0x03 | 0x100, seen, [&](HWND d) {
        others[0] = GetDlgItem(d, IDC_MSG1_BUTTON1);
        others[1] = GetDlgItem(d, IDC_MSG1_BUTTON3);
        for (HWND other : others)
            EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(other, GWL_STYLE) & BS_TYPEMASK);
        EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(GetDlgItem(d, IDOK), GWL_STYLE) & BS_TYPEMASK);
        PressEscape(d);
    });
    EXPECT_EQ(IDC_MSG1_BUTTON2, seen.focusId);
}

TEST(MessageDialog, EnterOnTheIconAnswersTheDefaultButton) {
    Seen seen;
    EXPECT_EQ(IDNO, Ask(0x03 | 0x100, seen, [](HWND d) {
                  SetFocus(GetDlgItem(d, IDC_MSG1_ICON));
                  wiztest::PressKey(GetDlgItem(d, IDC_MSG1_ICON), VK_RETURN);
              }));
}

static int g_tabKeys = 0;

static LRESULT CALLBACK CountTabKeys(int code, WPARAM wp, LPARAM lp) {
    const MSG* msg = reinterpret_cast<const MSG*>(lp);
    if (code == HC_ACTION && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB)
        ++g_tabKeys;
    return CallNextHookEx(nullptr, code, wp, lp);
}

// Synthesised keystrokes would go to whatever window is in front; the focus
// must be placed without them.
TEST(MessageDialog, DefaultButtonIsReachedWithoutKeystrokes) {
    g_tabKeys = 0;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, CountTabKeys, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook != nullptr);
    Seen seen;
    Ask(0x03 | 0x200, seen, [](HWND d) { uitest::ThenLater([d] { PressEscape(d); }); });
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(0, g_tabKeys);
    EXPECT_EQ(IDC_MSG1_BUTTON3, seen.focusId);
}

TEST(MessageDialog, EscapeAndTheCloseBoxAnswerCancel) {
    Seen seen;
    EXPECT_EQ(IDCANCEL, Ask(0x43, seen, PressEscape));
    EXPECT_EQ(IDCANCEL, Ask(0x43, seen, CloseBox));
    EXPECT_EQ(IDCANCEL, Ask(0x44, seen, CloseBox));
    EXPECT_EQ(IDCANCEL, Ask(0x40, seen, PressEscape));
}

TEST(MessageDialog, IconByKind) {
    struct Case {
        UINT style;
        int icon;
    } cases[] = {{0x10, IDI_MSG_STOP},        {0x20, IDI_MSG_QUESTION},    {0x30, IDI_MSG_WARNING},
                 {0x40, IDI_MSG_INFORMATION}, {0x50, IDI_MSG_INFORMATION}, {0x00, IDI_MSG_INFORMATION},
                 {0x33, IDI_MSG_WARNING},     {0x43, IDI_MSG_INFORMATION}};
    for (const Case& c : cases) {
        Seen seen;
        Ask(c.style, seen, PressEscape);
        EXPECT_EQ(c.icon, seen.iconId) << std::hex << c.style;
        EXPECT_TRUE(seen.iconButtonFlat);
    }
}

TEST(MessageDialog, IconIsDrawnBareInTheMiddleOfItsButton) {
    RunModal([] { return ShowMessage("Icon", "text", 0x10); },
             [](HWND dialog) {
                 HWND button = GetDlgItem(dialog, IDC_MSG1_ICON);
                 RECT client;
                 GetClientRect(button, &client);
                 RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                 uitest::Canvas shown(client.right, client.bottom, RGB(0, 0, 0));
                 shown.CopyFromWindow(button, 0, 0);
                 uitest::Canvas expected(client.right, client.bottom, GetSysColor(COLOR_BTNFACE));
                 int x = (client.right - 32) / 2, y = (client.bottom - 32) / 2;
                 uitest::DrawExpectedIcon(expected, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MSG_STOP)),
                                          x, y);
                 EXPECT_TRUE(shown.SameArea(expected, shown.Rect()));
                 PressEscape(dialog);
             });
}

TEST(MessageDialog, GivenCaptionsReplaceTheBuiltInOnes) {
    Seen seen;
    int answer = static_cast<int>(
        RunModal([] { return ShowMessageWithButtons("T", "X", 0x04, "Sure", "Never", "Unused"); },
                 [&](HWND d) {
                     seen = Look(d);
                     Click(d, 1);
                 }));
    EXPECT_EQ(IDNO, answer);
    EXPECT_EQ("Sure", seen.captions[0]);
    EXPECT_EQ("Never", seen.captions[1]);
    EXPECT_FALSE(seen.visible[2]);
}

TEST(MessageDialog, EmptyCaptionsStayEmpty) {
    for (int button = 0; button < 3; ++button) {
        Seen seen;
        int answer = static_cast<int>(RunModal([] { return ShowMessageWithButtons("T", "X", 0x03, "", "", ""); },
                                               [&](HWND d) {
                                                   seen = Look(d);
                                                   Click(d, button);
                                               }));
        const int expected[3] = {IDYES, IDNO, IDCANCEL};
        EXPECT_EQ(expected[button], answer);
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(seen.visible[i]);
            EXPECT_EQ("", seen.captions[i]);
        }
    }
}

TEST(MessageDialog, OwnedByTheApplicationsMainWindow) {
    HWND main = CreateWindowExA(0, "STATIC", "main", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    Wnd mainWnd(main);
    bool mainEnabledMeanwhile = true;
    Seen seen;
    {
        TestApp app;
        app.m_pMainWnd = &mainWnd;
        Ask(0x40, seen, [&](HWND d) {
            mainEnabledMeanwhile = IsWindowEnabled(main) != FALSE;
            PressEscape(d);
        });
    }
    EXPECT_EQ(main, seen.owner);
    EXPECT_FALSE(mainEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(main));
    DestroyWindow(main);
}

TEST(MessageDialog, WithoutApplicationThereIsNoOwner) {
    ASSERT_TRUE(WinApp::Current() == nullptr);
    Seen seen;
    Ask(0x40, seen, PressEscape);
    EXPECT_TRUE(seen.owner == nullptr);
}

TEST(MessageDialog, DialogObjectKeepsTheStyleItWasGiven) {
    dlgMsg1 dialog("t", "x", 0x132);
    EXPECT_EQ(0u, dialog.Style().buttonSet);
    EXPECT_EQ(0x30u, dialog.Style().iconKind);
    EXPECT_EQ(0x100u, dialog.Style().defaultButton);
}

TEST(Prompts, ConfirmCancelAsksTheBuiltInQuestion) {
    Seen seen;
    bool answer = true;
    RunModal([&] { return static_cast<INT_PTR>(answer = ConfirmCancel()); },
             [&](HWND d) {
                 seen = Look(d);
                 Click(d, 0);
             });
    EXPECT_TRUE(answer);
    EXPECT_EQ("Warning...", seen.title);
    EXPECT_EQ("You have selected to cancel the setup.\n\nAre you sure that you want to cancel the installation?",
              seen.text);
    EXPECT_EQ("&Yes", seen.captions[0]);
    EXPECT_EQ("&No", seen.captions[1]);
    EXPECT_EQ("&Cancel", seen.captions[2]);
    EXPECT_EQ(IDC_MSG1_BUTTON1, seen.focusId);
    EXPECT_EQ(IDI_MSG_INFORMATION, seen.iconId);
}

TEST(Prompts, ConfirmCancelRefusesEverythingButYes) {
    const std::function<void(HWND)> refusals[4] = {[](HWND d) { Click(d, 1); }, [](HWND d) { Click(d, 2); },
                                                   CloseBox, PressEscape};
    for (const auto& refuse : refusals) {
        bool answer = true;
        RunModal([&] { return static_cast<INT_PTR>(answer = ConfirmCancel()); }, refuse);
        EXPECT_FALSE(answer);
    }
}

TEST(Prompts, ConfirmCancelLocalizedUsesTheStringTable) {
    LoadCancelTexts();
    Seen seen;
    bool answer = false;
    RunModal([&] { return static_cast<INT_PTR>(answer = ConfirmCancelLocalized()); },
             [&](HWND d) {
                 seen = Look(d);
                 Click(d, 0);
             });
    EXPECT_TRUE(answer);
    EXPECT_EQ("Warning...", seen.title);
    EXPECT_EQ("You have selected to cancel the setup.\n\nAre you sure that you want to cancel the installation?",
              seen.text);
    EXPECT_EQ("&Yes", seen.captions[0]);
    EXPECT_EQ("&No", seen.captions[1]);
    EXPECT_EQ("&Cancel", seen.captions[2]);
}

TEST(Prompts, ConfirmCancelLocalizedShowsTheLoadedTexts) {
    SetupState saved = g_setup;
    g_setup.cancelTitle = "Abbrechen?";
    g_setup.cancelText = "Wirklich abbrechen?";
    g_setup.yesText = "&Ja";
    g_setup.noText = "&Nein";
    g_setup.cancelButtonText = "Ab&brechen";
    Seen seen;
    bool answer = true;
    RunModal([&] { return static_cast<INT_PTR>(answer = ConfirmCancelLocalized()); },
             [&](HWND d) {
                 seen = Look(d);
                 Click(d, 1);
             });
    g_setup = saved;
    EXPECT_FALSE(answer);
    EXPECT_EQ("Abbrechen?", seen.title);
    EXPECT_EQ("Wirklich abbrechen?", seen.text);
    EXPECT_EQ("&Ja", seen.captions[0]);
    EXPECT_EQ("&Nein", seen.captions[1]);
    EXPECT_EQ("Ab&brechen", seen.captions[2]);
}

TEST(Prompts, ConfirmCancelLocalizedRefusesEverythingButYes) {
    LoadCancelTexts();
    const std::function<void(HWND)> refusals[3] = {[](HWND d) { Click(d, 1); }, [](HWND d) { Click(d, 2); },
                                                   CloseBox};
    for (const auto& refuse : refusals) {
        bool answer = true;
        RunModal([&] { return static_cast<INT_PTR>(answer = ConfirmCancelLocalized()); }, refuse);
        EXPECT_FALSE(answer);
    }
}
