// The name the settings window shows for a function, by ActionCode.
#pragma once

#include <cstdint>
#include <string_view>

namespace mv {

// The text key of the function's name. Every code has one: the functions of the
// menus and the slot defaults their own, a key chord, a macro and a program or
// file (codes 19, 20 and 25, set by the custom functions' editors) theirs, code 0
// "no function" and every other code "other function". A language file without
// the added keys gives an empty name, never the name shown before.
std::string_view FunctionNameKey(std::int32_t actionCode);

}  // namespace mv
