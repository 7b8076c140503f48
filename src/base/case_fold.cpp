#include "base/case_fold.h"

#include <algorithm>

namespace mv {

char16_t FoldCase(char16_t c) {
    if (c < 0x80) return FoldAscii(c);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
    return c;
}

namespace {
template <char16_t (*Fold)(char16_t)>
bool Equal(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}
char16_t Ascii(char16_t c) { return FoldAscii(c); }
}  // namespace

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) { return Equal<Ascii>(a, b); }
bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) { return Equal<FoldCase>(a, b); }

bool ContainsIgnoringAsciiCase(std::u16string_view text, std::u16string_view part) {
    if (part.size() > text.size()) return false;
    for (std::size_t i = 0; i + part.size() <= text.size(); ++i)
        if (EqualIgnoringAsciiCase(text.substr(i, part.size()), part)) return true;
    return false;
}

bool LessIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return FoldAscii(x) < FoldAscii(y); });
}

}  // namespace mv
