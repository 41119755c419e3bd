#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <thread>

#include "fw/PathChars.h"
#include "support/CodePages.h"
#include "support/ProductTraces.h"
#include "support/TestSupport.h"
#include "support/UiDriver.h"
#include "system/wizMisc.h"

using wiztest::PathExists;
using wiztest::ScratchDir;
using wiztest::WaitUntil;

namespace {

const UINT kProbeMessage = WM_APP + 7;

void DrainQueue() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

int g_probeCount = 0;
WPARAM g_probeParam = 0;

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kProbeMessage) {
        ++g_probeCount;
        g_probeParam = wParam;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateProbeWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WizMiscPumpProbe";
    RegisterClassA(&windowClass);
    return CreateWindowA("WizMiscPumpProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}


class ComApartment : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

// Runs BrowseForFolder on this thread while a second thread finds its dialog,
// notes what it shows and presses one of its buttons.
struct BrowseRun {
    bool chosen = false;
    bool dialogFound = false;
    std::string caption, okText, cancelText;
    String out;
};

// The text of the folder tree's selected item: the shell selects the initial
// folder after the dialog shows, so a test waits for it before it answers.
std::string SelectedFolderName(HWND dialog) {
    HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
    HTREEITEM item = tree ? TreeView_GetSelection(tree) : nullptr;
    char text[MAX_PATH] = {0};
    TVITEMA query = {};
    query.mask = TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof(text);
    return item && SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)) ? text : "";
}

std::string LastComponent(const std::string& path) {
    const char* separator = FindLastSeparator(path.c_str());
    return separator ? std::string(separator + 1) : path;
}

BrowseRun RunBrowse(const char* initialFolder, const char* knownCaption, int button) {
    BrowseRun run;
    run.out = "untouched";
    DWORD pid = GetCurrentProcessId();
    std::thread driver([&] {
        HWND dialog = nullptr;
        WaitUntil([&] {
            dialog = knownCaption ? wiztest::FindTopWindow(knownCaption, pid) : wiztest::FindOtherTopWindow(pid, nullptr);
            return dialog != nullptr && wiztest::ControlText(dialog, IDOK) != "";
        });
        if (!dialog)
            return;
        run.dialogFound = true;
        if (*initialFolder)
            WaitUntil([&] { return SelectedFolderName(dialog) == LastComponent(initialFolder); });
        run.caption = wiztest::WindowText(dialog);
        run.okText = wiztest::ControlText(dialog, IDOK);
        run.cancelText = wiztest::ControlText(dialog, IDCANCEL);
        wiztest::ClickControl(dialog, button);
        // Make sure the dialog cannot stay open when the button did not end it.
        if (!WaitUntil([&] { return !IsWindow(dialog); }, 10000))
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    run.chosen = BrowseForFolder(nullptr, initialFolder, run.out);
    driver.join();
    return run;
}

}  // namespace

TEST(PumpWait, ZeroHandlesOneMessageOnly) {
    DrainQueue();
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), kProbeMessage, 1, 0));
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), kProbeMessage, 2, 0));
    PumpWait(0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(kProbeMessage, message.message);
    EXPECT_EQ(2u, message.wParam);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST(PumpWait, DispatchesPostedMessagesToTheirWindow) {
    DrainQueue();
    HWND window = CreateProbeWindow();
    ASSERT_TRUE(window != nullptr);
    g_probeCount = 0;
    ASSERT_TRUE(PostMessageA(window, kProbeMessage, 42, 0));
    PumpWait(0);
    EXPECT_EQ(1, g_probeCount);
    EXPECT_EQ(42u, g_probeParam);
    ASSERT_TRUE(PostMessageA(window, kProbeMessage, 43, 0));
    ASSERT_TRUE(PostMessageA(window, kProbeMessage, 44, 0));
    EXPECT_GE(PumpWait(50), 50u);
    EXPECT_EQ(3, g_probeCount);
    EXPECT_EQ(44u, g_probeParam);
    DestroyWindow(window);
}

TEST_F(ComApartment, CreateShortcutWritesTargetFolderAndDescription) {
    ScratchDir scratch;
    std::string target = scratch / "Setup.exe";
    ASSERT_TRUE(wiztest::WriteTextFile(target, "MZ"));
    std::string link = scratch / "Uninstall.lnk";
    EXPECT_TRUE(CreateShortcut(target.c_str(), scratch.Path().c_str(), link.c_str(), "Removes the adapter"));
    wiztest::LinkInfo fields = wiztest::ReadShortcut(link);
    ASSERT_TRUE(fields.loaded);
    EXPECT_STREQ(target.c_str(), fields.target.c_str());
    EXPECT_STREQ(scratch.Path().c_str(), fields.workingFolder.c_str());
    EXPECT_STREQ("Removes the adapter", fields.description.c_str());
}

TEST_F(ComApartment, CreateShortcutAnswersTrueWhenTheLinkCannotBeSaved) {
    ScratchDir scratch;
    std::string target = scratch / "Setup.exe";
    ASSERT_TRUE(wiztest::WriteTextFile(target, "MZ"));
    std::string link = scratch / "missing\\Uninstall.lnk";
    EXPECT_TRUE(CreateShortcut(target.c_str(), scratch.Path().c_str(), link.c_str(), ""));
    EXPECT_FALSE(PathExists(link));
}

TEST(CreateShortcut, RefusesALinkPathBeyondMaxPath) {
    ScratchDir scratch;
    std::string target = scratch / "Setup.exe";
    ASSERT_TRUE(wiztest::WriteTextFile(target, "MZ"));
    std::string folder = scratch / std::string(200, 'd');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string link = folder + "\\" + std::string(60, 'n') + ".lnk";
    EXPECT_FALSE(CreateShortcut(target.c_str(), scratch.Path().c_str(), link.c_str(), ""));
    EXPECT_TRUE(wiztest::ReadFileBytes(link.substr(0, MAX_PATH - 1)).empty());
    EXPECT_FALSE(PathExists(link.substr(0, MAX_PATH - 1)));
}

TEST(CreateShortcut, FailsOnAThreadOfAnotherApartmentKind) {
    ScratchDir scratch;
    std::string target = scratch / "Setup.exe";
    ASSERT_TRUE(wiztest::WriteTextFile(target, "MZ"));
    std::string link = scratch / "Uninstall.lnk";
    bool created = true;
    std::thread worker([&] {
        HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        created = CreateShortcut(target.c_str(), scratch.Path().c_str(), link.c_str(), "");
        if (SUCCEEDED(com))
            CoUninitialize();
    });
    worker.join();
    EXPECT_FALSE(created);
    EXPECT_FALSE(PathExists(link));
}

TEST(ShellOpen, FailsForAMissingFile) {
    ScratchDir scratch;
    EXPECT_FALSE(ShellOpen((scratch / "KestrinDuoflex.exe").c_str(), "", scratch.Path().c_str()));
}

TEST(ShellOpen, StartsAProgramWithItsParametersInTheFolder) {
    ScratchDir scratch;
    EXPECT_TRUE(ShellOpen("cmd.exe", "/c echo started>opened.txt", scratch.Path().c_str()));
    EXPECT_TRUE(WaitUntil([&] { return wiztest::ReadFileBytes(scratch / "opened.txt").size() > 0; }));
}

TEST(BrowseForFolder, ShowsItsCaptionAndButtonsAndCancels) {
    ScratchDir scratch;
    BrowseRun run = RunBrowse(scratch.Path().c_str(), "Select Folder...", IDCANCEL);
    ASSERT_TRUE(run.dialogFound);
    EXPECT_EQ("Select Folder...", run.caption);
    EXPECT_EQ("&OK", run.okText);
    EXPECT_EQ("&Cancel", run.cancelText);
    EXPECT_FALSE(run.chosen);
    EXPECT_STREQ("untouched", run.out.c_str());
}

TEST(BrowseForFolder, OkAnswersThePreselectedFolder) {
    ScratchDir scratch;
    BrowseRun run = RunBrowse(scratch.Path().c_str(), "Select Folder...", IDOK);
    ASSERT_TRUE(run.dialogFound);
    EXPECT_TRUE(run.chosen);
    EXPECT_STREQ(scratch.Path().c_str(), run.out.c_str());
}

TEST(BrowseForFolder, WithoutAnInitialFolderKeepsTheSystemCaption) {
    BrowseRun run = RunBrowse("", nullptr, IDCANCEL);
    ASSERT_TRUE(run.dialogFound);
    EXPECT_NE("Select Folder...", run.caption);
    EXPECT_NE("&OK", run.okText);
    EXPECT_FALSE(run.chosen);
}

// The shell names folders in UTF-16. A name the code page cannot hold must not
// come back with the best fit, which turns the yen sign into 0x5C, a separator.
using CodePage932Browse = wiztest::CodePageTest<932>;

std::wstring Wide(const std::string& narrow) {
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, wide, MAX_PATH);
    return wide;
}

// The path of the shell item for this wide path, as the folder browser answers it.
String FolderPathOf(const std::wstring& path) {
    PIDLIST_ABSOLUTE item = nullptr;
    String out("(no item)");
    if (SHParseDisplayName(path.c_str(), nullptr, &item, 0, nullptr) == S_OK && !FolderPathOfItem(item, out))
        out = "(no folder)";
    CoTaskMemFree(item);
    return out;
}

TEST_F(CodePage932Browse, AFolderTheCodePageCannotNameComesBackWithAQuestionMarkNotASeparator) {
    ScratchDir scratch;
    std::wstring yen = Wide(scratch.Path()) + L"\\\x00a5" L"Drivers";
    ASSERT_TRUE(CreateDirectoryW(yen.c_str(), nullptr));
    EXPECT_STREQ((scratch.Path() + "\\?Drivers").c_str(), FolderPathOf(yen).c_str());
}

TEST_F(CodePage932Browse, AFolderTheCodePageNamesComesBackExactly) {
    ScratchDir scratch;
    std::string folder = scratch / CP932_DORAIBA CP932_HYO;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    EXPECT_STREQ(folder.c_str(), FolderPathOf(Wide(folder)).c_str());
}
