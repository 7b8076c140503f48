// The settings window's commands that store settings, with their dialogs and messages:
// Apply, Restore defaults (asking whether the profiles go too), Export and Import.
#pragma once

#include <windows.h>

#include "gesture/gesture_session.h"

namespace mv {

// True when the settings were sent and saved; otherwise the warning or the failure was shown.
bool ApplySettings(HWND owner, GestureSession& session);
// False when the user cancelled or the save failed (with its message).
bool RestoreDefaults(HWND owner, GestureSession& session);
void ExportSettings(HWND owner, GestureSession& session);
// True when a file was read and applied; a refusal names the file's first problem.
bool ImportSettings(HWND owner, GestureSession& session);

}  // namespace mv
