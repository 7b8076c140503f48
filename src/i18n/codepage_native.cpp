// Native code-page seam: iconv for Windows code pages, stdio for files.
#include <cerrno>
#include <cstring>
#include <iconv.h>

#include "i18n/codepage.h"

namespace mv {
namespace {

// iconv's name for a Windows code page; empty when there is none.
std::string iconvName(std::uint32_t cp) {
    switch (cp) {
        case 37: return "IBM037";
        case 708: return "ISO-8859-6";
        case 1200: return "UTF-16LE";
        case 1201: return "UTF-16BE";
        case 1361: return "JOHAB";
        case 10000: return "MACINTOSH";
        case 10007: return "MAC-CYRILLIC";
        case 10029: return "MAC-CENTRALEUROPE";
        case 10079: return "MACIS";
        case 20127: return "ASCII";
        case 20866: return "KOI8-R";
        case 21866: return "KOI8-U";
        case 28605: return "ISO-8859-15";
        case 38598: return "ISO-8859-8";
        case 50220: case 50221: case 50222: return "ISO-2022-JP";
        case 50225: return "ISO-2022-KR";
        case 51932: return "EUC-JP";
        case 51936: return "EUC-CN";
        case 51949: return "EUC-KR";
        case 52936: return "HZ";
        case 65000: return "UTF-7";
        default: break;
    }
    if (cp >= 28591 && cp <= 28599) return "ISO-8859-" + std::to_string(cp - 28590);
    if (cp >= 20000) return {};
    if (cp >= 1140 && cp <= 1149) return "IBM0" + std::to_string(cp);
    return "CP" + std::to_string(cp);
}

}  // namespace

std::uint32_t systemAnsiCodePage() { return 1252; }

bool multiByteToWide(std::uint32_t codePage, const char* bytes, std::size_t count, std::u16string& out) {
    if (codePage == kCodePageUtf8) {
        appendUtf8AsUtf16(bytes, count, out);
        return true;
    }
    const std::string name = iconvName(codePage);
    if (name.empty()) return false;
    iconv_t cd = iconv_open("UTF-16LE", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::u16string result;
    result.resize(count * 2 + 16);
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = count;
    std::size_t produced = 0;
    while (inLeft > 0) {
        char* dst = reinterpret_cast<char*>(result.data() + produced);
        std::size_t dstLeft = (result.size() - produced) * 2;
        const std::size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        produced = result.size() - dstLeft / 2;
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) {
            result.resize(result.size() * 2);
        } else {
            // Invalid or incomplete input: one replacement per skipped byte.
            if (produced == result.size()) result.resize(result.size() * 2);
            result[produced++] = 0xFFFD;
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    result.resize(produced);
    out += result;
    return true;
}

std::FILE* openFileForReading(const std::u16string& path) {
    errno = 0;
    return std::fopen(utf16ToUtf8(path).c_str(), "rb");
}

std::int64_t openFileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

std::u16string lastSystemErrorMessage() {
    const char* message = std::strerror(errno ? errno : EIO);
    std::u16string out;
    for (std::size_t i = 0; message[i] && message[i] != '\r' && message[i] != '\n' && out.size() < 99; ++i)
        out.push_back(static_cast<unsigned char>(message[i]));
    return out;
}

}  // namespace mv
