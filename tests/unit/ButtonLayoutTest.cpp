#include <gtest/gtest.h>

#include "app/ButtonLayout.h"

TEST(ButtonLayout, ButtonsGrowFivePixelsDownward) {
    RECT taller = TallerButton(RECT{300, 400, 375, 423});
    EXPECT_EQ(300, taller.left);
    EXPECT_EQ(400, taller.top);
    EXPECT_EQ(375, taller.right);
    EXPECT_EQ(428, taller.bottom);
}

TEST(ButtonLayout, FinishIsCentredOnTheSheetWindow) {
    RECT centred = CentredButton(RECT{420, 400, 495, 423}, RECT{100, 50, 601, 450});
    // (100 + 601) / 2 - 75 / 2 = 350 - 37
    EXPECT_EQ(313, centred.left);
    EXPECT_EQ(388, centred.right);
    EXPECT_EQ(400, centred.top);
    EXPECT_EQ(423, centred.bottom);
}

TEST(ButtonLayout, HalvingTruncatesTowardZeroOnNegativeCoordinates) {
    // A sheet partly off the left of the screen: (-301 + 200) / 2 = -50, 75 / 2 = 37.
    RECT centred = CentredButton(RECT{0, 0, 75, 23}, RECT{-301, 0, 200, 400});
    EXPECT_EQ(-87, centred.left);
    EXPECT_EQ(-12, centred.right);
}
