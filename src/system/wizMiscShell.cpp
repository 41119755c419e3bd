#include "system/wizMisc.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "fw/MessageRecord.h"
#include "fw/ShellApi.h"
#include "fw/SystemLibrary.h"
#include "fw/UniqueHandle.h"

namespace {

// COM for the length of one call. ole32 is bound here rather than imported, so
// that the wizard does not pay for loading it at start-up.
class ComApartment {
public:
    ComApartment() : ole32_(LoadShellObjectLibraries()) {
        initialize_ = EntryPoint<InitializeFn>(ole32_.Get(), "CoInitialize");
        uninitialize_ = EntryPoint<UninitializeFn>(ole32_.Get(), "CoUninitialize");
        createInstance_ = EntryPoint<CreateInstanceFn>(ole32_.Get(), "CoCreateInstance");
        status_ = initialize_ && uninitialize_ && createInstance_ ? initialize_(nullptr) : E_FAIL;
    }
    ~ComApartment() {
        // An apartment already set up on this thread answers S_FALSE and is kept.
        if (SUCCEEDED(status_))
            uninitialize_();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool IsReady() const { return SUCCEEDED(status_); }
    template <typename Interface>
    HRESULT CreateInstance(REFCLSID type, REFIID interfaceId, UniqueComPtr<Interface>& object) const {
        void** receiver = reinterpret_cast<void**>(object.Receive());
        return IsReady() ? createInstance_(type, nullptr, CLSCTX_INPROC_SERVER, interfaceId, receiver) : E_FAIL;
    }

private:
    static HMODULE LoadShellObjectLibraries() {
        PreloadLibrariesFor(LibraryUse::ShellObjects);
        return LoadSystemLibrary("ole32.dll");
    }

    typedef HRESULT(WINAPI* InitializeFn)(LPVOID);
    typedef void(WINAPI* UninitializeFn)();
    typedef HRESULT(WINAPI* CreateInstanceFn)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

    UniqueModule ole32_;
    InitializeFn initialize_ = nullptr;
    UninitializeFn uninitialize_ = nullptr;
    CreateInstanceFn createInstance_ = nullptr;
    HRESULT status_ = E_FAIL;
};

const char kBrowseTitle[] = "Please select the parent folder to be installed.";
const char kBrowseCaption[] = "Select Folder...";

// What the browse dialog is set up with when it opens.
struct BrowseSetup {
    const char* folder;
    const char* caption;
};

int CALLBACK OnBrowseEvent(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message != BFFM_INITIALIZED)
        return 0;
    const BrowseSetup* setup = reinterpret_cast<const BrowseSetup*>(data);
    if (setup->folder)
        ::SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(setup->folder));
    if (setup->caption)
        ::SetWindowTextA(dialog, setup->caption);
    ::SetDlgItemTextA(dialog, IDOK, "&OK");
    ::SetDlgItemTextA(dialog, IDCANCEL, "&Cancel");
    return 0;
}

bool RunBrowseDialog(HWND owner, const char* initialFolder, String& out) {
    UniqueComPtr<IMalloc> allocator;
    if (FAILED(ShellApi::SHGetMalloc(allocator.Receive())))
        return false;
    BrowseSetup setup = {initialFolder, kBrowseCaption};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = kBrowseTitle;
    // File-system folders only. BIF_BROWSEFORCOMPUTER would allow nothing but
    // computers, so Windows would never enable OK for the folder the user picks.
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    if (initialFolder && *initialFolder) {
        info.lpfn = OnBrowseEvent;
        info.lParam = reinterpret_cast<LPARAM>(&setup);
    }
    bool chosen = false;
    LPITEMIDLIST item = ShellApi::SHBrowseForFolderA(&info);
    if (item) {
        chosen = FolderPathOfItem(item, out);
        allocator.Get()->Free(item);
    }
    return chosen;
}

bool SaveLink(IShellLinkA* link, const char* linkPath) {
    wchar_t widePath[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH))
        return false;
    UniqueComPtr<IPersistFile> file;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))))
        file.Get()->Save(widePath, TRUE);
    return true;
}

}  // namespace

bool FolderPathOfItem(PCIDLIST_ABSOLUTE item, String& out) {
    // Read wide: the narrow answer would take a best fit, which turns the yen
    // sign into the backslash of code page 932. A folder the code page cannot
    // name comes back with "?", which no folder name may hold.
    wchar_t wide[MAX_PATH] = L"";
    if (!ShellApi::SHGetPathFromIDListW(item, wide))
        return false;
    char path[MAX_PATH];
    NarrowWithoutBestFit(wide, path, MAX_PATH);
    out = path;
    return true;
}

DWORD PumpWait(DWORD milliseconds) {
    RecordMessage("pump begins", 0, milliseconds, 0);
    DWORD start = ::GetTickCount();
    DWORD elapsed;
    do {
        MSG message;
        if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        if (milliseconds != 0)
            ::Sleep(1);
        elapsed = ::GetTickCount() - start;
    } while (elapsed < milliseconds);
    RecordMessage("pump ends", 0, milliseconds, 0);
    return elapsed;
}

bool BrowseForFolder(HWND owner, const char* initialFolder, String& out) {
    ComApartment com;
    return RunBrowseDialog(owner, initialFolder, out);
}

bool ShellOpen(const char* file, const char* parameters, const char* folder) {
    PreloadLibrariesFor(LibraryUse::ShellObjects);
    PreloadLibrariesFor(LibraryUse::Signatures);
    HINSTANCE result = ShellApi::ShellExecuteA(nullptr, "open", file, parameters, folder, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool CreateShortcut(const char* target, const char* workingFolder, const char* linkPath,
                    const char* description) {
    ComApartment com;
    if (!com.IsReady())
        return false;
    UniqueComPtr<IShellLinkA> link;
    if (FAILED(com.CreateInstance(CLSID_ShellLink, IID_IShellLinkA, link)))
        return false;
    link.Get()->SetPath(target);
    link.Get()->SetDescription(description);
    link.Get()->SetWorkingDirectory(workingFolder);
    return SaveLink(link.Get(), linkPath);
}
