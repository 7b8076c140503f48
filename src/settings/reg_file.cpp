#include "settings/reg_file.h"

#include <cstdio>
#include <string_view>

namespace mv {

namespace {

constexpr std::uint32_t kTypeSz = 1;
constexpr std::uint32_t kTypeBinary = 3;
constexpr std::uint32_t kTypeDword = 4;
// regedit breaks a hex line once it is longer than this, so that with the backslash it
// stays within 80 characters.
constexpr std::size_t kHexLineLimit = 76;

void Append(std::u16string& out, std::string_view ascii) {
    for (char c : ascii) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
}

void AppendQuoted(std::u16string& out, std::u16string_view text) {
    out.push_back(u'"');
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') out.push_back(u'\\');
        out.push_back(c);
    }
    out.push_back(u'"');
}

void AppendValue(std::u16string& out, const RegFileValue& v) {
    const std::size_t lineStart = out.size();
    AppendQuoted(out, v.name);
    out.push_back(u'=');
    if (v.type == kTypeDword && v.data.size() == 4) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "dword:%08x",
                      static_cast<unsigned>(v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) |
                                            (static_cast<std::uint32_t>(v.data[3]) << 24)));
        Append(out, digits);
        return;
    }
    if (v.type == kTypeSz && v.data.size() % 2 == 0 && v.data.size() >= 2 && v.data[v.data.size() - 1] == 0 &&
        v.data[v.data.size() - 2] == 0) {
        std::u16string text;
        bool plain = true;
        for (std::size_t i = 0; i + 2 < v.data.size(); i += 2) {
            const char16_t c = static_cast<char16_t>(v.data[i] | (v.data[i + 1] << 8));
            if (c == 0 || c == u'\r' || c == u'\n') plain = false;
            text.push_back(c);
        }
        if (plain) {
            AppendQuoted(out, text);
            return;
        }
    }
    if (v.type == kTypeBinary) {
        Append(out, "hex:");
    } else {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(v.type));
        Append(out, prefix);
    }
    std::size_t lineLength = out.size() - lineStart;
    for (std::size_t i = 0; i < v.data.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", v.data[i]);
        Append(out, byte);
        lineLength += 2;
        if (i + 1 == v.data.size()) break;
        out.push_back(u',');
        ++lineLength;
        if (lineLength > kHexLineLimit) {
            Append(out, "\\\r\n  ");
            lineLength = 2;
        }
    }
}

// --- reading ---------------------------------------------------------------------------

struct Lines {
    std::u16string_view text;
    std::size_t pos = 0;
    std::size_t number = 0;
    bool next(std::u16string_view& line) {
        if (pos >= text.size()) return false;
        std::size_t end = text.find(u'\n', pos);
        if (end == std::u16string_view::npos) end = text.size();
        line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
        pos = end + 1;
        ++number;
        return true;
    }
};

std::u16string_view Trim(std::u16string_view s) {
    while (!s.empty() && (s.front() == u' ' || s.front() == u'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == u' ' || s.back() == u'\t')) s.remove_suffix(1);
    return s;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool StartsWith(std::u16string_view s, std::u16string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// A quoted name or string at the start of `s`: the text and what follows the closing quote.
bool ReadQuoted(std::u16string_view s, std::u16string& text, std::u16string_view& rest) {
    if (s.empty() || s.front() != u'"') return false;
    text.clear();
    for (std::size_t i = 1; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c == u'\\') {
            if (++i >= s.size()) return false;
            text.push_back(s[i]);
        } else if (c == u'"') {
            rest = s.substr(i + 1);
            return true;
        } else {
            text.push_back(c);
        }
    }
    return false;
}

bool ReadHexBytes(std::u16string_view s, std::vector<std::uint8_t>& out) {
    s = Trim(s);
    if (s.empty()) return true;
    std::size_t i = 0;
    while (true) {
        while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
        if (i + 2 > s.size()) return false;
        const int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
        i += 2;
        while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
        if (i == s.size()) return true;
        if (s[i] != u',') return false;
        ++i;
        // A trailing comma ends the data of a line.
        while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
        if (i == s.size()) return true;
    }
}

}  // namespace

std::vector<std::uint8_t> WriteRegFile(const std::vector<RegFileKey>& keys) {
    std::u16string text = kRegFileHeader;
    text += u"\r\n\r\n";
    for (const RegFileKey& key : keys) {
        text += key.remove ? u"[-" : u"[";
        text += key.path;
        text += u"]\r\n";
        if (!key.remove)
            for (const RegFileValue& v : key.values) {
                AppendValue(text, v);
                text += u"\r\n";
            }
        text += u"\r\n";
    }
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    bytes.reserve(2 + text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

RegFileResult ReadRegFile(const std::uint8_t* data, std::size_t size) {
    RegFileResult result;
    auto fail = [&](RegFileProblem problem, std::size_t line) {
        result.problem = problem;
        result.line = line;
        result.keys.clear();
        return result;
    };
    if (size > kRegFileMaxBytes) return fail(RegFileProblem::TooLarge, 0);
    if (size < 2 || data[0] != 0xFF || data[1] != 0xFE) return fail(RegFileProblem::Encoding, 0);
    // Half a code unit at the end: the file was cut off.
    if (size % 2 != 0) return fail(RegFileProblem::Truncated, 0);

    std::u16string text;
    text.reserve(size / 2);
    std::size_t lineOfUnit = 1;
    for (std::size_t i = 2; i < size; i += 2) {
        const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        // A NUL or an unpaired surrogate means the file is not UTF-16 text.
        if (c == 0) return fail(RegFileProblem::Encoding, lineOfUnit);
        if (c >= 0xD800 && c <= 0xDBFF) {
            const bool paired = i + 3 < size && ((data[i + 2] | (data[i + 3] << 8)) & 0xFC00) == 0xDC00;
            if (!paired) return fail(RegFileProblem::Encoding, lineOfUnit);
            text.push_back(c);
            text.push_back(static_cast<char16_t>(data[i + 2] | (data[i + 3] << 8)));
            i += 2;
            continue;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) return fail(RegFileProblem::Encoding, lineOfUnit);
        if (c == u'\n') ++lineOfUnit;
        text.push_back(c);
    }

    Lines lines{text};
    std::u16string_view line;
    if (!lines.next(line) || Trim(line) != kRegFileHeader) return fail(RegFileProblem::Header, 1);

    RegFileKey* key = nullptr;
    while (lines.next(line)) {
        const std::size_t number = lines.number;
        const std::u16string_view t = Trim(line);
        if (t.empty() || t.front() == u';') continue;
        if (t.front() == u'[') {
            if (t.back() != u']' || t.size() < 3) return fail(RegFileProblem::Syntax, number);
            RegFileKey k;
            k.remove = t[1] == u'-';
            k.path = std::u16string(t.substr(k.remove ? 2 : 1, t.size() - (k.remove ? 3 : 2)));
            if (k.path.empty()) return fail(RegFileProblem::Syntax, number);
            k.line = number;
            result.keys.push_back(std::move(k));
            key = &result.keys.back();
            continue;
        }
        RegFileValue value;
        value.line = number;
        std::u16string_view rest;
        if (t.front() == u'@') {
            rest = t.substr(1);
        } else if (!ReadQuoted(t, value.name, rest)) {
            return fail(RegFileProblem::Syntax, number);
        }
        rest = Trim(rest);
        if (rest.empty() || rest.front() != u'=') return fail(RegFileProblem::Syntax, number);
        if (!key || key->remove) return fail(RegFileProblem::ValueOutsideKey, number);
        rest = Trim(rest.substr(1));

        if (StartsWith(rest, u"\"")) {
            std::u16string s;
            std::u16string_view after;
            if (!ReadQuoted(rest, s, after) || !Trim(after).empty()) return fail(RegFileProblem::BadData, number);
            value.type = kTypeSz;
            for (char16_t c : s) {
                value.data.push_back(static_cast<std::uint8_t>(c & 0xFF));
                value.data.push_back(static_cast<std::uint8_t>(c >> 8));
            }
            value.data.push_back(0);
            value.data.push_back(0);
        } else if (StartsWith(rest, u"dword:")) {
            const std::u16string_view digits = rest.substr(6);
            if (digits.size() != 8) return fail(RegFileProblem::BadData, number);
            std::uint32_t v = 0;
            for (char16_t c : digits) {
                const int d = HexDigit(c);
                if (d < 0) return fail(RegFileProblem::BadData, number);
                v = v * 16 + static_cast<std::uint32_t>(d);
            }
            value.type = kTypeDword;
            value.data = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        } else if (StartsWith(rest, u"hex")) {
            std::u16string_view hex = rest.substr(3);
            value.type = kTypeBinary;
            if (StartsWith(hex, u"(")) {
                const std::size_t close = hex.find(u')');
                if (close == std::u16string_view::npos || close < 2 || close > 9)
                    return fail(RegFileProblem::BadData, number);
                std::uint32_t type = 0;
                for (char16_t c : hex.substr(1, close - 1)) {
                    const int d = HexDigit(c);
                    if (d < 0) return fail(RegFileProblem::BadData, number);
                    type = type * 16 + static_cast<std::uint32_t>(d);
                }
                value.type = type;
                hex = hex.substr(close + 1);
            }
            if (!StartsWith(hex, u":")) return fail(RegFileProblem::BadData, number);
            hex = hex.substr(1);
            // Continued lines end with a backslash.
            while (true) {
                std::u16string_view part = Trim(hex);
                const bool continued = !part.empty() && part.back() == u'\\';
                if (continued) part.remove_suffix(1);
                if (!ReadHexBytes(part, value.data)) return fail(RegFileProblem::BadData, lines.number);
                if (!continued) break;
                if (!lines.next(hex)) return fail(RegFileProblem::Truncated, lines.number);
                if (value.data.size() > kRegFileMaxBytes) return fail(RegFileProblem::BadData, lines.number);
            }
        } else {
            return fail(RegFileProblem::BadData, number);
        }
        key->values.push_back(std::move(value));
    }
    return result;
}

}  // namespace mv
