#pragma once
// Runs a modal dialog of this thread and acts on it from inside its own
// message loop: a thread timer waits until the dialog is shown and active,
// then hands it to the script, which reads it and answers it with messages.
#include <windows.h>

#include <functional>

namespace uitest {

// Calls `open` (which runs a modal dialog and returns its answer) and
// `script` once with the dialog. A dialog still open long after the script
// ran is ended with -1 and reported as a failure.
INT_PTR RunModal(const std::function<INT_PTR()>& open, const std::function<void(HWND dialog)>& script);

// Lets the dialog's own loop work off what is queued, then calls `next`.
void ThenLater(const std::function<void()>& next);

}  // namespace uitest
