#include <gtest/gtest.h>

#include <windows.h>

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
