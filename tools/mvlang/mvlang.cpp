// mvlang FILE: loads a language file the way the program does and prints the
// load and parse messages, then key=text for every key in catalogue order (the
// added keys after the original ones).
// Output is UTF-8; backslash, line breaks, tabs and other control characters
// are escaped so that each text stays on one line.
#include <cstdio>
#include <string>
#include <string_view>

#include "i18n/codepage.h"
#include "i18n/text_catalogue.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

bool needsEscape(char16_t c) { return c < 0x20 || c == 0x7F || c == u'\\'; }

// Runs of plain text go to the UTF-8 conversion whole, so surrogate pairs stay together.
std::string escapedText(std::u16string_view text) {
    std::string out;
    std::size_t plain = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !needsEscape(text[i])) continue;
        out += mv::utf16ToUtf8(text.substr(plain, i - plain));
        plain = i + 1;
        if (i == text.size()) break;
        switch (text[i]) {
            case u'\\': out += "\\\\"; break;
            case u'\n': out += "\\n"; break;
            case u'\r': out += "\\r"; break;
            case u'\t': out += "\\t"; break;
            default: {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\x%02X", static_cast<unsigned>(text[i]));
                out += buffer;
            }
        }
    }
    return out;
}

void writeLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

int run(const std::u16string& path) {
    mv::MarkupDoc probe;
    if (!probe.loadFile(path)) {
        std::fprintf(stderr, "mvlang: cannot open %s: %s\n", mv::utf16ToUtf8(path).c_str(),
                     mv::utf16ToUtf8(probe.diagnostics()).c_str());
        return 2;
    }
    mv::loadTextCatalogue(path);
    writeLine(escapedText(mv::languageDocument().diagnostics()));
    for (std::size_t i = 0; i < mv::kAllTextKeyCount; ++i)
        writeLine(std::string(mv::textKeyAt(i)) + "=" + escapedText(mv::textCatalogue().text(i)));
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int usage() {
    std::fputs("usage: mvlang FILE\n", stderr);
    return 2;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc != 2) return usage();
    return run(reinterpret_cast<const char16_t*>(argv[1]));
}
#else
int main(int argc, char** argv) {
    if (argc != 2) return usage();
    std::u16string path;
    const std::string_view arg(argv[1]);
    mv::appendUtf8AsUtf16(arg.data(), arg.size(), path);
    return run(path);
}
#endif
