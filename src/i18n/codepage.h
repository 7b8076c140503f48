// Code-page and file seam of the markup loader: MultiByteToWideChar and the
// Win32 file calls in the Windows build, iconv and stdio in the native build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace mv {

inline constexpr std::uint32_t kCodePageUtf8 = 65001;

// The system ANSI code page (GetACP); 1252 in the native build.
std::uint32_t systemAnsiCodePage();

// Appends `bytes` converted from `codePage` to `out`, as MultiByteToWideChar
// with flags 0 does (invalid input becomes replacement characters). False,
// with `out` unchanged, when the code page is not available or, as 1200 and
// 1201 (UTF-16), is none that the function converts.
bool multiByteToWide(std::uint32_t codePage, const char* bytes, std::size_t count, std::u16string& out);

// Opens a file for reading as bytes ("rb"); null on failure.
std::FILE* openFileForReading(const std::u16string& path);
// Size of an open file in bytes; negative when it cannot be taken.
std::int64_t openFileSize(std::FILE* file);
// The operating system's message for the last failure, cut at the first line
// break, at most 100 characters.
std::u16string lastSystemErrorMessage();

// UTF-8 to UTF-16 as MultiByteToWideChar(CP_UTF8, 0) does: every maximal
// invalid subsequence becomes U+FFFD.
void appendUtf8AsUtf16(const char* bytes, std::size_t count, std::u16string& out);
// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace mv
