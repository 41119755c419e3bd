#pragma once
// An owner-drawn push button with an icon beside, above or instead of its
// caption, an optional flat look with hover tracking, and its own cursor.
// It takes over an existing button of a dialog (Dialog::BindControl).
#include "fw/Controls.h"
#include "fw/UniqueHandle.h"
#include "ui/BtnSTPaint.h"

class BtnST : public Button {
public:
    // Setter results.
    static constexpr DWORD kOk = 0;
    static constexpr DWORD kInvalidResource = 1;
    static constexpr DWORD kInvalidLayout = 4;

    BtnST();

    // Icon 1 shows while hovered or pressed, icon 2 (when given) otherwise.
    // The button keeps copies of its own, so callers keep theirs.
    DWORD UseIcon(HICON hoverIcon, HICON normalIcon = nullptr, bool repaint = true);
    DWORD SetFlatLook(bool flat, bool repaint = true);
    DWORD SetContentLayout(int layout, bool repaint = true);
    DWORD SetHoverBorder(bool border, bool repaint = true);
    // A cursor of the program's resources; 0 for none.
    DWORD SetHoverCursor(int cursorId, bool repaint = true);

    bool IsFlat() const { return flat_; }
    bool IsHovered() const { return hovered_; }
    bool IsDefaultButton() const { return defaultButton_; }
    int ContentLayout() const { return layout_; }
    HICON Icon(int index) const { return icons_[index].Get(); }
    SIZE IconSize(int index) const { return iconSizes_[index]; }
    HCURSOR Cursor() const { return cursor_.Get(); }

    bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnSubclassed() override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    BtnSTPaintState PaintState(const DRAWITEMSTRUCT& item) const;
    LRESULT OnSetStyle(WPARAM style, LPARAM redraw);
    LRESULT OnGetDlgCode(WPARAM wp, LPARAM lp);
    void OnMouseMove(WPARAM keys, LPARAM position);
    void OnDisabled();
    void CancelHover();
    void FreeIcons();
    bool TakeIcon(int index, HICON icon);
    void RepaintIf(bool repaint) const;

    POINT imageMargin_ = {3, 6};
    POINT pressedShift_ = {1, 1};
    bool flat_ = false;
    bool hovered_ = false;
    bool alwaysTrack_ = true;
    bool defaultButton_ = false;
    int layout_ = 0;
    bool hoverBorder_ = true;
    bool flatFocus_ = false;
    BtnSTColors colors_;
    UniqueCursor cursor_;
    UniqueIcon icons_[2];
    SIZE iconSizes_[2] = {{0, 0}, {0, 0}};
};
