#include "ui/system_look.h"

namespace mv {

ContrastPaint ChooseContrastPaint(bool highlighted, bool disabled) {
    if (highlighted) return {SystemColour::Highlight, SystemColour::HighlightText};
    return {SystemColour::Menu, disabled ? SystemColour::GrayText : SystemColour::MenuText};
}

}  // namespace mv
