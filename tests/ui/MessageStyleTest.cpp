// Decoding of MessageBox style values and the answer-button arithmetic.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "support/TestSupport.h"
#include "ui/MessageStyle.h"

using wiztest::SameRect;

namespace {

RECT Rect(LONG left, LONG top, LONG right, LONG bottom) { return RECT{left, top, right, bottom}; }

// The answer buttons of template 800 and its client area, in dialog units.
const RECT kClient = {0, 0, 190, 86};
void TemplateButtons(RECT buttons[3]) {
    buttons[0] = Rect(23, 65, 67, 81);
    buttons[1] = Rect(73, 65, 117, 81);
    buttons[2] = Rect(123, 65, 167, 81);
}

}  // namespace

TEST(MessageStyle, KnownButtonSetsAreKept) {
    for (UINT set : {0u, 1u, 3u, 4u, 5u})
        EXPECT_EQ(set, DecodeMessageStyle(set).buttonSet) << set;
}

TEST(MessageStyle, OtherButtonSetsFallBackToOk) {
    EXPECT_EQ(0u, DecodeMessageStyle(2).buttonSet);  // Abort/Retry/Ignore
    for (UINT set = 6; set <= 15; ++set)
        EXPECT_EQ(0u, DecodeMessageStyle(set).buttonSet) << set;
}

TEST(MessageStyle, IconKinds) {
    EXPECT_EQ(0x10u, DecodeMessageStyle(0x10).iconKind);
    EXPECT_EQ(0x20u, DecodeMessageStyle(0x20).iconKind);
    EXPECT_EQ(0x30u, DecodeMessageStyle(0x30).iconKind);
    EXPECT_EQ(0x40u, DecodeMessageStyle(0x40).iconKind);
    EXPECT_EQ(0x40u, DecodeMessageStyle(0x50).iconKind);
    EXPECT_EQ(0x40u, DecodeMessageStyle(0xF0).iconKind);
    EXPECT_EQ(0x40u, DecodeMessageStyle(0).iconKind);
}

TEST(MessageStyle, DefaultButtonBits) {
    EXPECT_EQ(0u, DecodeMessageStyle(0x003).defaultButton);
    EXPECT_EQ(0x100u, DecodeMessageStyle(0x103).defaultButton);
    EXPECT_EQ(0x200u, DecodeMessageStyle(0x203).defaultButton);
    EXPECT_EQ(0u, DecodeMessageStyle(0x303).defaultButton);
    EXPECT_EQ(0u, DecodeMessageStyle(0xF03).defaultButton);
}

TEST(MessageStyle, FieldsAreIndependent) {
    MessageStyle abortRetryIgnore = DecodeMessageStyle(0x132);
    EXPECT_EQ(0u, abortRetryIgnore.buttonSet);
    EXPECT_EQ(0x30u, abortRetryIgnore.iconKind);
    EXPECT_EQ(0x100u, abortRetryIgnore.defaultButton);

    MessageStyle information = DecodeMessageStyle(0x50);
    EXPECT_EQ(0u, information.buttonSet);
    EXPECT_EQ(0x40u, information.iconKind);
    EXPECT_EQ(0u, information.defaultButton);

    MessageStyle zero = DecodeMessageStyle(0);
    EXPECT_EQ(0u, zero.buttonSet);
    EXPECT_EQ(0x40u, zero.iconKind);
    EXPECT_EQ(0u, zero.defaultButton);

    MessageStyle cancelQuestion = DecodeMessageStyle(0x43);
    EXPECT_EQ(3u, cancelQuestion.buttonSet);
    EXPECT_EQ(0x40u, cancelQuestion.iconKind);
}

TEST(MessageStyle, InitialFocus) {
    EXPECT_EQ(0, InitialFocusIndex(DecodeMessageStyle(0x43)));
    EXPECT_EQ(1, InitialFocusIndex(DecodeMessageStyle(0x04 | 0x100)));
    EXPECT_EQ(2, InitialFocusIndex(DecodeMessageStyle(0x03 | 0x200)));
    EXPECT_EQ(1, InitialFocusIndex(DecodeMessageStyle(0x01 | 0x100)));
    EXPECT_EQ(1, InitialFocusIndex(DecodeMessageStyle(0x05 | 0x100)));
    // A third button exists only in set 3; a single button has nowhere to go.
    EXPECT_EQ(0, InitialFocusIndex(DecodeMessageStyle(0x04 | 0x200)));
    EXPECT_EQ(0, InitialFocusIndex(DecodeMessageStyle(0x132)));
    EXPECT_EQ(0, InitialFocusIndex(DecodeMessageStyle(0x200)));
}

TEST(MessageStyle, SingleButtonIsCentred) {
    RECT buttons[3];
    TemplateButtons(buttons);
    LayOutAnswerButtons(0, kClient, buttons);
    EXPECT_TRUE(SameRect(Rect(73, 65, 117, 81), buttons[0]));
}

TEST(MessageStyle, PairIsCentred) {
    for (UINT set : {1u, 4u, 5u}) {
        RECT buttons[3];
        TemplateButtons(buttons);
        LayOutAnswerButtons(set, kClient, buttons);
        EXPECT_TRUE(SameRect(Rect(48, 65, 92, 81), buttons[0])) << set;
        EXPECT_TRUE(SameRect(Rect(98, 65, 142, 81), buttons[1])) << set;
    }
}

TEST(MessageStyle, ThreeButtonsStayInPlace) {
    RECT buttons[3], original[3];
    TemplateButtons(buttons);
    TemplateButtons(original);
    LayOutAnswerButtons(3, kClient, buttons);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(SameRect(original[i], buttons[i])) << i;
}

TEST(MessageStyle, HalvingTruncatesTowardsZero) {
    // Centre 50 minus button centre 55 is -5; the pair moves by -5 / 2 = -2.
    RECT buttons[3] = {Rect(50, 0, 60, 10), Rect(70, 0, 80, 10), RECT{}};
    LayOutAnswerButtons(4, Rect(0, 0, 101, 20), buttons);
    EXPECT_TRUE(SameRect(Rect(48, 0, 58, 10), buttons[0]));
    EXPECT_TRUE(SameRect(Rect(68, 0, 78, 10), buttons[1]));
}
