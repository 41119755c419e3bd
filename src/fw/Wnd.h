#pragma once
// Window wrappers that refer to a window without owning it.
#include <windows.h>
#include "fw/String.h"

class Wnd {
public:
    Wnd() : hwnd_(nullptr) {}
    explicit Wnd(HWND hwnd) : hwnd_(hwnd) {}
    virtual ~Wnd() = default;
    Wnd(const Wnd&) = delete;
    Wnd& operator=(const Wnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }
    bool IsWindow() const { return hwnd_ && ::IsWindow(hwnd_); }

    // Binds this object to a child control of a dialog (the DDX_Control step).
    virtual bool AttachDlgItem(HWND parent, int id);
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    HWND Detach();

    String GetWindowText() const;
    void SetWindowText(const char* text) const { ::SetWindowTextA(hwnd_, text); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
    String GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const char* text) const { ::SetDlgItemTextA(hwnd_, id, text); }
    HWND GetParent() const { return ::GetParent(hwnd_); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(hwnd_); }

    void ShowWindow(int command) const { ::ShowWindow(hwnd_, command); }
    void EnableWindow(bool enable) const { ::EnableWindow(hwnd_, enable ? TRUE : FALSE); }
    bool IsWindowVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
    void SetFocus() const { ::SetFocus(hwnd_); }
    void Invalidate(bool erase = true) const { ::InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE); }

    RECT GetWindowRect() const;
    RECT GetClientRect() const;
    // Window rectangle of a child, in this window's client coordinates.
    RECT GetChildRect(HWND child) const;
    void MoveWindow(const RECT& rect, bool repaint = true) const;

    void SetFont(HFONT font, bool redraw = true) const;
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0)); }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
        return ::SendMessageA(hwnd_, msg, wp, lp);
    }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrA(hwnd_, GWL_STYLE); }

protected:
    HWND hwnd_;
};

// A window whose messages pass through this object first (comctl32 subclassing).
// Parents reflect owner-draw, colour and notification messages to it.
class SubclassWnd : public Wnd {
public:
    ~SubclassWnd() override;

    bool AttachDlgItem(HWND parent, int id) override;
    bool SubclassWindow(HWND hwnd);
    void UnsubclassWindow();

    static SubclassWnd* FromHandle(HWND hwnd);

    // A message the parent received on behalf of this control; answer true to
    // claim it and give the parent's answer in result.
    virtual bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual void OnSubclassed() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                         UINT_PTR id, DWORD_PTR refData);
};
