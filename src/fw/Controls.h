#pragma once
// Thin wrappers over the standard controls the pages bind by id.
#include <windows.h>
#include <commctrl.h>

#include "fw/Wnd.h"

class Button : public SubclassWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

class Static : public SubclassWnd {};

class Edit : public Wnd {
public:
    void LimitText(int characters) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
};

class ProgressBar : public Wnd {
public:
    void SetRange(int low, int high) const { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void SetPos(int position) const { SendMessage(PBM_SETPOS, static_cast<WPARAM>(position)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};
