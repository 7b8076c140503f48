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

// Windows-1252 from 0x80 to 0x9F as Windows converts it: the five bytes the code page leaves
// undefined become the control characters of the same value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

std::uint32_t systemAnsiCodePage() { return 1252; }

bool multiByteToWide(std::uint32_t codePage, const char* bytes, std::size_t count, std::u16string& out) {
    if (codePage == kCodePageUtf8) {
        appendUtf8AsUtf16(bytes, count, out);
        return true;
    }
    // 1200 and 1201 (UTF-16) are no multi-byte code pages: Windows refuses them.
    if (codePage == 1200 || codePage == 1201) return false;
    if (codePage == 1252) {
        out.reserve(out.size() + count);
        for (std::size_t i = 0; i < count; ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            out.push_back(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : static_cast<char16_t>(b));
        }
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
