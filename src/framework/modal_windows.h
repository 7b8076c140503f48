// The modal windows (dialogs, message boxes, file dialogs) that this thread shows over a
// window, and asking them to close.
#pragma once

#include <windows.h>

namespace mv::fw {

// True while a modal window of this thread is up over `owner` (it keeps `owner` disabled).
bool HasModalWindowOver(HWND owner);

// Posts WM_CLOSE to each visible, enabled top-level window of this thread that `owner` owns,
// directly or through other windows: the innermost of nested modal windows, which closes as
// its Cancel would.
void CloseModalWindowsOver(HWND owner);

}  // namespace mv::fw
