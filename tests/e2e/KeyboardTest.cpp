// The wizard driven with the keyboard alone, by real key input: where the
// focus is on every page, that a run starts once and that keys and close
// requests made during it change nothing, then or afterwards.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/WizardDriver.h"
#include "support/TestSupport.h"

using namespace wiztest;

namespace {

// The focus is on a visible, enabled window of the sheet (a control, a page, the sheet).
bool FocusIsUsable(HWND sheet) {
    HWND focus = FocusOf(sheet);
    return focus && IsWindowVisible(focus) && IsWindowEnabled(focus) && (focus == sheet || IsChild(sheet, focus));
}

bool FocusIsOn(HWND sheet, HWND control) {
    return WaitUntil([&] { return FocusOf(sheet) == control; });
}

// A window's text as the system holds it, asked without a message: a window
// thread busy in the engine's steps answers none.
std::string HeldText(HWND window) {
    char text[256] = {0};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

// The repair's steps after the files are copied: none of them takes messages.
bool InLastSteps(HWND status) {
    std::string text = HeldText(status);
    return text == "Status: Building shortcut..." || text == "Status: Registing setting..." ||
           text == "Status: Miscellaneous setting...";
}

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveProductTraces(); }
    void TearDown() override {
        setup_.Kill();
        RemoveProductTraces();
    }

    HWND Start() {
        HWND sheet = StartWizard(setup_);
        EXPECT_TRUE(sheet);
        return sheet;
    }

    // Ends the wizard by a key typed on the Finish page; it exits with code 0.
    void ExpectFinishedBy(HWND sheet, std::initializer_list<WORD> keys) {
        EXPECT_TRUE(FocusIsOn(sheet, GetDlgItem(sheet, kFinishButton)));
        ASSERT_TRUE(TypeKeys(sheet, keys));
        DWORD exitCode = 1;
        EXPECT_TRUE(setup_.WaitExit(kUiTimeoutMs, &exitCode));
        EXPECT_EQ(0u, exitCode);
    }

    // A first installation by keys: Enter, Back and Enter again, Enter, Enter on Finish.
    void InstallByKeys() {
        HWND sheet = Start();
        ASSERT_TRUE(sheet);
        EXPECT_TRUE(FocusIsOn(sheet, GetDlgItem(sheet, kNextButton)));
        ASSERT_TRUE(TypeKeys(sheet, {VK_RETURN}));
        ASSERT_TRUE(WaitForPage(sheet, kFolderEdit));
        EXPECT_TRUE(FocusIsOn(sheet, GetDlgItem(CurrentPage(sheet), kFolderEdit)));
        ASSERT_TRUE(TypeKeys(sheet, {VK_MENU, 'B'}));
        ASSERT_TRUE(WaitForPage(sheet, kWelcomeBody));
        EXPECT_TRUE(FocusIsOn(sheet, GetDlgItem(sheet, kNextButton))) << "focus after Back";
        ASSERT_TRUE(TypeKeys(sheet, {VK_RETURN}));
        ASSERT_TRUE(WaitForPage(sheet, kFolderEdit));
        ASSERT_TRUE(TypeKeys(sheet, {VK_RETURN}));
        ASSERT_TRUE(WaitForPage(sheet, kFinishText));
        EXPECT_TRUE(FocusIsUsable(sheet));
        ExpectFinishedBy(sheet, {VK_RETURN});
    }

    // Maintenance mode by keys up to the setup-type page, focus on Repair/Upgrade.
    HWND StartOnSetupType() {
        HWND sheet = Start();
        if (!sheet)
            return nullptr;
        EXPECT_TRUE(TypeKeys(sheet, {VK_RETURN}));
        if (!WaitForPage(sheet, kSetupRepair))
            return nullptr;
        EXPECT_TRUE(FocusIsOn(sheet, GetDlgItem(CurrentPage(sheet), kSetupRepair)));
        return sheet;
    }

    // Starts the run of the focused setup-type button by Space; answers the
    // run's page once the run has begun (status "Status: ", the first second).
    HWND SpaceStartsRun(HWND sheet, int statusId) {
        HWND setupType = CurrentPage(sheet);
        EXPECT_TRUE(TypeKeys(sheet, {VK_SPACE}));
        if (!WaitUntil([&] { return CurrentPage(sheet) != setupType; }))
            return nullptr;
        HWND page = CurrentPage(sheet);
        EXPECT_TRUE(GetDlgItem(page, statusId));
        WaitUntil([&] { return ControlText(page, statusId) == "Status: "; });
        return page;
    }

    // Texts the run's page shows from the Finish page's appearance until the
    // wizard ends by `keys`: a second, nested run would change them.
    std::vector<std::string> StatusesAfterFinish(HWND sheet, HWND runPage, int statusId,
                                                 std::initializer_list<WORD> keys) {
        std::vector<std::string> seen;
        EXPECT_TRUE(WaitForPage(sheet, kFinishText));
        EXPECT_TRUE(FocusIsOn(sheet, GetDlgItem(sheet, kFinishButton)));
        bool typed = false;
        WaitUntil([&] {
            std::string status = ControlText(runPage, statusId);
            if (!status.empty() && (seen.empty() || seen.back() != status))
                seen.push_back(status);
            if (!typed)
                typed = TypeKeys(sheet, keys);
            return setup_.WaitExit(0);
        });
        return seen;
    }

    // Stops the wizard's thread in the repair's last steps, so that keys typed
    // meanwhile wait in its queue until the run ends; false when the run got
    // past them before it could be caught.
    bool HoldInLastSteps(HWND page) {
        HWND status = GetDlgItem(page, kInstallStatus);
        DWORD start = GetTickCount();
        while (!InLastSteps(status)) {
            if (GetTickCount() - start > kUiTimeoutMs)
                return false;
            Sleep(0);
        }
        if (!setup_.Suspend())
            return false;
        if (InLastSteps(status))
            return true;
        setup_.Resume();
        return false;
    }

    // A repair started and interrupted as a user would, without bringing a
    // window forward: Space on Repair/Upgrade, Alt+F4, 150 ms, then `last`.
    // The close keys come 300 ms after Space, or once the run's first pause
    // has begun (its status reads "Status: "), which holds at any speed of
    // the machine. True when the wizard then closed by itself, on or before
    // the Finish page; false when it stays on the Finish page.
    bool RepairClosesAfterKeys(std::initializer_list<WORD> last, bool atFirstPause) {
        HWND sheet = StartOnSetupType();
        EXPECT_TRUE(sheet);
        if (!sheet)
            return false;
        HWND setupType = CurrentPage(sheet);
        EXPECT_TRUE(SendKeys({VK_SPACE}));
        if (atFirstPause)
            EXPECT_TRUE(WaitUntil([&] {
                HWND page = CurrentPage(sheet);
                return page != setupType && ControlText(page, kInstallStatus) == "Status: ";
            }));
        else
            Sleep(300);
        EXPECT_TRUE(SendKeys({VK_MENU, VK_F4}));
        Sleep(150);
        EXPECT_TRUE(SendKeys(last));
        EXPECT_TRUE(WaitUntil([&] { return setup_.WaitExit(0) || OnPage(sheet, kFinishText); }));
        if (setup_.WaitExit(1000))
            return true;
        EXPECT_FALSE(FindOtherTopWindow(setup_.Id(), sheet)) << "a question during the run";
        return false;
    }

    Process setup_;
};

}  // namespace

TEST_F(KeyboardTest, InstallationAndRemovalByKeysFinishByEnter) {
    ASSERT_NO_FATAL_FAILURE(InstallByKeys());
    HWND sheet = StartOnSetupType();
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(TypeKeys(sheet, {VK_TAB}));
    ASSERT_TRUE(FocusIsOn(sheet, GetDlgItem(CurrentPage(sheet), kSetupRemove)));
    ASSERT_TRUE(SpaceStartsRun(sheet, kRemoveStatus));
    ASSERT_TRUE(WaitForPage(sheet, kFinishText));
    ExpectFinishedBy(sheet, {VK_RETURN});
}

TEST_F(KeyboardTest, ASecondSpaceOnTheHiddenButtonRunsNothing) {
    ASSERT_NO_FATAL_FAILURE(InstallByKeys());
    {
        HWND sheet = StartOnSetupType();
        ASSERT_TRUE(sheet);
        HWND page = SpaceStartsRun(sheet, kInstallStatus);
        ASSERT_TRUE(page);
        ASSERT_TRUE(TypeKeys(sheet, {VK_SPACE}));
        std::vector<std::string> after = StatusesAfterFinish(sheet, page, kInstallStatus, {VK_RETURN});
        EXPECT_EQ(std::vector<std::string>{"Status: Done."}, after) << "the repair ran again";
    }
    setup_.Kill();
    HWND sheet = StartOnSetupType();  // the removal, reached by Tab
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(TypeKeys(sheet, {VK_TAB}));
    ASSERT_TRUE(FocusIsOn(sheet, GetDlgItem(CurrentPage(sheet), kSetupRemove)));
    HWND page = SpaceStartsRun(sheet, kRemoveStatus);
    ASSERT_TRUE(page);
    ASSERT_TRUE(TypeKeys(sheet, {VK_SPACE}));
    std::vector<std::string> after = StatusesAfterFinish(sheet, page, kRemoveStatus, {VK_MENU, VK_F4});
    EXPECT_EQ(std::vector<std::string>{"Status: Done."}, after) << "the removal ran again";
}

TEST_F(KeyboardTest, KeysAndCloseRequestsDuringARunChangeNothing) {
    ASSERT_NO_FATAL_FAILURE(InstallByKeys());
    const std::vector<std::vector<WORD>> sequences = {
        {VK_F4, VK_ESCAPE}, {VK_F4, VK_F4}, {VK_F4, VK_RETURN, VK_SPACE, 'B', 'N', VK_ESCAPE}};
    for (const std::vector<WORD>& keys : sequences) {
        SCOPED_TRACE(keys.size());
        setup_.Kill();
        HWND sheet = StartOnSetupType();
        ASSERT_TRUE(sheet);
        HWND page = SpaceStartsRun(sheet, kInstallStatus);
        ASSERT_TRUE(page);
        for (WORD key : keys) {  // F4, B and N with Alt
            bool alt = key == VK_F4 || key == 'B' || key == 'N';
            ASSERT_TRUE(alt ? TypeKeys(sheet, {VK_MENU, key}) : TypeKeys(sheet, {key}));
        }
        ASSERT_TRUE(WaitForPage(sheet, kFinishText));
        EXPECT_EQ("Status: Done.", ControlText(page, kInstallStatus));
        // Refused while the run pauses, and nothing of them is left for the Finish page.
        EXPECT_FALSE(setup_.WaitExit(3000)) << "the wizard closed without Finish";
        ExpectFinishedBy(sheet, {VK_MENU, 'F'});
    }
}

TEST_F(KeyboardTest, CloseKeysQueuedWhileTheRunTakesNoMessagesChangeNothing) {
    ASSERT_NO_FATAL_FAILURE(InstallByKeys());
    HWND sheet = nullptr;
    HWND page = nullptr;
    bool held = false;
    for (int attempt = 0; attempt < 10 && !held; ++attempt) {
        setup_.Kill();
        sheet = StartOnSetupType();
        ASSERT_TRUE(sheet);
        page = SpaceStartsRun(sheet, kInstallStatus);
        ASSERT_TRUE(page);
        held = HoldInLastSteps(page);
    }
    ASSERT_TRUE(held) << "the repair's last steps were never caught";
    bool typed = TypeKeys(sheet, {VK_MENU, VK_F4}) && TypeKeys(sheet, {VK_ESCAPE});
    ASSERT_TRUE(setup_.Resume());
    ASSERT_TRUE(typed);
    ASSERT_TRUE(WaitForPage(sheet, kFinishText));
    EXPECT_FALSE(setup_.WaitExit(3000)) << "keys typed during the run closed the wizard after it";
    ExpectFinishedBy(sheet, {VK_MENU, 'F'});
}

TEST_F(KeyboardTest, CloseKeysTypedInARepairsFirstSecondLeaveTheFinishPage) {
    ASSERT_NO_FATAL_FAILURE(InstallByKeys());
    const int kTries = 10;
    int stayed = 0;
    for (bool atFirstPause : {true, false}) {
        for (bool escapeLast : {true, false}) {
            SCOPED_TRACE(std::string(escapeLast ? "Alt+F4, Esc" : "Alt+F4 twice") +
                         (atFirstPause ? ", in the first pause" : ", 300 ms after Space"));
            int closed = 0;
            for (int attempt = 0; attempt < kTries; ++attempt) {
                setup_.Kill();
                if (RepairClosesAfterKeys(escapeLast ? std::initializer_list<WORD>{VK_ESCAPE}
                                                     : std::initializer_list<WORD>{VK_MENU, VK_F4},
                                          atFirstPause)) {
                    ++closed;
                    continue;
                }
                // Each way of ending the wizard on the Finish page acts as ever.
                HWND sheet = FindTopWindow(kSheetTitle, setup_.Id());
                ASSERT_TRUE(sheet);
                switch (stayed++ % 4) {
                case 0: ExpectFinishedBy(sheet, {VK_RETURN}); break;
                case 1: ExpectFinishedBy(sheet, {VK_MENU, 'F'}); break;
                case 2: ExpectFinishedBy(sheet, {VK_ESCAPE}); break;
                default: ExpectFinishedBy(sheet, {VK_MENU, VK_F4}); break;
                }
            }
            EXPECT_EQ(0, closed) << closed << " of " << kTries
                                 << " tries closed the wizard without a key on Finish";
        }
    }
}
