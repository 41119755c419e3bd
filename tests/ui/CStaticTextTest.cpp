// CStaticText over a patterned parent: its text shows, and a changed text
// leaves no trace of the old one.
#include <gtest/gtest.h>

#include <string>

#include "Canvas.h"
#include "ui/CStaticText.h"

using uitest::Canvas;

namespace {

const int kWidth = 320, kHeight = 160;
const RECT kTextArea = {20, 20, 300, 140};  // the static, in the parent's client coordinates

// A checkerboard in two light colours: black text can never match it.
COLORREF PatternAt(int x, int y) { return ((x / 4 + y / 4) % 2) ? RGB(200, 220, 255) : RGB(255, 230, 200); }

LRESULT CALLBACK PatternProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        for (int y = paint.rcPaint.top; y < paint.rcPaint.bottom; ++y)
            for (int x = paint.rcPaint.left; x < paint.rcPaint.right; ++x)
                SetPixelV(dc, x, y, PatternAt(x, y));
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(window, msg, wp, lp);
    }
}

const char* PatternClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = PatternProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "WizTestPattern";
        registered = RegisterClassA(&windowClass) != 0;
    }
    return "WizTestPattern";
}

void PumpUntilIdle() {
    MSG msg;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 300) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            start = GetTickCount();
        }
        Sleep(20);
    }
}

class StaticOnPattern {
public:
    StaticOnPattern() {
        parent_ = CreateWindowExA(0, PatternClass(), "pattern", WS_POPUP, 40, 40, kWidth, kHeight,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, kTextArea.left, kTextArea.top,
                                     kTextArea.right - kTextArea.left, kTextArea.bottom - kTextArea.top, parent_,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
        text_.SubclassWindow(child);
        text_.SetFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false);
        ShowWindow(parent_, SW_SHOW);
        UpdateWindow(parent_);
        PumpUntilIdle();
    }
    ~StaticOnPattern() { DestroyWindow(parent_); }

    void SetText(const char* text) {
        text_.SetWindowText(text);
        PumpUntilIdle();
    }
    // As a caller that repaints the control at once, before any other painting.
    void SetTextAndPaintIt(const char* text) {
        text_.SetWindowText(text);
        UpdateWindow(text_.GetSafeHwnd());
        PumpUntilIdle();
    }
    // What the screen shows of the parent's client area.
    void Capture(Canvas& canvas) const { canvas.CopyFromWindow(parent_, 0, 0); }
    HWND Parent() const { return parent_; }
    CStaticText& Text() { return text_; }

private:
    HWND parent_;
    CStaticText text_;
};

int PixelsOffPattern(const Canvas& canvas, const RECT& area) {
    return canvas.Count(area, [](int x, int y, COLORREF pixel) { return pixel != PatternAt(x, y); });
}

// The area the text takes when drawn at the static's place.
RECT TextBounds(HWND parent, const char* text) {
    RECT bounds = {0, 0, kTextArea.right - kTextArea.left, 0};
    HDC dc = GetDC(parent);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, text, -1, &bounds, DT_WORDBREAK | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(parent, dc);
    OffsetRect(&bounds, kTextArea.left, kTextArea.top);
    return bounds;
}

const char kLongText[] =
    "WWWWWWWWWWWWWWWWWWWWWWWWWW WWWWWWWWWWWWWWWWWWWWWW WWWWWWWWWWWWWWWWWWWWWWWWW "
    "MMMMMMMMMMMMMMMMMMMMMMMMMMMMMMMM MMMMMMMMMMMMMMMMMMMMMMMMM MMMMMMMMMMMMMMMMMMMMMMMMMMM";

}  // namespace

TEST(CStaticText, ALongTextBreaksIntoBlackLinesWithinTheStatic) {
    StaticOnPattern window;
    window.SetText(kLongText);
    Canvas canvas(kWidth, kHeight, RGB(0, 0, 0));
    window.Capture(canvas);
    RECT oneLine = TextBounds(window.Parent(), "W");
    LONG lineHeight = oneLine.bottom - oneLine.top;
    auto isBlack = [](int, int, COLORREF pixel) { return pixel == RGB(0, 0, 0); };
    RECT secondLine = {kTextArea.left, kTextArea.top + lineHeight, kTextArea.right, kTextArea.top + 2 * lineHeight};
    EXPECT_GT(canvas.Count(secondLine, isBlack), 0) << "the text did not break onto a second line in black";
    RECT rightOfStatic = {kTextArea.right, 0, kWidth, kHeight};
    EXPECT_EQ(0, PixelsOffPattern(canvas, rightOfStatic)) << "the text ran past the static";
}

TEST(CStaticText, TextIsDrawnOverThePattern) {
    StaticOnPattern window;
    Canvas canvas(kWidth, kHeight, RGB(0, 0, 0));
    window.Capture(canvas);
    EXPECT_EQ(0, PixelsOffPattern(canvas, RECT{0, 0, kWidth, kHeight})) << "the empty static covers the pattern";

    window.SetText("Welcome");
    window.Capture(canvas);
    RECT text = TextBounds(window.Parent(), "Welcome");
    int black = canvas.Count(text, [](int, int, COLORREF pixel) { return pixel == RGB(0, 0, 0); });
    EXPECT_GT(black, 0) << "no text drawn";
    RECT outside = {text.right + 1, kTextArea.top, kTextArea.right, kTextArea.bottom};
    EXPECT_EQ(0, PixelsOffPattern(canvas, outside)) << "the background was painted over";
}

TEST(CStaticText, ReplacedTextLeavesNoTrace) {
    StaticOnPattern window;
    window.SetText(kLongText);
    Canvas before(kWidth, kHeight, RGB(0, 0, 0));
    window.Capture(before);
    ASSERT_GT(PixelsOffPattern(before, kTextArea), 1000) << "the long text did not show";

    window.SetText("i");
    Canvas after(kWidth, kHeight, RGB(0, 0, 0));
    window.Capture(after);
    RECT shortText = TextBounds(window.Parent(), "i");
    EXPECT_GT(PixelsOffPattern(after, shortText), 0) << "the new text did not show";
    RECT below = {kTextArea.left, shortText.bottom, kTextArea.right, kTextArea.bottom};
    RECT right = {shortText.right, kTextArea.top, kTextArea.right, shortText.bottom};
    EXPECT_EQ(0, PixelsOffPattern(after, below));
    EXPECT_EQ(0, PixelsOffPattern(after, right));
}

TEST(CStaticText, TextPaintedAtOnceIsNotPaintedOver) {
    StaticOnPattern window;
    window.SetText(kLongText);
    window.SetTextAndPaintIt("Welcome");
    Canvas canvas(kWidth, kHeight, RGB(0, 0, 0));
    window.Capture(canvas);
    RECT text = TextBounds(window.Parent(), "Welcome");
    EXPECT_GT(PixelsOffPattern(canvas, text), 0) << "the new text was painted over";
    RECT below = {kTextArea.left, text.bottom, kTextArea.right, kTextArea.bottom};
    EXPECT_EQ(0, PixelsOffPattern(canvas, below));
}

TEST(CStaticText, EmptiedTextLeavesNoTrace) {
    StaticOnPattern window;
    window.SetText(kLongText);
    window.SetText("");
    Canvas canvas(kWidth, kHeight, RGB(0, 0, 0));
    window.Capture(canvas);
    EXPECT_EQ(0, PixelsOffPattern(canvas, RECT{0, 0, kWidth, kHeight}));
}

TEST(CStaticText, HiddenStaticStaysHiddenWhenItsTextChanges) {
    StaticOnPattern window;
    window.Text().ShowWindow(SW_HIDE);
    window.SetText(kLongText);
    EXPECT_FALSE(window.Text().GetStyle() & WS_VISIBLE);
    EXPECT_EQ(std::string(kLongText), window.Text().GetWindowText().c_str());
}
