#include "base/program_names.h"

namespace mv {

std::u16string_view ProgramFileName(std::u16string_view path) {
    const std::size_t cut = path.find_last_of(u"\\/:");
    return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

bool ValidProgramName(std::u16string_view name) {
    if (name.empty() || name.size() > kMaxProgramName || name == u"." || name == u"..") return false;
    for (char16_t c : name)
        if (c < 0x20 || c == 0x7F || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
            return false;
    // Windows drops trailing dots and spaces from file names: such a name never matches.
    return name.back() != u'.' && name.back() != u' ';
}

}  // namespace mv
