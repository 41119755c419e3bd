// A BtnST in a real dialog: taking over a button, the dialog manager's view
// of it, clicks, hover, cursor, focus, and what it owns.
#include <gtest/gtest.h>

#include "support/ModalScript.h"
#include "fw/Dialog.h"
#include "res/resource.h"
#include "ui/BtnST.h"
#include "ui/BtnSTLayout.h"

using uitest::RunModal;

namespace {

HICON ProgramIcon(int id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }

// Template 800 with its icon button (a plain push button) and its hidden
// default push button IDOK taken over by BtnSTs.
class HostDialog : public Dialog {
public:
    HostDialog() : Dialog(IDD_MSG1) {}
    BtnST plain;
    BtnST byDefault;
    int clicks = 0;

protected:
    void DoDataExchange() override {
        BindControl(IDC_MSG1_ICON, plain);
        BindControl(IDOK, byDefault);
    }
    bool OnCommand(WORD id, WORD code, HWND) override {
        if (id == IDC_MSG1_ICON && code == BN_CLICKED)
            ++clicks;
        return false;
    }
};

void RunHost(HostDialog& host, const std::function<void(HWND)>& script) {
    RunModal([&] { return host.DoModal(nullptr); },
             [&](HWND dialog) {
                 script(dialog);
                 EndDialog(dialog, IDCANCEL);
             });
}

LONG_PTR ButtonType(HWND button) { return GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK; }

LRESULT DialogCode(HWND button) { return SendMessageA(button, WM_GETDLGCODE, 0, 0); }

}  // namespace

TEST(BtnSTControl, TakesOverAPushButtonAsOwnerDrawn) {
    HostDialog host;
    RunHost(host, [&](HWND) {
        EXPECT_EQ(BS_OWNERDRAW, ButtonType(host.plain.GetSafeHwnd()));
        EXPECT_FALSE(host.plain.IsDefaultButton());
        EXPECT_TRUE(DialogCode(host.plain.GetSafeHwnd()) & DLGC_UNDEFPUSHBUTTON);
        EXPECT_FALSE(DialogCode(host.plain.GetSafeHwnd()) & DLGC_DEFPUSHBUTTON);
    });
}

TEST(BtnSTControl, RemembersADefaultPushButton) {
    HostDialog host;
    RunHost(host, [&](HWND) {
        EXPECT_EQ(BS_OWNERDRAW, ButtonType(host.byDefault.GetSafeHwnd()));
        EXPECT_TRUE(host.byDefault.IsDefaultButton());
        EXPECT_TRUE(DialogCode(host.byDefault.GetSafeHwnd()) & DLGC_DEFPUSHBUTTON);
        EXPECT_FALSE(DialogCode(host.byDefault.GetSafeHwnd()) & DLGC_UNDEFPUSHBUTTON);
    });
}

TEST(BtnSTControl, SetStyleKeepsTheFlagInStepAndStaysOwnerDrawn) {
    HostDialog host;
    RunHost(host, [&](HWND) {
        HWND button = host.byDefault.GetSafeHwnd();
        SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
        EXPECT_FALSE(host.byDefault.IsDefaultButton());
        EXPECT_EQ(BS_OWNERDRAW, ButtonType(button));
        EXPECT_TRUE(DialogCode(button) & DLGC_UNDEFPUSHBUTTON);

        SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        EXPECT_TRUE(host.byDefault.IsDefaultButton());
        EXPECT_EQ(BS_OWNERDRAW, ButtonType(button));
        EXPECT_TRUE(DialogCode(button) & DLGC_DEFPUSHBUTTON);
    });
}

TEST(BtnSTControl, TheDialogManagerCanMakeItTheDefault) {
    HostDialog host;
    RunHost(host, [&](HWND dialog) {
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(host.plain.GetSafeHwnd()), TRUE);
        EXPECT_EQ(host.plain.GetSafeHwnd(), GetFocus());
        EXPECT_TRUE(host.plain.IsDefaultButton());
        EXPECT_FALSE(host.byDefault.IsDefaultButton());
    });
}

TEST(BtnSTControl, AClickNotifiesTheParentOnceAndTakesTheFocus) {
    HostDialog host;
    RunHost(host, [&](HWND dialog) {
        SetFocus(GetDlgItem(dialog, IDC_MSG1_BUTTON2));
        SendMessageA(host.plain.GetSafeHwnd(), BM_CLICK, 0, 0);
        EXPECT_EQ(1, host.clicks);
        EXPECT_EQ(host.plain.GetSafeHwnd(), GetFocus());
    });
}

TEST(BtnSTControl, ReflectedColourMessageAnswersTheNullBrush) {
    HostDialog host;
    RunHost(host, [&](HWND dialog) {
        HDC dc = GetDC(dialog);
        LRESULT brush = SendMessageA(dialog, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(host.plain.GetSafeHwnd()));
        ReleaseDC(dialog, dc);
        EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush);
    });
}

TEST(BtnSTControl, DisablingTheFocusedButtonMovesTheFocusOn) {
    HostDialog host;
    RunHost(host, [&](HWND dialog) {
        SetFocus(host.plain.GetSafeHwnd());
        ASSERT_EQ(host.plain.GetSafeHwnd(), GetFocus());
        EnableWindow(host.plain.GetSafeHwnd(), FALSE);
        EXPECT_EQ(GetDlgItem(dialog, IDC_MSG1_BUTTON1), GetFocus());
    });
}

TEST(BtnSTControl, DisablingAnotherButtonLeavesTheFocusAlone) {
    HostDialog host;
    RunHost(host, [&](HWND dialog) {
        HWND focus = GetDlgItem(dialog, IDC_MSG1_BUTTON3);
        SetFocus(focus);
        EnableWindow(host.plain.GetSafeHwnd(), FALSE);
        EXPECT_EQ(focus, GetFocus());
    });
}

TEST(BtnSTControl, HoverIsTrackedInFlatModeOnly) {
    HostDialog host;
    RunHost(host, [&](HWND) {
        HWND button = host.plain.GetSafeHwnd();
        RECT client;
        GetClientRect(button, &client);
        POINT centre = {client.right / 2, client.bottom / 2};
        POINT onScreen = centre;
        ClientToScreen(button, &onScreen);
        ASSERT_EQ(button, WindowFromPoint(onScreen));
        SetCursorPos(onScreen.x, onScreen.y);
        LPARAM inside = MAKELPARAM(centre.x, centre.y);

        SendMessageA(button, WM_MOUSEMOVE, 0, inside);
        EXPECT_FALSE(host.plain.IsHovered()) << "a button that is not flat";

        host.plain.SetFlatLook(true);
        SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, inside);
        EXPECT_FALSE(host.plain.IsHovered()) << "dragging in from outside";
        SendMessageA(button, WM_MOUSEMOVE, 0, inside);
        EXPECT_TRUE(host.plain.IsHovered());
        SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, inside);
        EXPECT_TRUE(host.plain.IsHovered()) << "pressing inside";
        SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(-20, -20));
        EXPECT_FALSE(host.plain.IsHovered()) << "moved off the button";
    });
}

TEST(BtnSTControl, LeavingLosingFocusOrCancellingEndsHover) {
    const UINT enders[3] = {WM_MOUSELEAVE, WM_KILLFOCUS, WM_CANCELMODE};
    for (UINT ender : enders) {
        HostDialog host;
        RunHost(host, [&](HWND) {
            HWND button = host.plain.GetSafeHwnd();
            RECT client;
            GetClientRect(button, &client);
            POINT centre = {client.right / 2, client.bottom / 2};
            POINT onScreen = centre;
            ClientToScreen(button, &onScreen);
            SetCursorPos(onScreen.x, onScreen.y);
            host.plain.SetFlatLook(true);
            SendMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
            ASSERT_TRUE(host.plain.IsHovered());
            SendMessageA(button, ender, 0, 0);
            EXPECT_FALSE(host.plain.IsHovered()) << std::hex << ender;
        });
    }
}

TEST(BtnSTControl, ShowsItsCursor) {
    HostDialog host;
    RunHost(host, [&](HWND) {
        HWND button = host.plain.GetSafeHwnd();
        ASSERT_EQ(BtnST::kOk, host.plain.SetHoverCursor(IDC_HAND_POINTER));
        ASSERT_TRUE(host.plain.Cursor() != nullptr);
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        LRESULT handled = SendMessageA(button, WM_SETCURSOR, reinterpret_cast<WPARAM>(button),
                                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(TRUE, handled);
        EXPECT_EQ(host.plain.Cursor(), GetCursor());
    });
}

TEST(BtnSTSetters, ContentLayoutOutOfRangeIsRefused) {
    BtnST button;
    EXPECT_EQ(BtnST::kOk, button.SetContentLayout(kImageOverlap, false));
    EXPECT_EQ(BtnST::kInvalidLayout, button.SetContentLayout(kContentLayoutCount, false));
    EXPECT_EQ(BtnST::kInvalidLayout, button.SetContentLayout(200, false));
    EXPECT_EQ(kImageOverlap, button.ContentLayout());
    EXPECT_EQ(BtnST::kOk, button.SetContentLayout(kImageAbove, false));
    EXPECT_EQ(kImageAbove, button.ContentLayout());
}

TEST(BtnSTSetters, HoverCursor) {
    BtnST button;
    EXPECT_EQ(BtnST::kOk, button.SetHoverCursor(IDC_HAND_POINTER, false));
    HCURSOR first = button.Cursor();
    EXPECT_TRUE(first != nullptr);
    EXPECT_EQ(BtnST::kInvalidResource, button.SetHoverCursor(4711, false));
    EXPECT_TRUE(button.Cursor() == nullptr);
    EXPECT_EQ(BtnST::kOk, button.SetHoverCursor(0, false));
    EXPECT_TRUE(button.Cursor() == nullptr);
}

TEST(BtnSTSetters, IconSizeComesFromTheHotspot) {
    BtnST button;
    EXPECT_EQ(BtnST::kOk, button.UseIcon(ProgramIcon(IDI_REPAIR), ProgramIcon(IDI_REMOVE), false));
    EXPECT_EQ(32, button.IconSize(0).cx);
    EXPECT_EQ(32, button.IconSize(0).cy);
    EXPECT_EQ(32, button.IconSize(1).cx);
    EXPECT_TRUE(button.Icon(0) != nullptr);
    EXPECT_TRUE(button.Icon(1) != nullptr);
}

TEST(BtnSTSetters, AnUnreadableIconClearsBoth) {
    BtnST button;
    button.UseIcon(ProgramIcon(IDI_REPAIR), ProgramIcon(IDI_REMOVE), false);
    EXPECT_EQ(BtnST::kInvalidResource,
              button.UseIcon(ProgramIcon(IDI_REPAIR), reinterpret_cast<HICON>(0x7f0eadd0), false));
    EXPECT_TRUE(button.Icon(0) == nullptr);
    EXPECT_TRUE(button.Icon(1) == nullptr);
    EXPECT_EQ(0, button.IconSize(0).cx);
}

TEST(BtnSTSetters, NoIconIsNoFailure) {
    BtnST button;
    EXPECT_EQ(BtnST::kOk, button.UseIcon(nullptr, nullptr, false));
    EXPECT_TRUE(button.Icon(0) == nullptr);
}

TEST(BtnSTOwnership, IconsAreReleasedOnReplacementAndDestruction) {
    HICON given = ProgramIcon(IDI_REPAIR);
    HICON replaced, kept;
    {
        BtnST button;
        button.UseIcon(given, nullptr, false);
        replaced = button.Icon(0);
        button.UseIcon(given, nullptr, false);
        kept = button.Icon(0);
        ICONINFO info;
        EXPECT_FALSE(GetIconInfo(replaced, &info)) << "the replaced icon lives on";
    }
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(kept, &info)) << "the icon outlives its button";
    ASSERT_TRUE(GetIconInfo(given, &info)) << "the caller's icon was released";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(BtnSTOwnership, CursorIsReleasedOnReplacementAndDestruction) {
    HCURSOR replaced, kept;
    {
        BtnST button;
        button.SetHoverCursor(IDC_HAND_POINTER, false);
        replaced = button.Cursor();
        button.SetHoverCursor(IDC_HAND_POINTER, false);
        kept = button.Cursor();
        ICONINFO info;
        EXPECT_FALSE(GetIconInfo(replaced, &info));
    }
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(kept, &info));
}
