#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "fw/EarlierInputFilter.h"
#include "fw/PropertySheetEx.h"
#include "pages/pspFinish.h"
#include "pages/pspFolder.h"

namespace {

class BlankPage : public PropertyPageEx {
public:
    BlankPage() : PropertyPageEx(1) {}
};

class BlankSheet : public PropertySheetEx {
public:
    BlankSheet() : PropertySheetEx("", nullptr, 0, nullptr, nullptr, nullptr) {}
    BlankPage pages[PropertySheetEx::kMaxPages];
};

}  // namespace

TEST(PropertySheetEx, HoldsAsManyPagesAsItTakesAndAListReplacesTheLast) {
    BlankSheet sheet;
    PropertyPageEx* const all[] = {&sheet.pages[0], &sheet.pages[1], &sheet.pages[2], &sheet.pages[3],
                                   &sheet.pages[4], &sheet.pages[5], &sheet.pages[6], &sheet.pages[7]};
    sheet.SetPages(all);
    ASSERT_EQ(8, sheet.GetPageCount());
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(&sheet.pages[i], sheet.GetPage(i)) << i;
        EXPECT_EQ(&sheet, sheet.pages[i].GetSheet()) << i;
    }
    EXPECT_EQ(nullptr, sheet.GetPage(sheet.GetPageCount()));
    PropertyPageEx* const two[] = {&sheet.pages[5], &sheet.pages[1]};
    sheet.SetPages(two);
    ASSERT_EQ(2, sheet.GetPageCount());
    EXPECT_EQ(&sheet.pages[1], sheet.GetPage(1));
    EXPECT_EQ(1, sheet.GetPageIndex(sheet.pages[1]));
    EXPECT_EQ(-1, sheet.GetPageIndex(sheet.pages[7]));
}

TEST(FolderPage, BrowsedFoldersGetOneTrailingBackslash) {
    EXPECT_STREQ("C:\\", BrowsedFolderText("C:\\").c_str());
    EXPECT_STREQ("D:\\Drivers\\", BrowsedFolderText("D:\\Drivers").c_str());
    EXPECT_STREQ("C:\\Program Files\\Kestrin Duoflex\\", BrowsedFolderText("C:\\Program Files\\Kestrin Duoflex").c_str());
}

TEST(FolderPage, RelativeFoldersBecomeFullPaths) {
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string expected = std::string(current) + (current[3] ? "\\" : "") + "Drivers\\Kestrin";
    EXPECT_STREQ(expected.c_str(), AcceptedFolderPath("Drivers\\Kestrin").c_str());
    EXPECT_STREQ("E:\\Tools", AcceptedFolderPath("E:\\Tools").c_str());
    EXPECT_STREQ("E:\\Tools\\", AcceptedFolderPath("E:\\Tools\\").c_str());  // the trailing backslash stays
    EXPECT_STREQ("E:\\Tools", AcceptedFolderPath("E:\\Apps\\..\\Tools").c_str());
}

TEST(FolderPage, AFolderBeyondMaxPathIsNotAccepted) {
    std::string deep = "C:\\" + std::string(300, 'a');
    EXPECT_TRUE(AcceptedFolderPath(deep.c_str()).IsEmpty());
}

TEST(FolderPage, AFolderNoNameMayHoldIsNotAccepted) {
    // "?" is also what the edit box shows for a character the code page lacks.
    for (const char* typed : {"C:\\New\\?\\Kestrin", "C:\\New\\a|b", "C:\\New\\a*", "C:\\a<b>"})
        EXPECT_TRUE(AcceptedFolderPath(typed).IsEmpty()) << typed;
}

TEST(FinishPage, SuccessTextsAreTheWizardsOwn) {
    EXPECT_STREQ("The Wireless Adapter Setup has successfully installed.\n\nPlease make sure the adapter is "
                 "installed on your PC.\n\nClick \"Finish\" to exit the wizard.",
                 FinishText(false, "").c_str());
    EXPECT_STREQ("The Wireless Adapter Setup has successfully uninstalled.\n\nClick \"Finish\" to exit the "
                 "uninstall wizard.",
                 FinishText(true, "").c_str());
}

TEST(FinishPage, FailedStepsAreNamedInsteadOfSuccess) {
    String install = FinishText(false, "copying files, driver installation");
    EXPECT_STREQ("The installation of Kestrin Duoflex Wireless Adapter did not complete.\n\nThese steps failed: "
                 "copying files, driver installation.\n\nClick \"Finish\" to exit the wizard.",
                 install.c_str());
    String removal = FinishText(true, "removing files");
    EXPECT_NE(nullptr, strstr(removal.c_str(), "The removal of Kestrin Duoflex Wireless Adapter did not complete."));
    EXPECT_EQ(nullptr, strstr(removal.c_str(), "successfully"));
}

TEST(EarlierInput, InputAtOrBeforeTheMomentIsEarlierAcrossTheTickWrap) {
    HWND sheet = reinterpret_cast<HWND>(0x100);
    EXPECT_TRUE(IsEarlierInput(WM_KEYDOWN, sheet, 999, sheet, 1000));
    EXPECT_TRUE(IsEarlierInput(WM_SYSKEYDOWN, nullptr, 1000, sheet, 1000));
    EXPECT_FALSE(IsEarlierInput(WM_KEYDOWN, sheet, 1001, sheet, 1000));
    // The tick wraps after 49.7 days: 0x10 comes after 0xFFFFFFF0, 0xFFFFFF00 before 0x10.
    EXPECT_FALSE(IsEarlierInput(WM_CHAR, sheet, 0x10, sheet, 0xFFFFFFF0));
    EXPECT_TRUE(IsEarlierInput(WM_LBUTTONUP, sheet, 0xFFFFFF00, sheet, 0x10));
    EXPECT_TRUE(IsEarlierInput(WM_NCLBUTTONDOWN, sheet, 5, sheet, 0x10));
    EXPECT_TRUE(IsEarlierInput(WM_MOUSEWHEEL, sheet, 5, sheet, 0x10));
}

TEST(EarlierInput, CommandsCountOnlyWhenPostedToTheGuardedWindow) {
    HWND sheet = reinterpret_cast<HWND>(0x100), other = reinterpret_cast<HWND>(0x200);
    for (UINT command : {WM_COMMAND, WM_SYSCOMMAND, WM_CLOSE}) {
        EXPECT_TRUE(IsEarlierInput(command, sheet, 10, sheet, 20)) << command;
        EXPECT_FALSE(IsEarlierInput(command, other, 10, sheet, 20)) << command;
        EXPECT_FALSE(IsEarlierInput(command, sheet, 30, sheet, 20)) << command;
    }
    for (UINT message : {WM_NULL, WM_TIMER, WM_PAINT, WM_USER, WM_APP})
        EXPECT_FALSE(IsEarlierInput(message, sheet, 10, sheet, 20)) << message;
}

// The filter acts on what the thread retrieves: earlier input arrives as
// WM_NULL, later input and other windows' commands unchanged.
TEST(EarlierInput, TheFilterEmptiesEarlierMessagesAsTheyAreRetrieved) {
    HWND guarded = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND other = CreateWindowA("STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(guarded && other);
    PostMessageA(guarded, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(guarded, WM_SYSCOMMAND, SC_CLOSE, 0);
    PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
    Sleep(50);  // posted well before the moment, whatever the clock's grain
    {
        EarlierInputFilter filter;
        ASSERT_TRUE(filter.Start(guarded, GetTickCount()));
        Sleep(50);
        PostMessageA(guarded, WM_KEYDOWN, VK_RETURN, 1);
        MSG message;
        std::vector<UINT> seen;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            seen.push_back(message.message);
        EXPECT_EQ((std::vector<UINT>{WM_NULL, WM_NULL, WM_COMMAND, WM_KEYDOWN}), seen);
        filter.Stop();
        PostMessageA(guarded, WM_SYSCOMMAND, SC_CLOSE, 0);
        Sleep(50);
        filter.Start(guarded, GetTickCount());
        filter.Stop();
        ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(static_cast<UINT>(WM_SYSCOMMAND), message.message) << "a stopped filter acts on nothing";
    }
    DestroyWindow(guarded);
    DestroyWindow(other);
}
