#pragma once
// First installation only: the destination folder, typed or browsed, tested by
// creating it, then the installation run.
#include "fw/Controls.h"
#include "pages/CPspEx.h"

class CPspFolder : public CPspEx {
public:
    CPspFolder();

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    void SetInitialFocus() const override { FocusOn(folderEdit_.GetSafeHwnd()); }
    BOOL OnQueryCancel() override;
    LRESULT OnWizardNext() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void Browse();
    LRESULT StayWithTextSelected();

    Edit folderEdit_;
};

// The folder as it goes into the setup state: a relative folder is made full
// against the current folder (removal later runs from elsewhere). Empty when
// it cannot be made full within MAX_PATH or holds a character that no folder
// name may hold.
String AcceptedFolderPath(const char* typed);

// What the edit box shows for a folder picked in the browser: the folder with
// one trailing backslash, a drive root as it is.
String BrowsedFolderText(const String& chosen);
