#include "fw/EarlierInputFilter.h"

#include "fw/MessageRecord.h"

namespace {
// The filter whose hook is set; only the UI thread sets one.
EarlierInputFilter* g_activeFilter = nullptr;

bool IsInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

bool IsCommand(UINT message) { return message == WM_COMMAND || message == WM_SYSCOMMAND || message == WM_CLOSE; }
}  // namespace

bool MadeByMoment(DWORD time, DWORD moment) { return static_cast<LONG>(time - moment) <= 0; }

bool IsEarlierInput(UINT message, HWND target, DWORD time, HWND guarded, DWORD moment) {
    if (!IsInput(message) && !(IsCommand(message) && target == guarded))
        return false;
    return MadeByMoment(time, moment);
}

bool EarlierInputFilter::Start(HWND guarded, DWORD moment) {
    Stop();
    guarded_ = guarded;
    moment_ = moment;
    hook_.Reset(::SetWindowsHookExA(WH_GETMESSAGE, GetMessageProc, nullptr, ::GetCurrentThreadId()));
    if (!hook_)
        return false;
    g_activeFilter = this;
    return true;
}

void EarlierInputFilter::Stop() {
    if (g_activeFilter == this)
        g_activeFilter = nullptr;
    hook_.Reset();
}

LRESULT CALLBACK EarlierInputFilter::GetMessageProc(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && g_activeFilter) {
        MSG* message = reinterpret_cast<MSG*>(lp);
        if (IsEarlierInput(message->message, message->hwnd, message->time, g_activeFilter->guarded_,
                           g_activeFilter->moment_)) {
            RecordMessage("filter drops", message->message, message->wParam, message->time);
            message->message = WM_NULL;
        }
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}
