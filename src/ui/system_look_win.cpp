#include "ui/system_look_win.h"

#include <atomic>

namespace mv {

namespace {
std::atomic<bool (*)()> g_highContrastAnswer{nullptr};
}  // namespace

bool HighContrastOn() {
    if (const auto answer = g_highContrastAnswer.load()) return answer();
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

bool ClientAnimationsOn() {
    BOOL on = TRUE;
    if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &on, 0)) return true;
    return on != FALSE;
}

COLORREF SystemColourOf(SystemColour colour) {
    switch (colour) {
    case SystemColour::Menu: return GetSysColor(COLOR_MENU);
    case SystemColour::MenuText: return GetSysColor(COLOR_MENUTEXT);
    case SystemColour::Highlight: return GetSysColor(COLOR_HIGHLIGHT);
    case SystemColour::HighlightText: return GetSysColor(COLOR_HIGHLIGHTTEXT);
    case SystemColour::GrayText: return GetSysColor(COLOR_GRAYTEXT);
    }
    return GetSysColor(COLOR_MENUTEXT);
}

void SetHighContrastAnswer(bool (*answer)()) { g_highContrastAnswer = answer; }

}  // namespace mv
