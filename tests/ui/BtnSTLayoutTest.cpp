// Where a BtnST puts its image and caption for each layout.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "ui/BtnSTLayout.h"

using wiztest::SameRect;

namespace {

const RECT kButton = {10, 20, 110, 80};  // 100 x 60
const SIZE kImage = {32, 32};
const POINT kMargin = {3, 6};

}  // namespace

TEST(BtnSTLayout, ImageLeftOfCaption) {
    BtnSTContentRects rects = LayOutBtnSTContent(kButton, kImage, true, kImageLeft, kMargin);
    EXPECT_TRUE(SameRect(RECT{13, 34, 45, 66}, rects.image));
    EXPECT_TRUE(SameRect(RECT{45, 20, 110, 80}, rects.caption));
}

TEST(BtnSTLayout, ImageAboveCaption) {
    BtnSTContentRects rects = LayOutBtnSTContent(kButton, kImage, true, kImageAbove, kMargin);
    EXPECT_TRUE(SameRect(RECT{44, 26, 76, 58}, rects.image));
    EXPECT_TRUE(SameRect(RECT{10, 58, 110, 80}, rects.caption));
}

TEST(BtnSTLayout, ImageRightOfCaption) {
    BtnSTContentRects rects = LayOutBtnSTContent(kButton, kImage, true, kImageRight, kMargin);
    EXPECT_TRUE(SameRect(RECT{75, 34, 107, 66}, rects.image));
    EXPECT_TRUE(SameRect(RECT{10, 20, 75, 80}, rects.caption));
}

TEST(BtnSTLayout, ImageInCornerUnderTheCaption) {
    BtnSTContentRects rects = LayOutBtnSTContent(kButton, kImage, true, kImageOverlap, kMargin);
    EXPECT_TRUE(SameRect(RECT{10, 20, 42, 52}, rects.image));
    EXPECT_TRUE(SameRect(kButton, rects.caption));
}

TEST(BtnSTLayout, WithoutCaptionTheImageIsCentredInEveryLayout) {
    for (int layout = 0; layout < kContentLayoutCount; ++layout) {
        BtnSTContentRects rects = LayOutBtnSTContent(kButton, kImage, false, layout, kMargin);
        EXPECT_TRUE(SameRect(RECT{44, 34, 76, 66}, rects.image)) << layout;
    }
}

TEST(BtnSTLayout, WithoutImageTheCaptionTakesTheButton) {
    for (int layout = 0; layout < kContentLayoutCount; ++layout) {
        BtnSTContentRects rects = LayOutBtnSTContent(kButton, SIZE{0, 0}, true, layout, kMargin);
        EXPECT_TRUE(SameRect(kButton, rects.caption)) << layout;
    }
}

TEST(BtnSTLayout, CentringTruncates) {
    EXPECT_TRUE(SameRect(RECT{1, 2, 4, 6}, CentreInRect(RECT{0, 0, 6, 9}, SIZE{3, 4})));
    // A block larger than its area overhangs it; -3 / 2 truncates to -1.
    EXPECT_TRUE(SameRect(RECT{-1, -1, 5, 5}, CentreInRect(RECT{0, 0, 3, 3}, SIZE{6, 6})));
}
