#include <gtest/gtest.h>

#include <windows.h>

#include "pages/pspFinish.h"
#include "pages/pspFolder.h"

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
