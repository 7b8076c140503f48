// Names of programs as the user and the system give them: an executable's file name,
// compared without regard to letter case.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/case_fold.h"

namespace mv {

// Longest program name: a registry key name and a file name both hold 255 units.
inline constexpr std::size_t kMaxProgramName = 255;

// Both names stand for the same program: equal without regard to letter case.
inline bool SameProgram(std::u16string_view a, std::u16string_view b) { return EqualIgnoringCase(a, b); }
// The file name part of a path (after the last backslash, slash or drive colon).
std::u16string_view ProgramFileName(std::u16string_view path);
// A name that can stand for a program: 1 to 255 units, no path separators or characters
// that file names cannot hold, not "." or "..".
bool ValidProgramName(std::u16string_view name);

}  // namespace mv
