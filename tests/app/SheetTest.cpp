// The wizard sheet itself, created in this process with the program's resources.
#include <gtest/gtest.h>

#include <stdlib.h>

#include "app/pshMain.h"
#include "res/resource.h"
#include "state/SetupState.h"
#include "support/ModalScript.h"
#include "support/ProductTraces.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"

namespace {

const int kButtons[4] = {kBackButtonId, kNextButtonId, IDCANCEL, kFinishButtonId};

struct Observation {
    std::string titles[6];
    std::string captions[4];
    RECT rects[4];
    RECT finishPageRects[4];
    bool finishPageVisible[4];
    RECT sheetWindow;
    int pageCount = 0;
    UINT templates[6] = {};
};

// Runs a sheet modally and calls `inspect` once it is shown; `inspect` must close it.
template <typename Sheet>
void RunSheet(Sheet& sheet, void (*inspect)(Sheet&)) {
    uitest::RunModal([&] { return static_cast<INT_PTR>(sheet.DoModal()); }, [&](HWND) { inspect(sheet); });
}

class PlainPage : public PropertyPageEx {
public:
    PlainPage() : PropertyPageEx(IDD_FOLDER) {}
};

class PlainSheet : public PropertySheetEx {
public:
    PlainSheet() : PropertySheetEx("", nullptr, 0, nullptr, nullptr, nullptr) {
        PropertyPageEx* const pages[] = {&page};
        SetPages(pages);
        m_psh.dwFlags |= PSH_WIZARD97;
    }
    PlainPage page;
    RECT rects[4];
};

RECT ButtonRect(HWND sheet, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(sheet, id), &rect);
    return rect;
}

Observation ObserveSheet() {
    static Observation seen;
    seen = Observation();
    HBITMAP watermark = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_WATERMARK));
    HBITMAP header = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_HEADER));
    CPshMain sheet("", nullptr, 0, watermark, nullptr, header);
    seen.pageCount = sheet.GetPageCount();
    for (int i = 0; i < sheet.GetPageCount(); ++i)
        seen.templates[i] = sheet.GetPage(i)->TemplateId();
    RunSheet<CPshMain>(sheet, [](CPshMain& s) {
        HWND window = s.GetSafeHwnd();
        GetWindowRect(window, &seen.sheetWindow);
        for (int i = 0; i < 4; ++i) {
            seen.captions[i] = wiztest::ControlText(window, kButtons[i]);
            seen.rects[i] = ButtonRect(window, kButtons[i]);
        }
        for (int page = 0; page < s.GetPageCount(); ++page) {
            s.SetActivePage(page);
            seen.titles[page] = wiztest::WindowText(window);
        }
        for (int i = 0; i < 4; ++i) {
            seen.finishPageVisible[i] = wiztest::IsControlVisible(window, kButtons[i]);
            seen.finishPageRects[i] = ButtonRect(window, kButtons[i]);
        }
        PropSheet_PressButton(window, PSBTN_FINISH);  // the last page visited is Finish
    });
    DeleteObject(watermark);
    DeleteObject(header);
    return seen;
}

class SheetTest : public ::testing::Test {
protected:
    void SetUp() override { wiztest::RemoveUninstallEntry(); }
    void TearDown() override { wiztest::RemoveUninstallEntry(); }
};

}  // namespace

TEST_F(SheetTest, FirstInstallModeHasFourPages) {
    Observation seen = ObserveSheet();
    EXPECT_FALSE(g_setup.alreadyInstalled);
    ASSERT_EQ(4, seen.pageCount);
    const UINT expected[4] = {IDD_WELCOME, IDD_FOLDER, IDD_INSTALL, IDD_FINISH};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(expected[i], seen.templates[i]) << i;
}

TEST_F(SheetTest, MaintenanceModeHasFivePages) {
    ASSERT_TRUE(wiztest::CreateUninstallEntry());
    Observation seen = ObserveSheet();
    EXPECT_TRUE(g_setup.alreadyInstalled);
    ASSERT_EQ(5, seen.pageCount);
    const UINT expected[5] = {IDD_WELCOME, IDD_SETUPTYPE, IDD_INSTALL, IDD_REMOVE, IDD_FINISH};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(expected[i], seen.templates[i]) << i;
}

TEST_F(SheetTest, TheTitleStaysOnEveryPage) {
    Observation seen = ObserveSheet();
    for (int page = 0; page < seen.pageCount; ++page)
        EXPECT_EQ("Kestrin Duoflex Wireless Adapter Setup", seen.titles[page]) << "page " << page;
}

TEST_F(SheetTest, ButtonCaptionsComeFromTheStringTable) {
    Observation seen = ObserveSheet();
    EXPECT_EQ("< &Back", seen.captions[0]);
    EXPECT_EQ("&Next >", seen.captions[1]);
    EXPECT_EQ("&Cancel", seen.captions[2]);
    EXPECT_EQ("&Finish", seen.captions[3]);
}

TEST_F(SheetTest, ButtonsAreFivePixelsTallerThanComctl32Makes) {
    static PlainSheet plain;
    RunSheet<PlainSheet>(plain, [](PlainSheet& s) {
        for (int i = 0; i < 4; ++i)
            s.rects[i] = ButtonRect(s.GetSafeHwnd(), kButtons[i]);
        PropSheet_PressButton(s.GetSafeHwnd(), PSBTN_CANCEL);
    });
    Observation seen = ObserveSheet();
    for (int i = 0; i < 3; ++i) {  // Back, Next, Cancel keep place and width
        EXPECT_EQ(plain.rects[i].bottom - plain.rects[i].top + 5, seen.rects[i].bottom - seen.rects[i].top) << i;
        EXPECT_EQ(plain.rects[i].right - plain.rects[i].left, seen.rects[i].right - seen.rects[i].left) << i;
        EXPECT_EQ(plain.rects[i].left - plain.rects[0].left, seen.rects[i].left - seen.rects[0].left) << i;
    }
    EXPECT_EQ(plain.rects[3].bottom - plain.rects[3].top + 5, seen.rects[3].bottom - seen.rects[3].top);
}

TEST_F(SheetTest, TheFinishPageShowsOnlyTheCentredFinishButton) {
    Observation seen = ObserveSheet();
    EXPECT_FALSE(seen.finishPageVisible[0]);
    EXPECT_FALSE(seen.finishPageVisible[1]);
    EXPECT_FALSE(seen.finishPageVisible[2]);
    EXPECT_TRUE(seen.finishPageVisible[3]);
    const RECT& finish = seen.finishPageRects[3];
    long leftGap = finish.left - seen.sheetWindow.left, rightGap = seen.sheetWindow.right - finish.right;
    EXPECT_GT(leftGap, 0);
    EXPECT_LE(labs(leftGap - rightGap), 1) << "gaps " << leftGap << " and " << rightGap;
}

// The Finish page has just become active in the message being handled: every
// way of closing or finishing the wizard asked for within it is refused,
// including the IDCANCEL the dialog manager would post for a WM_CLOSE; a
// Finish pressed from a later message ends the wizard.
TEST_F(SheetTest, TheFinishPageRefusesRequestsMadeBeforeItBecameActive) {
    for (int request = 0; request < 5; ++request) {
        SCOPED_TRACE(request);
        bool laterPressCame = false;
        CPshMain sheet("", nullptr, 0, nullptr, nullptr, nullptr);
        INT_PTR result = uitest::RunModal([&] { return static_cast<INT_PTR>(sheet.DoModal()); }, [&](HWND window) {
            Sleep(20);  // the page becomes active in a later millisecond than this message was made
            sheet.SetActivePage(sheet.finishPage);
            Sleep(20);  // and whatever is posted from here on, later still
            switch (request) {
            case 0: SendMessageA(window, PSM_PRESSBUTTON, PSBTN_FINISH, 0); break;
            case 1: SendMessageA(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); break;
            case 2: SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); break;
            case 3: SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
            default: SendMessageA(window, WM_CLOSE, 0, 0); break;
            }
            uitest::ThenLater([window, &laterPressCame] {
                laterPressCame = true;
                PropSheet_PressButton(window, PSBTN_FINISH);
            });
        });
        EXPECT_TRUE(laterPressCame) << "the request ended the wizard";
        EXPECT_EQ(IDOK, result);
    }
}
