// Filling texts: numbers as UTF-16 digits and the %1 to %9 placeholders of the language
// file's texts.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace mv {

// The decimal digits of `value`, with a minus sign when negative.
std::u16string DecimalText(long long value);
// Replaces %1 to %9 with the arguments (a missing argument with nothing); "%%" is "%".
std::u16string FillPlaceholders(std::u16string_view text, std::initializer_list<std::u16string_view> args);

}  // namespace mv
