#pragma once
// A Wizard97 property sheet that owns its pages by value in the derived class.
// The page descriptors are built at DoModal, so no page handle can leak.
#include "fw/PropertyPageEx.h"

class PropertySheetEx : public SubclassWnd {
public:
    PropertySheetEx(const char* caption, HWND parent, UINT startPage, HBITMAP watermark,
                  HPALETTE palette, HBITMAP header);

    static const int kMaxPages = 8;
    // The sheet's pages in order, replacing any set before; a list longer than
    // kMaxPages does not compile.
    template <size_t N>
    void SetPages(PropertyPageEx* const (&pages)[N]) {
        static_assert(N <= static_cast<size_t>(kMaxPages), "a sheet holds at most kMaxPages pages");
        TakePages(pages, static_cast<int>(N));
    }
    int GetPageCount() const { return count_; }
    PropertyPageEx* GetPage(int index) const { return index >= 0 && index < count_ ? pages_[index] : nullptr; }
    int GetPageIndex(const PropertyPageEx& page) const;
    PropertyPageEx* GetActivePage() const;
    bool SetActivePage(int index) const;
    bool SetActivePage(const PropertyPageEx& page) const { return SetActivePage(GetPageIndex(page)); }

    INT_PTR DoModal();

    // From now on refuses each request to close or finish the sheet that was
    // made before `moment` (a tick count). A request counts as made when the
    // message it is handled in was: a key or click is stamped when the user
    // made it, a message posted on its behalf when it was posted. One made
    // within the moment's own millisecond counts as later: the page that
    // takes it may already show.
    void RefuseRequestsMadeBefore(DWORD moment) {
        refusesEarlierRequests_ = true;
        requestsRefusedBefore_ = moment;
    }
    // True when the message being handled was made before that moment.
    bool IsEarlierRequest() const {
        return refusesEarlierRequests_ &&
               static_cast<LONG>(static_cast<DWORD>(::GetMessageTime()) - requestsRefusedBefore_) < 0;
    }

    // Keeps the sheet's caption at this text whatever comctl32 later sets
    // (some versions copy the active page's title into it on every change).
    void PinTitle(const char* title);

    PROPSHEETHEADERA m_psh;

protected:
    // Runs once, after comctl32 has initialised the sheet and before it is first shown.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Runs once, when the sheet is first idle after its first page was painted.
    virtual void OnFirstPageShown() {}
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM lp);
    void TakePages(PropertyPageEx* const* pages, int count);

    PropertyPageEx* pages_[kMaxPages];
    PROPSHEETPAGEA descriptors_[kMaxPages];
    int count_ = 0;
    bool initialised_ = false;
    bool refusesEarlierRequests_ = false;
    DWORD requestsRefusedBefore_ = 0;
    WCHAR pinnedTitle_[256];
};
