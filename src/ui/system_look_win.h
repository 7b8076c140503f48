// Windows' display settings that the drawing follows, asked of the system where they are
// used: high contrast (the tray menu, the function menu, the feedback label and the settings
// window's captions and focus draw in system colours) and "show animations" (the gesture
// picture holds still, the label does not fade). Windows that draw with them repaint on
// WM_SETTINGCHANGE and WM_SYSCOLORCHANGE.
#pragma once

#include <windows.h>

#include "ui/system_look.h"

namespace mv {

// SPI_GETHIGHCONTRAST's HCF_HIGHCONTRASTON, unless a test set another answer.
bool HighContrastOn();
// SPI_GETCLIENTAREAANIMATION; on when the system cannot say (before Vista).
bool ClientAnimationsOn();
COLORREF SystemColourOf(SystemColour colour);

// Tests: the answer HighContrastOn gives from now on (Wine always reports high contrast off);
// null gives the system's answer again.
void SetHighContrastAnswer(bool (*answer)());

}  // namespace mv
