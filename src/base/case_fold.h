// Comparing texts without regard to letter case: plain ASCII for names the program spells
// itself (process names, markup words, device names), and a simple fold of the common
// alphabets for names the user gives (programs of profiles).
#pragma once

#include <string_view>

namespace mv {

constexpr char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// ASCII, Latin-1, Greek and Cyrillic capitals to their small letters; other units as they are.
char16_t FoldCase(char16_t c);

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);
bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);
// `part` occurs in `text`, ASCII letters compared without case.
bool ContainsIgnoringAsciiCase(std::u16string_view text, std::u16string_view part);
// Ordering for lists the user reads: ASCII letters without case, then by unit.
bool LessIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

}  // namespace mv
