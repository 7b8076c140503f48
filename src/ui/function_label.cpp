#include "ui/function_label.h"

#include "base/text_fill.h"
#include "gesture/launch_target.h"

namespace mv {

std::u16string MacroDisplayName(const MacroNames& names, std::size_t index, const std::u16string& macroText) {
    if (!names.name(index).empty()) return names.name(index);
    std::u16string text = macroText;
    if (!text.empty()) text += u' ';
    text += DecimalText(static_cast<long long>(index + 1));
    return text;
}

std::optional<std::u16string> CustomFunctionLabel(const FunctionRecord& record, const MacroNames& names,
                                                  const CustomFunctionTexts& texts) {
    switch (record.actionCode()) {
        case kActionKeyChord: {
            const KeyChord chord{record.chordModifiers(), record.chordKey1(), record.chordKey2()};
            if (chord.empty()) return std::nullopt;
            return ChordText(chord, texts.buttons);
        }
        case kActionMacro:
            if (record.macroIndex() >= MacroStore::kEntryCount) return std::nullopt;
            return MacroDisplayName(names, record.macroIndex(), texts.macro);
        case kActionOpen: {
            const std::u16string path = record.programPath();
            if (path.empty()) return std::nullopt;
            return IsWebAddress(path) ? path : LaunchFileName(path);
        }
        default: return std::nullopt;
    }
}

}  // namespace mv
