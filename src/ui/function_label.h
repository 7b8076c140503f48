// The function button's text for the user-defined functions: the chord as keys, the
// program's file name, the page's address, or the macro's name.
#pragma once

#include <optional>
#include <string>

#include "actions/key_chord.h"
#include "settings/function_record.h"
#include "settings/macro_book.h"

namespace mv {

inline constexpr std::uint8_t kActionKeyChord = 19;
inline constexpr std::uint8_t kActionMacro = 20;
inline constexpr std::uint8_t kActionOpen = 25;

struct CustomFunctionTexts {
    MouseButtonNames buttons;
    std::u16string macro;  // "Macro", before the number of a macro without a name
};

// The name shown for a macro: its own, else "Macro N" with N counted from 1.
std::u16string MacroDisplayName(const MacroNames& names, std::size_t index, const std::u16string& macroText);

// The text for a record of code 19, 20 or 25; nothing for other codes, an empty chord,
// an empty path or a macro index outside the store.
std::optional<std::u16string> CustomFunctionLabel(const FunctionRecord& record, const MacroNames& names,
                                                  const CustomFunctionTexts& texts);

}  // namespace mv
