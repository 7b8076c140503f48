// What Windows' display settings change in the drawing, decided without a window: the system
// colours a control takes under high contrast.
#pragma once

namespace mv {

// The system colours the controls use under high contrast (COLOR_* on Windows).
enum class SystemColour { Menu, MenuText, Highlight, HighlightText, GrayText };

struct ContrastPaint {
    SystemColour fill = SystemColour::Menu;
    SystemColour text = SystemColour::MenuText;
    friend bool operator==(const ContrastPaint&, const ContrastPaint&) = default;
};

// A highlighted control (hovered, pressed, selected or an open menu category) takes the
// highlight colours; a disabled one that is not highlighted has grey text on the menu colour.
ContrastPaint ChooseContrastPaint(bool highlighted, bool disabled);

}  // namespace mv
