// The file side of MarkupDoc: encoding detection and conversion to UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace mv {

// The encoding named by an XML declaration or an HTML Content-Type meta tag
// at the start of `text`; empty when there is none.
std::u16string declaredEncoding(std::u16string_view text);

// The loose UTF-8 check used to guess an undeclared file's encoding.
bool passesUtf8Check(const unsigned char* bytes, std::size_t count);

// Converts bytes of the named encoding to UTF-16 (appended to `out`): UTF-32
// names as little-endian 32-bit units, unknown or empty names in the system
// ANSI code page.
void convertToUtf16(std::u16string_view encoding, const char* bytes, std::size_t count, std::u16string& out);

}  // namespace mv
