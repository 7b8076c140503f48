// Charset names to Windows code pages.
#pragma once

#include <cstdint>
#include <string_view>

namespace mv {

inline constexpr std::int32_t kCodePageUtf32 = 65005;

// 0 for an empty name, -1 for a name not in the alias table.
std::int32_t charsetCodePage(std::u16string_view name);

// Every alias of the table with its code page, for tests and tools.
struct CharsetAlias {
    std::string_view name;
    std::int32_t codePage;
};
const CharsetAlias* charsetAliases(std::size_t& count);

}  // namespace mv
