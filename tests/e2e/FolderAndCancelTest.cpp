// The destination folder page's questions, and Cancel on every page.
#include <gtest/gtest.h>

#include <windows.h>

#include "e2e/WizardDriver.h"
#include "support/TestSupport.h"

using namespace wiztest;

namespace {

const char kCancelQuestion[] =
    "You have selected to cancel the setup.\n\nAre you sure that you want to cancel the installation?";

class WizardPagesTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveProductTraces(); }
    void TearDown() override {
        setup_.Kill();
        RemoveProductTraces();
        DeleteTreeOfTest();
    }

    HWND StartOnFolderPage() {
        HWND sheet = StartWizard(setup_);
        if (!sheet)
            return nullptr;
        ClickControl(sheet, kNextButton);
        return WaitForPage(sheet, kFolderEdit) ? sheet : nullptr;
    }

    // The folder text is whole and selected, and the page stays.
    void ExpectStaysWithTextSelected(HWND sheet) {
        HWND edit = GetDlgItem(CurrentPage(sheet), kFolderEdit);
        DWORD selection = 0, length = 0;
        bool selected = WaitUntil([&] {
            selection = static_cast<DWORD>(SendMessageA(edit, EM_GETSEL, 0, 0));
            length = static_cast<DWORD>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
            return length > 0 && LOWORD(selection) == 0 && HIWORD(selection) == length;
        });
        EXPECT_TRUE(selected) << "selection " << LOWORD(selection) << "-" << HIWORD(selection) << " of " << length;
        EXPECT_TRUE(OnPage(sheet, kFolderEdit));
    }

    static void DeleteTreeOfTest() {
        for (const char* path : {"C:\\Kestrin Duoflex Test\\one\\two\\three", "C:\\Kestrin Duoflex Test\\one\\two",
                                 "C:\\Kestrin Duoflex Test\\one"})
            RemoveDirectoryA(path);
        RemoveProductTracesIn("C:\\Kestrin Duoflex Test");
    }
    static void RemoveProductTracesIn(const char* folder) { RemoveDirectoryA(folder); }

    Process setup_;
    ProductPaths paths_ = DefaultProductPaths();
};

}  // namespace

TEST_F(WizardPagesTest, AnExistingFolderAsksBeforeInstalling) {
    CreateDirectoryA(paths_.installDir.c_str(), nullptr);
    HWND sheet = StartOnFolderPage();
    ASSERT_TRUE(sheet);
    for (int refusal : {kAnswer2, kAnswer3, 0}) {  // No, Cancel, the close box
        ClickControl(sheet, kNextButton);
        HWND question = WaitForMessage(setup_, sheet);
        ASSERT_TRUE(question);
        EXPECT_EQ("Warning...", WindowText(question));
        EXPECT_EQ("The target folder already exists.\n\nDo you want to continue installation?",
                  ControlText(question, kMessageText));
        EXPECT_EQ("&Yes", ControlText(question, kAnswer1));
        EXPECT_EQ("&No", ControlText(question, kAnswer2));
        EXPECT_EQ("&Cancel", ControlText(question, kAnswer3));
        Answer(question, refusal);
        ExpectStaysWithTextSelected(sheet);
        EXPECT_FALSE(PathExists(paths_.installDir + "\\~NoKill.wiz"));
    }
    ClickControl(sheet, kNextButton);
    HWND question = WaitForMessage(setup_, sheet);
    ASSERT_TRUE(question);
    Answer(question, kAnswer1);
    ASSERT_TRUE(WaitForPage(sheet, kFinishText));
    EXPECT_TRUE(PathExists(paths_.installDir + "\\~NoKill.wiz"));
    EXPECT_TRUE(FinishWizard(sheet, setup_));
}

TEST_F(WizardPagesTest, AFolderThatCannotBeCreatedIsRefused) {
    HWND sheet = StartOnFolderPage();
    ASSERT_TRUE(sheet);
    SetFolderText(sheet, "Q:\\Kestrin Duoflex");  // no drive Q: in the prefix
    ClickControl(sheet, kNextButton);
    HWND warning = WaitForMessage(setup_, sheet);
    ASSERT_TRUE(warning);
    EXPECT_EQ("The target folder is invalid!\n\nPlease try the other one...", ControlText(warning, kMessageText));
    EXPECT_EQ("&OK", ControlText(warning, kAnswer1));
    EXPECT_FALSE(IsControlVisible(warning, kAnswer2));
    Answer(warning, kAnswer1);
    ExpectStaysWithTextSelected(sheet);
    EXPECT_EQ("Q:\\Kestrin Duoflex", PageText(sheet, kFolderEdit));
}

TEST_F(WizardPagesTest, ABlankFolderRestoresTheDefault) {
    HWND sheet = StartOnFolderPage();
    ASSERT_TRUE(sheet);
    SetFolderText(sheet, "   ");
    ClickControl(sheet, kNextButton);
    EXPECT_TRUE(WaitUntil([&] { return PageText(sheet, kFolderEdit) == paths_.installDir; }));
    ExpectStaysWithTextSelected(sheet);
    EXPECT_FALSE(FindOtherTopWindow(setup_.Id(), sheet));
}

TEST_F(WizardPagesTest, ANewFolderThreeLevelsDeepIsCreatedByTheInstallation) {
    const std::string folder = "C:\\Kestrin Duoflex Test\\one\\two\\three";
    HWND sheet = StartOnFolderPage();
    ASSERT_TRUE(sheet);
    SetFolderText(sheet, "  " + folder + "  ");
    ClickControl(sheet, kNextButton);
    ASSERT_TRUE(WaitForPage(sheet, kFinishText));
    EXPECT_TRUE(FinishWizard(sheet, setup_));
    EXPECT_TRUE(PathExists(folder + "\\~NoKill.wiz"));
    EXPECT_TRUE(PathExists(folder + "\\" + DriverFiles(Is64BitPrefix())[1]));
    EXPECT_EQ(folder, RegReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "AppFolder"));
    for (const char* const* file = DriverFiles(Is64BitPrefix()); *file; ++file)
        DeleteFileA((folder + "\\" + *file).c_str());
    DeleteFileA((folder + "\\~NoKill.wiz").c_str());
}

TEST_F(WizardPagesTest, BrowsePutsTheChosenFolderWithABackslash) {
    HWND sheet = StartOnFolderPage();
    ASSERT_TRUE(sheet);
    const std::string typed = PageText(sheet, kFolderEdit);
    ClickControl(CurrentPage(sheet), kFolderBrowse);
    HWND browser = WaitForTopWindow("Select Folder...", setup_.Id());
    ASSERT_TRUE(browser);
    EXPECT_EQ("&OK", ControlText(browser, IDOK));
    EXPECT_EQ("&Cancel", ControlText(browser, IDCANCEL));
    ClickControl(browser, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
    EXPECT_EQ(typed, PageText(sheet, kFolderEdit)) << "a closed browser changes nothing";

    // Which folder Wine's browser has selected when OK is pressed is its own
    // affair (it applies the initial folder only some of the time); what the
    // page makes of the choice is what counts here.
    ClickControl(CurrentPage(sheet), kFolderBrowse);
    browser = WaitForTopWindow("Select Folder...", setup_.Id());
    ASSERT_TRUE(browser);
    ClickControl(browser, IDOK);
    std::string chosen;
    EXPECT_TRUE(WaitUntil([&] { return (chosen = PageText(sheet, kFolderEdit)) != typed; }));
    ASSERT_GT(chosen.size(), 3u);
    EXPECT_EQ('\\', chosen.back());
    EXPECT_NE('\\', chosen[chosen.size() - 2]) << chosen;
    EXPECT_TRUE(IsDirectory(chosen.substr(0, chosen.size() - 1))) << chosen;
}

namespace {
// Cancel on the current page answered with `answer`; true when the wizard closed.
bool CancelWith(HWND sheet, Process& process, int answer, const char* expectedYes) {
    ClickControl(sheet, kCancelButton);
    HWND question = WaitForMessage(process, sheet);
    if (!question)
        return false;
    EXPECT_EQ("Warning...", WindowText(question));
    EXPECT_EQ(kCancelQuestion, ControlText(question, kMessageText));
    EXPECT_EQ(expectedYes, ControlText(question, kAnswer1));
    Answer(question, answer);
    return process.WaitExit(answer == kAnswer1 ? kUiTimeoutMs : 500);
}
}  // namespace

TEST_F(WizardPagesTest, CancelAsksOnEveryPageBeforeARun) {
    HWND sheet = StartWizard(setup_);
    ASSERT_TRUE(sheet);
    for (int refusal : {kAnswer2, kAnswer3, 0})
        EXPECT_FALSE(CancelWith(sheet, setup_, refusal, "&Yes")) << "welcome, answer " << refusal;
    EXPECT_TRUE(OnPage(sheet, kWelcomeBody));
    ClickControl(sheet, kNextButton);
    ASSERT_TRUE(WaitForPage(sheet, kFolderEdit));
    for (int refusal : {kAnswer2, kAnswer3, 0})
        EXPECT_FALSE(CancelWith(sheet, setup_, refusal, "&Yes")) << "folder, answer " << refusal;
    EXPECT_TRUE(OnPage(sheet, kFolderEdit));
    EXPECT_TRUE(CancelWith(sheet, setup_, kAnswer1, "&Yes"));
    EXPECT_FALSE(PathExists(paths_.installDir));
    EXPECT_FALSE(PathExists(paths_.setupCopyDir));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(WizardPagesTest, TheCloseBoxAsksToo) {
    HWND sheet = StartWizard(setup_);
    ASSERT_TRUE(sheet);
    CloseWindowBox(sheet);
    HWND question = WaitForMessage(setup_, sheet);
    ASSERT_TRUE(question);
    EXPECT_EQ(kCancelQuestion, ControlText(question, kMessageText));
    Answer(question, kAnswer2);
    EXPECT_FALSE(setup_.WaitExit(500));
    CloseWindowBox(sheet);
    question = WaitForMessage(setup_, sheet);
    ASSERT_TRUE(question);
    Answer(question, kAnswer1);
    EXPECT_TRUE(setup_.WaitExit(kUiTimeoutMs));
}

TEST_F(WizardPagesTest, CancelOnTheSetupTypePageAsks) {
    CreateUninstallEntry();
    HWND sheet = StartWizard(setup_);
    ASSERT_TRUE(sheet);
    ClickControl(sheet, kNextButton);
    ASSERT_TRUE(WaitForPage(sheet, kSetupRepair));
    EXPECT_FALSE(CancelWith(sheet, setup_, kAnswer2, "&Yes"));
    EXPECT_TRUE(OnPage(sheet, kSetupRepair));
    EXPECT_TRUE(CancelWith(sheet, setup_, kAnswer1, "&Yes"));
}
