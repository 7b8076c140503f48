// MarkupDoc::loadFile: byte-order marks, declared encodings, UTF-8 detection,
// zero removal, byte swapping and conversion to UTF-16.
#include "i18n/markup_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "base/case_fold.h"
#include "base/text_fill.h"
#include "i18n/charset.h"
#include "i18n/codepage.h"
#include "i18n/markup_doc.h"

namespace mv {
namespace {

inline bool isSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
inline bool isTokenDelimiter(char16_t c) {
    switch (c) {
        case ' ': case '\t': case '\n': case '\r': case '<': case '>': case '=': case '\\':
        case '/': case '?': case '!': case '"': case '\'': case ';':
            return true;
        default:
            return false;
    }
}

// Reads the tokens of a text one by one: a run of non-delimiters, or one
// delimiter; white space between tokens is passed over.
struct TokenCursor {
    std::u16string_view text;
    std::size_t start = 0;
    std::size_t end = 0;  // end < start: no token
    std::size_t next = 0;
    bool ignoreCase = true;

    bool advance() {
        while (next < text.size() && isSpace(text[next])) ++next;
        start = next;
        if (next >= text.size()) {
            end = start - 1;
            return false;
        }
        if (isTokenDelimiter(text[next])) {
            ++next;
        } else {
            while (next < text.size() && !isTokenDelimiter(text[next])) ++next;
        }
        end = next;
        return true;
    }
    bool is(std::u16string_view word) const {
        if (end < start) return false;
        const std::u16string_view token = text.substr(start, end - start);
        return ignoreCase ? EqualIgnoringAsciiCase(token, word) : token == word;
    }
    std::u16string_view token() const { return end < start ? std::u16string_view{} : text.substr(start, end - start); }
};

struct Attribute {
    std::u16string_view name;
    std::u16string_view value;
    bool hasValue = false;
};

// Attributes of a start tag or processing instruction, read from `tag` after its name.
class AttributeReader {
public:
    AttributeReader(std::u16string_view tag, std::size_t from) : tag_(tag), pos_(from) {}
    bool next(Attribute& a) {
        const std::size_t n = tag_.size();
        while (pos_ < n && (isSpace(tag_[pos_]) || tag_[pos_] == '/' || tag_[pos_] == '?' || tag_[pos_] == '<'))
            ++pos_;
        if (pos_ >= n || tag_[pos_] == '>') return false;
        std::size_t k = pos_;
        while (k < n && tag_[k] != '=' && !isSpace(tag_[k]) && tag_[k] != '>' && tag_[k] != '/' && tag_[k] != '?')
            ++k;
        if (k == pos_) ++k;  // a stray character: pass it
        a = Attribute{tag_.substr(pos_, k - pos_), {}, false};
        std::size_t v = k;
        while (v < n && isSpace(tag_[v])) ++v;
        if (v < n && tag_[v] == '=') {
            ++v;
            while (v < n && isSpace(tag_[v])) ++v;
            a.hasValue = true;
            if (v < n && (tag_[v] == '"' || tag_[v] == '\'')) {
                const char16_t quote = tag_[v];
                std::size_t close = v + 1;
                while (close < n && tag_[close] != quote) ++close;
                a.value = tag_.substr(v + 1, close - v - 1);
                k = close < n ? close + 1 : close;
            } else {
                std::size_t e = v;
                while (e < n && !isSpace(tag_[e]) && tag_[e] != '>') ++e;
                a.value = tag_.substr(v, e - v);
                k = e;
            }
        }
        pos_ = k;
        return true;
    }

private:
    std::u16string_view tag_;
    std::size_t pos_;
};

std::u16string_view tagName(std::u16string_view tag, std::size_t from, std::size_t& after) {
    std::size_t k = from;
    while (k < tag.size() && !isSpace(tag[k]) && tag[k] != '/' && tag[k] != '>' && tag[k] != '?') ++k;
    after = k;
    return tag.substr(from, k - from);
}

void appendAscii(std::u16string& out, const char* s) {
    while (*s) out.push_back(static_cast<char16_t>(*s++));
}
void appendNumber(std::u16string& out, std::size_t value) {
    out += DecimalText(static_cast<long long>(value));
}

std::size_t removeZeroBytes(std::vector<char>& bytes, std::size_t from) {
    char* data = bytes.data();
    const std::size_t n = bytes.size();
    const void* hit = from < n ? std::memchr(data + from, 0, n - from) : nullptr;
    if (!hit) return 0;
    std::size_t out = static_cast<const char*>(hit) - data;
    for (std::size_t i = out; i < n; ++i)
        if (data[i] != 0) data[out++] = data[i];
    const std::size_t removed = n - out;
    bytes.resize(out);
    return removed;
}

}  // namespace

std::u16string declaredEncoding(std::u16string_view text) {
    std::size_t pos = 0;
    bool sawTag = false;
    bool sawInstruction = false;
    bool html = false;
    for (;;) {
        const MarkupNode node = readMarkupNode(text, pos);
        const std::u16string_view tag = text.substr(node.start, node.length);
        switch (node.kind) {
            case NodeKind::EndOfText:
            case NodeKind::Error:
                return {};
            case NodeKind::ProcessingInstruction: {
                if (sawTag || sawInstruction) break;
                sawInstruction = true;
                std::size_t after = 0;
                if (!EqualIgnoringAsciiCase(tagName(tag, 2, after), u"xml")) break;
                AttributeReader reader(tag, after);
                Attribute a;
                while (reader.next(a))
                    if (a.hasValue && EqualIgnoringAsciiCase(a.name, u"encoding")) return std::u16string(a.value);
                return {};
            }
            case NodeKind::StartTag: {
                std::size_t after = 0;
                const std::u16string_view name = tagName(tag, 1, after);
                if (!sawTag) {
                    sawTag = true;
                    if (!EqualIgnoringAsciiCase(name, u"html")) return {};
                    html = true;
                    break;
                }
                if (!html || !EqualIgnoringAsciiCase(name, u"meta")) break;
                AttributeReader reader(tag, after);
                Attribute a;
                bool contentType = false;
                std::u16string_view content;
                bool hasContent = false;
                while (reader.next(a)) {
                    if (!a.hasValue) continue;
                    if (EqualIgnoringAsciiCase(a.name, u"http-equiv") && EqualIgnoringAsciiCase(a.value, u"Content-Type"))
                        contentType = true;
                    else if (EqualIgnoringAsciiCase(a.name, u"content")) {
                        content = a.value;
                        hasContent = true;
                    }
                }
                if (!contentType || !hasContent) break;
                TokenCursor cursor{content};
                while (cursor.advance()) {
                    if (!cursor.is(u"charset")) continue;
                    if (!cursor.advance() || !cursor.is(u"=")) break;
                    if (!cursor.advance()) break;
                    return std::u16string(cursor.token());
                }
                return {};
            }
            case NodeKind::EndTag: {
                sawTag = true;
                if (EqualIgnoringAsciiCase(text.substr(node.nameStart, node.nameLength), u"head")) return {};
                break;
            }
            default:
                break;
        }
    }
}

bool passesUtf8Check(const unsigned char* bytes, std::size_t count) {
    std::size_t i = 0;
    while (i < count && bytes[i] != 0) {
        const unsigned char c = bytes[i++];
        if (c < 0x80) continue;
        int more;
        if (!(c & 0x20)) more = 1;
        else if (!(c & 0x10)) more = 2;
        else if (!(c & 0x08)) more = 3;
        else return false;
        for (; more > 0; --more) {
            if (i >= count || bytes[i] < 0x80) return false;
            ++i;
        }
    }
    return true;
}

void convertToUtf16(std::u16string_view encoding, const char* bytes, std::size_t count, std::u16string& out) {
    std::int32_t codePage = charsetCodePage(encoding);
    if (codePage == kCodePageUtf32) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes);
        out.reserve(out.size() + count / 4);
        for (std::size_t i = 0; i + 4 <= count; i += 4) {
            std::uint32_t v = std::uint32_t(b[i]) | std::uint32_t(b[i + 1]) << 8 | std::uint32_t(b[i + 2]) << 16 |
                              std::uint32_t(b[i + 3]) << 24;
            if (v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) v = 0xFFFD;  // not a character
            if (v < 0x10000) {
                out.push_back(static_cast<char16_t>(v));
            } else {
                v -= 0x10000;
                out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
                out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
            }
        }
        return;
    }
    const std::uint32_t ansi = systemAnsiCodePage();
    if (codePage <= 0) codePage = static_cast<std::int32_t>(ansi);
    // A code page the system cannot convert is read in the ANSI code page
    // rather than dropping the text.
    if (!multiByteToWide(static_cast<std::uint32_t>(codePage), bytes, count, out))
        multiByteToWide(ansi, bytes, count, out);
}

bool MarkupDoc::loadFile(const std::u16string& path) {
    loadMessages_.clear();
    docFlags_ = 0;
    text_.clear();
    auto fail = [&](std::u16string message) {
        text_.clear();
        docFlags_ = 0;
        loadMessages_.clear();
        parseText();
        diagnostics_ = std::move(message);
        return false;
    };

    std::FILE* file = openFileForReading(path);
    if (!file) return fail(lastSystemErrorMessage());
    struct Closer {
        std::FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{file};

    const std::int64_t size = openFileSize(file);
    if (size < 0) return fail(lastSystemErrorMessage());
    // Offsets of the index are 32-bit: larger files cannot be indexed.
    if (size > 0x7FFFFFFF) return fail(u"File too large");

    std::vector<char> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return fail(u"Not enough memory");
    }
    const std::size_t head = std::min<std::size_t>(bytes.size(), 1024);
    std::size_t got = head ? std::fread(bytes.data(), 1, head, file) : 0;
    if (got < head && std::ferror(file)) return fail(lastSystemErrorMessage());
    const auto* u = reinterpret_cast<const unsigned char*>(bytes.data());

    std::u16string encoding;
    bool decided = false, bom = false, wide = false;
    std::size_t mark = 0;
    if (got >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) {
        encoding = u"UTF-8";
        docFlags_ |= doc_flag::Utf8Bom;
        mark = 3;
    } else if (got >= 2 && u[0] == 0xFF && u[1] == 0xFE) {
        encoding = u"UTF-16LE";
        docFlags_ |= doc_flag::Utf16LeBom;
        mark = 2;
        wide = true;
    } else if (got >= 2 && u[0] == 0xFE && u[1] == 0xFF) {
        encoding = u"UTF-16BE";
        docFlags_ |= doc_flag::Utf16BeBom;
        mark = 2;
        wide = true;
    }
    if (mark) {
        decided = bom = true;
    } else if (got > 0) {
        std::u16string start;
        multiByteToWide(kCodePageUtf8, bytes.data(), got, start);
        encoding = declaredEncoding(start);
        if (encoding.empty() && u[0] == '<') encoding = u"UTF-8";
        decided = !encoding.empty();
    }

    // The rest in one read.
    if (got == head && bytes.size() > head) {
        got += std::fread(bytes.data() + head, 1, bytes.size() - head, file);
        if (got < bytes.size() && std::ferror(file)) return fail(lastSystemErrorMessage());
    }
    bytes.resize(got);
    const std::size_t length = got - std::min(got, mark);
    // The units read after the mark: 16-bit units for UTF-16, bytes otherwise.
    const std::size_t units = wide ? length / 2 : length;

    std::u16string messages;
    std::u16string reading;
    if (units == 0) {
        appendAscii(reading, "0 length ");
    } else {
        appendAscii(reading, "length ");
        appendNumber(reading, units);
        reading.push_back(u' ');
    }
    if (wide) {
        text_.resize(units);
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.data()) + mark;
        const bool swap = docFlags_ & doc_flag::Utf16BeBom;
        std::size_t out = 0;
        for (std::size_t i = 0; i < units; ++i) {
            const char16_t v = static_cast<char16_t>(b[2 * i] | (b[2 * i + 1] << 8));
            if (v) text_[out++] = swap ? static_cast<char16_t>((v >> 8) | (v << 8)) : v;
        }
        text_.resize(out);
        if (units > out) {
            appendAscii(reading, "(");
            appendNumber(reading, units - out);
            appendAscii(reading, " nulls removed) ");
        }
        if (swap && units) appendAscii(reading, "endian swap ");
    } else if (length > 0) {
        // Zero bytes are dropped, except inside the 32-bit units of UTF-32.
        const bool utf32 = charsetCodePage(encoding) == kCodePageUtf32;
        const std::size_t removed = utf32 ? 0 : removeZeroBytes(bytes, mark);
        if (removed) {
            appendAscii(reading, "(");
            appendNumber(reading, removed);
            appendAscii(reading, " nulls removed) ");
        }
        if (encoding.empty()) {
            if (passesUtf8Check(reinterpret_cast<const unsigned char*>(bytes.data()) + mark, bytes.size() - mark))
                encoding = u"UTF-8";
            appendAscii(reading, "(used UTF-8 detection) ");
        }
        convertToUtf16(encoding, bytes.data() + mark, bytes.size() - mark, text_);
        if (utf32) text_.erase(std::remove(text_.begin(), text_.end(), u'\0'), text_.end());
        appendAscii(reading, "to ");
        appendNumber(reading, text_.size());
        appendAscii(reading, " wide chars ");
    }
    if (!encoding.empty()) messages = encoding;
    else appendAscii(messages, "ANSI");
    if (decided && bom) appendAscii(messages, " BOM +");
    messages.push_back(u' ');
    loadMessages_ = messages + reading;
    parseText();
    return true;
}

}  // namespace mv
