#include "support/ModalScript.h"
#include "support/UiDriver.h"

#include <gtest/gtest.h>

#include <vector>

namespace uitest {
namespace {

const DWORD kCloseTimeoutMs = wiztest::ScaledMs(60000);

struct ScriptState {
    std::function<void(HWND)> script;
    std::vector<std::function<void()>> later;
    HWND dialog = nullptr;
    DWORD scriptRanAt = 0;
    bool ran = false;
};
ScriptState* g_state = nullptr;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM param) {
    char name[32] = {0};
    GetClassNameA(window, name, sizeof(name));
    if (std::string(name) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

HWND ShownDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    ScriptState& state = *g_state;
    if (!state.ran) {
        HWND dialog = ShownDialog();
        if (!dialog || GetActiveWindow() != dialog)
            return;
        state.ran = true;
        state.dialog = dialog;
        state.scriptRanAt = GetTickCount();
        state.script(dialog);
        return;
    }
    if (!state.later.empty()) {
        std::function<void()> next = state.later.front();
        state.later.erase(state.later.begin());
        next();
        return;
    }
    if (IsWindow(state.dialog) && GetTickCount() - state.scriptRanAt > kCloseTimeoutMs) {
        ADD_FAILURE() << "the dialog did not close";
        EndDialog(state.dialog, -1);
    }
}

}  // namespace

void ThenLater(const std::function<void()>& next) { g_state->later.push_back(next); }

INT_PTR RunModal(const std::function<INT_PTR()>& open, const std::function<void(HWND)>& script) {
    ScriptState state;
    state.script = script;
    g_state = &state;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, OnTick);
    INT_PTR result = open();
    KillTimer(nullptr, timer);
    g_state = nullptr;
    EXPECT_TRUE(state.ran) << "the dialog never showed";
    return result;
}

}  // namespace uitest
