#include "base/text_fill.h"

#include <string>

namespace mv {

std::u16string DecimalText(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string FillPlaceholders(std::u16string_view text, std::initializer_list<std::u16string_view> args) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 1 < text.size()) {
            const char16_t next = text[i + 1];
            if (next == u'%') {
                out.push_back(u'%');
                ++i;
                continue;
            }
            if (next >= u'1' && next <= u'9') {
                const std::size_t index = static_cast<std::size_t>(next - u'1');
                if (index < args.size()) out += *(args.begin() + index);
                ++i;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

}  // namespace mv
