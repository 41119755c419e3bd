// The looks of a BtnST, drawn into memory bitmaps.
#include <gtest/gtest.h>

#include "Canvas.h"
#include "res/resource.h"
#include "ui/BtnSTPaint.h"

using uitest::Canvas;

namespace {

HICON ProgramIcon(int id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }

BtnSTPaintState State(bool flat) {
    BtnSTPaintState state;
    state.flat = flat;
    state.colors = SystemBtnSTColors();
    return state;
}

void GiveIcons(BtnSTPaintState& state, HICON first, HICON second = nullptr) {
    state.icons[0] = first;
    state.iconSizes[0] = SIZE{32, 32};
    state.icons[1] = second;
    state.iconSizes[1] = second ? SIZE{32, 32} : SIZE{0, 0};
}

void Paint(Canvas& canvas, const BtnSTPaintState& state) {
    RECT rect = canvas.Rect();
    PaintBtnST(canvas.Dc(), rect, state);
}

// True when the area of the canvas shows the icon exactly as DrawIconEx draws it there.
bool ShowsIcon(const Canvas& canvas, HICON icon, int x, int y) {
    Canvas expected(canvas.Width(), canvas.Height(), Face());
    uitest::DrawExpectedIcon(expected, icon, x, y);
    return canvas.SameArea(expected, RECT{x, y, x + 32, y + 32});
}

int CountOf(const Canvas& canvas, const RECT& area, COLORREF color) {
    return canvas.Count(area, [color](int, int, COLORREF pixel) { return pixel == color; });
}

int CountOtherThan(const Canvas& canvas, const RECT& area, COLORREF color) {
    return canvas.Count(area, [color](int, int, COLORREF pixel) { return pixel != color; });
}

}  // namespace

TEST(BtnSTPaint, TheIconsDiffer) {
    // Guards the icon checks below: they could not tell two equal icons apart.
    Canvas stop(32, 32, Face()), info(32, 32, Face());
    uitest::DrawExpectedIcon(stop, ProgramIcon(IDI_MSG_STOP), 0, 0);
    uitest::DrawExpectedIcon(info, ProgramIcon(IDI_MSG_INFORMATION), 0, 0);
    EXPECT_FALSE(stop.SameArea(info, stop.Rect()));
}

TEST(BtnSTPaint, IconWithoutCaptionIsCentred) {
    Canvas canvas(48, 44, RGB(255, 0, 255));
    BtnSTPaintState state = State(true);
    GiveIcons(state, ProgramIcon(IDI_MSG_STOP));
    Paint(canvas, state);

    Canvas expected(48, 44, Face());
    uitest::DrawExpectedIcon(expected, ProgramIcon(IDI_MSG_STOP), 8, 6);
    EXPECT_TRUE(canvas.SameArea(expected, canvas.Rect()));
}

TEST(BtnSTPaint, ImageAboveCaptionSitsAtTheTopMargin) {
    Canvas canvas(90, 70, Face());
    BtnSTPaintState state = State(true);
    state.layout = 1;
    state.caption = "Remove";
    GiveIcons(state, ProgramIcon(IDI_REMOVE));
    Paint(canvas, state);

    EXPECT_TRUE(ShowsIcon(canvas, ProgramIcon(IDI_REMOVE), 29, 6));
    RECT besideIcon[2] = {{0, 0, 29, 38}, {61, 0, 90, 38}};
    for (const RECT& area : besideIcon)
        EXPECT_EQ(0, CountOtherThan(canvas, area, Face()));
    RECT text = canvas.BoundsOfOther(RECT{0, 38, 90, 70}, Face());
    EXPECT_LT(text.left, text.right) << "no caption drawn";
    EXPECT_NEAR(90, text.left + text.right, 3) << "caption not centred";
    EXPECT_NEAR(38 + 70, text.top + text.bottom, 4) << "caption not centred below the icon";
}

TEST(BtnSTPaint, FlatWithoutHoverBorderNeverDrawsABorder) {
    for (int hovered = 0; hovered < 2; ++hovered) {
        for (int pressed = 0; pressed < 2; ++pressed) {
            Canvas canvas(60, 30, RGB(255, 0, 255));
            BtnSTPaintState state = State(true);
            state.hoverBorder = false;
            state.hovered = hovered != 0;
            state.pressed = pressed != 0;
            state.focused = true;
            Paint(canvas, state);
            EXPECT_EQ(0, CountOtherThan(canvas, canvas.Rect(), Face())) << hovered << pressed;
        }
    }
}

TEST(BtnSTPaint, FlatWithHoverBorderFramesOnlyWhileHovered) {
    Canvas idle(60, 30, Face()), hovered(60, 30, Face()), pressed(60, 30, Face());
    BtnSTPaintState state = State(true);
    Paint(idle, state);
    state.hovered = true;
    Paint(hovered, state);
    state.pressed = true;
    Paint(pressed, state);

    EXPECT_EQ(0, CountOtherThan(idle, idle.Rect(), Face()));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), hovered.Pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), hovered.Pixel(59, 29));
    EXPECT_EQ(Face(), hovered.Pixel(1, 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), pressed.Pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), pressed.Pixel(59, 29));
}

TEST(BtnSTPaint, NotFlatHasARaisedEdge) {
    Canvas canvas(60, 30, RGB(255, 0, 255));
    Paint(canvas, State(false));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(30, 0));
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), canvas.Pixel(1, 1));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), canvas.Pixel(59, 29));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), canvas.Pixel(59, 15));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(58, 28));
    EXPECT_EQ(0, CountOtherThan(canvas, RECT{2, 2, 58, 28}, Face()));
}

TEST(BtnSTPaint, NotFlatPressedIsFramedInShadow) {
    Canvas canvas(60, 30, RGB(255, 0, 255));
    BtnSTPaintState state = State(false);
    state.pressed = true;
    Paint(canvas, state);
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), canvas.Pixel(59, 29));
    EXPECT_EQ(Face(), canvas.Pixel(1, 1));
}

TEST(BtnSTPaint, FocusedOrDefaultNotFlatGetsABlackFrame) {
    Canvas focused(60, 30, Face()), byDefault(60, 30, Face());
    BtnSTPaintState state = State(false);
    state.focused = true;
    Paint(focused, state);
    state.focused = false;
    state.defaultButton = true;
    Paint(byDefault, state);

    EXPECT_EQ(RGB(0, 0, 0), focused.Pixel(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), focused.Pixel(1, 1));
    EXPECT_EQ(RGB(0, 0, 0), byDefault.Pixel(59, 29));
    // The dotted focus rectangle runs 3 pixels inside the edge.
    EXPECT_GT(CountOtherThan(focused, RECT{4, 3, 56, 4}, Face()), 0);
    EXPECT_EQ(0, CountOtherThan(byDefault, RECT{4, 3, 56, 4}, Face()));
}

TEST(BtnSTPaint, FlatFocusShowsNoFocusRectangle) {
    Canvas canvas(60, 30, Face());
    BtnSTPaintState state = State(true);
    state.focused = true;
    state.defaultButton = true;
    Paint(canvas, state);
    EXPECT_EQ(0, CountOtherThan(canvas, canvas.Rect(), Face()));
}

TEST(BtnSTPaint, WithTwoIconsTheFirstShowsOnlyWhilePressedOrHovered) {
    HICON first = ProgramIcon(IDI_MSG_STOP), second = ProgramIcon(IDI_MSG_INFORMATION);
    BtnSTPaintState state = State(false);
    GiveIcons(state, first, second);
    EXPECT_EQ(1, ChooseBtnSTIcon(state));
    Canvas normal(48, 48, Face());
    Paint(normal, state);
    EXPECT_TRUE(ShowsIcon(normal, second, 8, 8));

    state.pressed = true;
    EXPECT_EQ(0, ChooseBtnSTIcon(state));
    Canvas pressed(48, 48, Face());
    Paint(pressed, state);
    EXPECT_TRUE(ShowsIcon(pressed, first, 9, 9)) << "pressed content moves by the pressed shift";

    state.pressed = false;
    state.hovered = true;
    EXPECT_EQ(0, ChooseBtnSTIcon(state));
}

TEST(BtnSTPaint, OneIconShowsInEveryState) {
    BtnSTPaintState state = State(false);
    EXPECT_EQ(-1, ChooseBtnSTIcon(state));
    GiveIcons(state, ProgramIcon(IDI_MSG_STOP));
    EXPECT_EQ(0, ChooseBtnSTIcon(state));
}

TEST(BtnSTPaint, DisabledLooksEmbossed) {
    Canvas normal(80, 40, Face()), disabled(80, 40, Face());
    BtnSTPaintState state = State(true);
    state.caption = "Remove";
    Paint(normal, state);
    state.disabled = true;
    Paint(disabled, state);

    RECT inside = {4, 4, 76, 36};
    EXPECT_GT(CountOf(normal, inside, GetSysColor(COLOR_BTNTEXT)), 0);
    EXPECT_EQ(0, CountOf(disabled, inside, GetSysColor(COLOR_BTNTEXT)));
    EXPECT_GT(CountOf(disabled, inside, GetSysColor(COLOR_BTNSHADOW)), 0);
    EXPECT_GT(CountOf(disabled, inside, GetSysColor(COLOR_BTNHIGHLIGHT)), 0);
}

TEST(BtnSTPaint, DisabledIconIsDrawnDisabled) {
    Canvas normal(48, 48, Face()), disabled(48, 48, Face());
    BtnSTPaintState state = State(true);
    GiveIcons(state, ProgramIcon(IDI_MSG_STOP));
    Paint(normal, state);
    state.disabled = true;
    Paint(disabled, state);
    EXPECT_TRUE(ShowsIcon(normal, ProgramIcon(IDI_MSG_STOP), 8, 8));
    EXPECT_FALSE(disabled.SameArea(normal, RECT{8, 8, 40, 40}));
}
