// The .reg file format of Windows' Registry Editor, version 5: UTF-16LE with a byte-order
// mark, CRLF lines, "[KEY]" and "[-KEY]" sections, "NAME"=... values. Binary data is
// written as regedit writes it (hex:, wrapped with a backslash and a two-space indent).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mv {

inline constexpr char16_t kRegFileHeader[] = u"Windows Registry Editor Version 5.00";
// Files longer than this are refused before they are parsed.
inline constexpr std::size_t kRegFileMaxBytes = 16u << 20;

struct RegFileValue {
    std::u16string name;
    std::uint32_t type = 0;  // REG_SZ 1, REG_BINARY 3, REG_DWORD 4, others through hex(N):
    std::vector<std::uint8_t> data;
    std::size_t line = 0;    // where it was read (1-based); 0 when written
    friend bool operator==(const RegFileValue& a, const RegFileValue& b) {
        return a.name == b.name && a.type == b.type && a.data == b.data;
    }
};

struct RegFileKey {
    std::u16string path;  // full path, e.g. HKEY_LOCAL_MACHINE\Software\...
    bool remove = false;  // "[-path]": the key and everything below it is deleted
    std::vector<RegFileValue> values;
    std::size_t line = 0;
    friend bool operator==(const RegFileKey& a, const RegFileKey& b) {
        return a.path == b.path && a.remove == b.remove && a.values == b.values;
    }
};

enum class RegFileProblem {
    None,
    Encoding,      // no UTF-16LE byte-order mark, odd length, a NUL or broken surrogate in the text
    TooLarge,      // longer than kRegFileMaxBytes
    Header,        // first line is not the version 5 header
    Syntax,        // a line that is neither a key, a value nor empty
    ValueOutsideKey,
    Truncated,     // the file ends inside a continued value
    BadData,       // hex bytes, dword or string that cannot be read
};

struct RegFileResult {
    RegFileProblem problem = RegFileProblem::None;
    std::size_t line = 0;  // 1-based line of the problem
    std::vector<RegFileKey> keys;
    bool ok() const { return problem == RegFileProblem::None; }
};

// The file's bytes: BOM, header, a blank line, then each key with its values and a blank line.
std::vector<std::uint8_t> WriteRegFile(const std::vector<RegFileKey>& keys);
// Reads a file written by WriteRegFile or by regedit; stops at the first problem.
RegFileResult ReadRegFile(const std::uint8_t* data, std::size_t size);

}  // namespace mv
