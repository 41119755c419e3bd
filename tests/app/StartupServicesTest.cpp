#include <gtest/gtest.h>

#include "app/wizWizard.h"
#include "fw/Resources.h"
#include "pages/CancelPrompt.h"
#include "res/resource.h"
#include "state/SetupState.h"
#include "support/ProductTraces.h"
#include "support/TestSupport.h"

TEST(IsProductInstalled, FollowsTheUninstallEntry) {
    wiztest::RemoveUninstallEntry();
    EXPECT_FALSE(IsProductInstalled("Kestrin Duoflex Wireless Adapter"));
    ASSERT_TRUE(wiztest::CreateUninstallEntry());
    EXPECT_TRUE(IsProductInstalled("Kestrin Duoflex Wireless Adapter"));
    EXPECT_FALSE(IsProductInstalled("Kestrin Duoflex Wireless"));
    wiztest::RemoveUninstallEntry();
    EXPECT_FALSE(IsProductInstalled("Kestrin Duoflex Wireless Adapter"));
}

TEST(LoadResourceString, EveryTextTheWizardCites) {
    struct Row {
        unsigned id;
        const char* text;
    } rows[] = {
        {25000, "&Back"},
        {25001, "&Next"},
        {25002, "&Cancel"},
        {25003, "&Finish"},
        {25100, "Kestrin Duoflex Wireless Adapter Setup"},
        {25101, "Kestrin Duoflex Wireless Adapter Setup"},
        {25200, "Warning..."},
        {25201, "You have selected to cancel the setup.\n\nAre you sure that you want to cancel the installation?"},
        {25210, "&Yes"},
        {25211, "&No"},
        {25212, "&Cancel"},
        {26000, "Welcome to the"},
        {26100, "Select Setup"},
        {26120, "Repair the recent installation, or upgrade with the newer one."},
        {26121, "Remove the recent installation."},
        {30000, "Setup Complete"},
    };
    for (const Row& row : rows) {
        String text("stale");
        EXPECT_TRUE(LoadResourceString(row.id, text)) << row.id;
        EXPECT_STREQ(row.text, text.c_str()) << row.id;
    }
}

TEST(LoadResourceString, AbsentIdsGiveEmptyTexts) {
    for (unsigned id : {26101u, 30001u, 25004u, 29999u}) {
        String text("stale");
        EXPECT_FALSE(LoadResourceString(id, text)) << id;
        EXPECT_TRUE(text.IsEmpty()) << id;
    }
}

TEST(LoadCancelTexts, FillsTheFiveCancelTexts) {
    LoadCancelTexts();
    EXPECT_STREQ("Warning...", g_setup.cancelTitle.c_str());
    EXPECT_STREQ("You have selected to cancel the setup.\n\nAre you sure that you want to cancel the installation?",
                 g_setup.cancelText.c_str());
    EXPECT_STREQ("&Yes", g_setup.yesText.c_str());
    EXPECT_STREQ("&No", g_setup.noText.c_str());
    EXPECT_STREQ("&Cancel", g_setup.cancelButtonText.c_str());
}
