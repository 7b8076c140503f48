// Tokenizer, one-pass element index and navigation of MarkupDoc.
#include "i18n/markup_doc.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <vector>

namespace mv {
namespace {

using namespace element_flag;

inline bool isSpace(char16_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
inline bool isNameStart(char16_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ':' || c == '_' || c >= 0x7B;
}
// Delimiters that end a name in the name search.
inline bool isNameDelimiter(char16_t c) {
    switch (c) {
        case ' ': case '\t': case '\n': case '\r': case '<': case '>': case '=': case '\\':
        case '/': case '?': case '!': case '"': case '\'': case ';':
            return true;
        default:
            return false;
    }
}

void appendAscii(std::u16string& out, const char* s) {
    while (*s) out.push_back(static_cast<char16_t>(*s++));
}
void appendNumber(std::u16string& out, std::size_t value) {
    char buffer[24];
    int n = 0;
    do {
        buffer[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value);
    while (n) out.push_back(static_cast<char16_t>(buffer[--n]));
}

// Scans for one of up to three characters, eight units at a time where SSE2 is available.
template <int Count>
std::size_t findFirstOf(const char16_t* s, std::size_t from, std::size_t end, char16_t c0, char16_t c1 = 0,
                        char16_t c2 = 0) {
    std::size_t k = from;
#if defined(__SSE2__)
    const __m128i v0 = _mm_set1_epi16(static_cast<short>(c0));
    const __m128i v1 = _mm_set1_epi16(static_cast<short>(c1));
    const __m128i v2 = _mm_set1_epi16(static_cast<short>(c2));
    for (; k + 8 <= end; k += 8) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k));
        __m128i hit = _mm_cmpeq_epi16(x, v0);
        if constexpr (Count > 1) hit = _mm_or_si128(hit, _mm_cmpeq_epi16(x, v1));
        if constexpr (Count > 2) hit = _mm_or_si128(hit, _mm_cmpeq_epi16(x, v2));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        if (mask) return k + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
    }
#endif
    for (; k < end; ++k) {
        const char16_t x = s[k];
        if (x == c0 || (Count > 1 && x == c1) || (Count > 2 && x == c2)) return k;
    }
    return end;
}

inline std::size_t findChar(const char16_t* s, std::size_t from, std::size_t end, char16_t c) {
    return findFirstOf<1>(s, from, end, c);
}

// First ">" at or after `from` whose preceding characters are `a` and then `b`
// and lie at or after `floor`; `end` when there is none.
std::size_t findTerminator(const char16_t* s, std::size_t from, std::size_t floor, std::size_t end, char16_t a,
                           char16_t b) {
    std::size_t k = std::max(from, floor + 2);
    for (;;) {
        k = findChar(s, k, end, '>');
        if (k >= end) return end;
        if (s[k - 1] == b && s[k - 2] == a) return k;
        ++k;
    }
}

// First ">" at or after `from` preceded by `a`, with that `a` at or after `floor`.
std::size_t findTerminator(const char16_t* s, std::size_t from, std::size_t floor, std::size_t end, char16_t a) {
    std::size_t k = std::max(from, floor + 1);
    for (;;) {
        k = findChar(s, k, end, '>');
        if (k >= end) return end;
        if (s[k - 1] == a) return k;
        ++k;
    }
}

void makeError(MarkupNode& node, const char16_t* s, std::size_t n, const char* description) {
    node.kind = NodeKind::Error;
    node.message.clear();
    appendAscii(node.message, "Incorrect ");
    appendAscii(node.message, description);
    appendAscii(node.message, " at offset ");
    appendNumber(node.message, node.start);
    // Runs to the next ">" (included) or up to the next "<".
    std::size_t k = node.start + 1;
    while (k < n && s[k] != '>' && s[k] != '<') ++k;
    if (k < n && s[k] == '>') ++k;
    node.length = k - node.start;
}

void makeUnterminated(MarkupNode& node, std::size_t n, const char* kind) {
    node.kind = NodeKind::Error;
    node.message.clear();
    appendAscii(node.message, kind);
    appendAscii(node.message, " at offset ");
    appendNumber(node.message, node.start);
    appendAscii(node.message, " unterminated");
    node.length = n - node.start;
}

// The ">" that ends a declaration inside a document type, outside quotes; `n` when none.
std::size_t skipDeclaration(const char16_t* s, std::size_t k, std::size_t n) {
    char16_t quote = 0;
    for (; k < n; ++k) {
        const char16_t c = s[k];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return k;
        }
    }
    return n;
}

// Characters below 64 as bit sets, for scans that stop at a few ASCII characters.
constexpr std::uint64_t bitsOf(std::initializer_list<char> chars) {
    std::uint64_t bits = 0;
    for (char c : chars) bits |= std::uint64_t(1) << c;
    return bits;
}
constexpr std::uint64_t kNameEnd = bitsOf({' ', '\t', '\n', '\r', '/', '>'});
inline bool inSet(std::uint64_t set, char16_t c) { return c < 64 && ((set >> c) & 1); }

// A start tag at `pos` ("<" and a name character): its length, the end of its
// name and whether it closes itself. False when the text ends inside it.
struct TagScan {
    std::size_t length;
    std::size_t nameEnd;
    bool selfClosing;
};
// The end of an element name starting at `k`: the first blank, "/" or ">".
inline std::size_t nameEndFrom(const char16_t* s, std::size_t k, std::size_t n) {
#if defined(__SSE2__)
    // Candidates are units up to U+0020, "/" and ">"; only blanks among the former end a name.
    const __m128i space = _mm_set1_epi16(0x20), slash = _mm_set1_epi16('/'), close = _mm_set1_epi16('>');
    for (; k + 8 <= n; k += 8) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + k));
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(x, space), _mm_setzero_si128());
        const __m128i hit = _mm_or_si128(low, _mm_or_si128(_mm_cmpeq_epi16(x, slash), _mm_cmpeq_epi16(x, close)));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask) {
            const std::size_t at = k + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
            if (inSet(kNameEnd, s[at])) return at;
            mask &= mask - 1;
            mask &= mask - 1;  // both bytes of the unit
        }
    }
#endif
    while (k < n && !inSet(kNameEnd, s[k])) ++k;
    return k;
}

inline bool scanStartTag(const char16_t* s, std::size_t n, std::size_t pos, TagScan& tag) {
    std::size_t k = nameEndFrom(s, pos + 1, n);
    const std::size_t nameEnd = k;
    if (k < n && s[k] == '>') {  // no attributes
        tag.length = k + 1 - pos;
        tag.nameEnd = nameEnd;
        tag.selfClosing = false;
        return true;
    }
    for (;;) {
        k = findFirstOf<3>(s, k, n, '>', '"', '\'');
        if (k >= n) return false;
        const char16_t c = s[k];
        if (c == '>') {
            tag.length = k + 1 - pos;
            tag.nameEnd = nameEnd;
            tag.selfClosing = false;
            if (s[k - 1] == '/' && k - 1 >= nameEnd) {
                const std::size_t slash = k - 1;
                const char16_t before = s[slash - 1];
                tag.selfClosing = slash == nameEnd || isSpace(before) || before == '"' || before == '\'';
            }
            return true;
        }
        // A quote opens a value only when "=" precedes it (blanks between),
        // and that "=" is not part of the name.
        std::size_t b = k;
        while (b > nameEnd && isSpace(s[b - 1])) --b;
        if (b > nameEnd && s[b - 1] == '=') {
            const std::size_t close = findChar(s, k + 1, n, c);
            if (close >= n) return false;
            k = close;
        }
        ++k;
    }
}

inline bool equalUnits(const char16_t* a, const char16_t* b, std::size_t count) {
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (x != y) return false;
    }
    for (; i < count; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The name of an end tag whose ">" is at `close`.
inline std::size_t endTagNameEnd(const char16_t* s, std::size_t pos, std::size_t close) {
    std::size_t k = pos + 2;
    while (k < close && !isSpace(s[k]) && s[k] != '/') ++k;
    return k;
}

void readStartTag(MarkupNode& node, const char16_t* s, std::size_t n) {
    TagScan tag;
    node.nameStart = node.start + 1;
    if (!scanStartTag(s, n, node.start, tag)) {
        std::size_t k = node.nameStart;
        while (k < n && !inSet(kNameEnd, s[k])) ++k;
        node.nameLength = k - node.nameStart;
        makeUnterminated(node, n, "Element tag");
        return;
    }
    node.kind = NodeKind::StartTag;
    node.length = tag.length;
    node.nameLength = tag.nameEnd - node.nameStart;
    node.selfClosing = tag.selfClosing;
}

void readDocType(MarkupNode& node, const char16_t* s, std::size_t n) {
    std::size_t k = node.start + 3;
    while (k < n) {
        const char16_t c = s[k];
        if (c == '>') {
            node.kind = NodeKind::DocType;
            node.length = k + 1 - node.start;
            return;
        }
        if (c == '<' && k + 1 < n && s[k + 1] == '?') {
            k = findTerminator(s, k + 3, k + 2, n, '?');
            if (k >= n) break;
            ++k;
            continue;
        }
        if (c == '<' && k + 1 < n && s[k + 1] == '!') {
            if (k + 2 >= n) break;
            const char16_t d = s[k + 2];
            if (d == '-') {
                k = findTerminator(s, k + 6, k + 4, n, '-', '-');
            } else if (d == 'E' || d == 'A' || d == 'N') {
                k = skipDeclaration(s, k + 3, n);
            } else {
                makeError(node, s, n, "! tag");
                // The error node runs from the document type's start past the bad declaration.
                std::size_t e = k + 2;
                while (e < n && s[e] != '>' && s[e] != '<') ++e;
                if (e < n && s[e] == '>') ++e;
                node.length = e - node.start;
                return;
            }
            if (k >= n) break;
            ++k;
            continue;
        }
        ++k;
    }
    makeUnterminated(node, n, "Doctype");
}

}  // namespace

MarkupNode readMarkupNode(std::u16string_view text, std::size_t& pos) {
    const char16_t* s = text.data();
    const std::size_t n = text.size();
    MarkupNode node;
    node.start = pos;
    if (pos >= n) {
        node.kind = NodeKind::EndOfText;
        return node;
    }
    const char16_t c = s[pos];
    if (c != '<') {
        std::size_t k = pos;
        while (k < n && isSpace(s[k])) ++k;
        if (k < n && s[k] != '<') {
            node.kind = NodeKind::Text;
            k = findChar(s, k, n, '<');
        } else {
            node.kind = NodeKind::WhiteSpace;
        }
        node.length = k - pos;
        pos = k;
        return node;
    }
    if (pos + 1 >= n) {
        makeUnterminated(node, n, "tag");
    } else {
        const char16_t d = s[pos + 1];
        if (isNameStart(d)) {
            readStartTag(node, s, n);
        } else if (d == '/') {
            const std::size_t close = findChar(s, pos + 2, n, '>');
            if (close >= n) {
                makeUnterminated(node, n, "Element end tag");
            } else {
                node.kind = NodeKind::EndTag;
                node.length = close + 1 - pos;
                node.nameStart = pos + 2;
                node.nameLength = endTagNameEnd(s, pos, close) - node.nameStart;
            }
        } else if (d == '?') {
            const std::size_t close = findTerminator(s, pos + 3, pos + 2, n, '?');
            if (close >= n) {
                makeUnterminated(node, n, "Processing instruction");
            } else {
                node.kind = NodeKind::ProcessingInstruction;
                node.length = close + 1 - pos;
            }
        } else if (d == '!') {
            if (pos + 2 >= n) {
                makeUnterminated(node, n, "tag");
            } else if (s[pos + 2] == '-') {
                if (pos + 3 >= n) {
                    makeUnterminated(node, n, "tag");
                } else if (s[pos + 3] != '-') {
                    makeError(node, s, n, "comment tag");
                } else {
                    const std::size_t close = findTerminator(s, pos + 6, pos + 4, n, '-', '-');
                    if (close >= n) {
                        makeUnterminated(node, n, "Comment");
                    } else {
                        node.kind = NodeKind::Comment;
                        node.length = close + 1 - pos;
                    }
                }
            } else if (s[pos + 2] == '[') {
                if (pos + 3 >= n) {
                    makeUnterminated(node, n, "tag");
                } else if (s[pos + 3] != 'C') {
                    makeError(node, s, n, "tag");
                } else {
                    const std::size_t close = findTerminator(s, pos + 6, pos + 4, n, ']', ']');
                    if (close >= n) {
                        makeUnterminated(node, n, "CDATA Section");
                    } else {
                        node.kind = NodeKind::CData;
                        node.length = close + 1 - pos;
                    }
                }
            } else if (s[pos + 2] == 'D') {
                readDocType(node, s, n);
            } else {
                makeError(node, s, n, "! tag");
            }
        } else {
            makeError(node, s, n, "tag name character");
        }
    }
    pos = node.start + node.length;
    return node;
}

// ---- element store ----

MarkupDoc::MarkupDoc() { parseText(); }
MarkupDoc::~MarkupDoc() = default;

void MarkupDoc::releaseStore() {
    segments_.reset();
    segmentSizes_.reset();
    segmentCount_ = segmentTableCapacity_ = capacity_ = 0;
}

std::size_t MarkupDoc::indexBytes() const {
    return capacity_ * sizeof(ElementRecord) +
           segmentTableCapacity_ * (sizeof(std::unique_ptr<ElementRecord[]>) + sizeof(std::uint32_t));
}

// Grows the store to hold `wanted` records, never more than one segment
// beyond the current last one.
void MarkupDoc::reserveRecords(std::size_t wanted) {
    const std::size_t limit = (segmentCount_ + 1) * kSegmentRecords;
    wanted = std::min(wanted, limit);
    if (wanted <= capacity_) return;
    const std::size_t needed = (wanted + kSegmentRecords - 1) / kSegmentRecords;
    if (needed > segmentTableCapacity_) {
        const std::size_t tableCapacity = needed * 2 + 4;
        auto table = std::make_unique<std::unique_ptr<ElementRecord[]>[]>(tableCapacity);
        auto sizes = std::make_unique<std::uint32_t[]>(tableCapacity);
        for (std::size_t i = 0; i < segmentCount_; ++i) {
            table[i] = std::move(segments_[i]);
            sizes[i] = segmentSizes_[i];
        }
        segments_ = std::move(table);
        segmentSizes_ = std::move(sizes);
        segmentTableCapacity_ = tableCapacity;
    }
    auto resizeSegment = [&](std::size_t segment, std::size_t records) {
        auto grown = std::make_unique_for_overwrite<ElementRecord[]>(records);
        if (segments_[segment])
            std::memcpy(grown.get(), segments_[segment].get(), segmentSizes_[segment] * sizeof(ElementRecord));
        segments_[segment] = std::move(grown);
        capacity_ += records - segmentSizes_[segment];
        segmentSizes_[segment] = static_cast<std::uint32_t>(records);
    };
    if (needed > segmentCount_ && segmentCount_ > 0 && segmentSizes_[segmentCount_ - 1] < kSegmentRecords)
        resizeSegment(segmentCount_ - 1, kSegmentRecords);
    while (segmentCount_ < needed) {
        segmentSizes_[segmentCount_] = 0;
        ++segmentCount_;
        resizeSegment(segmentCount_ - 1, segmentCount_ < needed ? kSegmentRecords
                                                                : wanted - (needed - 1) * kSegmentRecords);
    }
    if (wanted > capacity_) resizeSegment(segmentCount_ - 1, wanted - (segmentCount_ - 1) * kSegmentRecords);
}

ElementIndex MarkupDoc::newRecord() {
    if (static_cast<std::size_t>(freePos_) >= capacity_) {
        const std::size_t used = static_cast<std::size_t>(freePos_);
        reserveRecords(used + used / 2);
    }
    const ElementIndex index = freePos_++;
    rec(index) = ElementRecord{};
    return index;
}

void MarkupDoc::recordMessage(std::u16string message) {
    if (parseMessage_.empty()) parseMessage_ = std::move(message);
}

// Closes open elements (outermost first in `tags`) as unclosed: each one's
// children follow it as siblings, so in the end every element of the chain
// and all their children are children of `parent`, in document order.
void MarkupDoc::closeUnclosed(const OpenTag* tags, std::size_t count, ElementIndex parent) {
    if (count == 0) return;
    ElementRecord& p = rec(parent);
    ElementIndex tail = tags[0].element;  // the last child of `parent`
    bool bad = false;
    for (std::size_t i = 0; i < count; ++i) {
        ElementRecord& u = rec(tags[i].element);
        const ElementIndex first = u.firstChild;
        if (first) {
            ElementRecord& f = rec(first);
            const ElementIndex last = f.prevSibling;
            for (ElementIndex c = first; c; c = rec(c).nextSibling) rec(c).parent = parent;
            f.flagsDepth &= ~FirstChild;
            f.prevSibling = tail;
            rec(tail).nextSibling = first;
            tail = last;
            u.firstChild = 0;
        }
        if (u.flagsDepth & BadContent) {
            bad = true;
            u.flagsDepth &= ~BadContent;
        }
        u.flagsDepth |= Unclosed;
        u.length = u.startTagLength();
        u.tagLengths &= ElementRecord::kStartTagMax;
        if (u.length == ElementRecord::kStartTagMax) {
            std::size_t at = u.start;
            u.length = static_cast<std::uint32_t>(readMarkupNode(text_, at).length);
        }
    }
    rec(tail).nextSibling = 0;
    rec(p.firstChild).prevSibling = tail;
    if (bad) p.flagsDepth |= BadContent;
    rec(0).flagsDepth |= Malformed;
}

bool MarkupDoc::parseText() {
    parentPos_ = currentPos_ = childPos_ = 0;
    parseMessage_.clear();
    freePos_ = 1;
    releaseStore();
    reserveRecords(text_.size() / 64 + 8);
    rec(0) = ElementRecord{};

    const std::u16string_view text(text_);
    if (text.empty()) {
        parseMessage_ = u"Empty document";
    } else {
        std::vector<OpenTag> open;
        open.reserve(6);
        ElementIndex parent = 0;
        ElementIndex first = 0, last = 0;  // children of `parent` so far
        std::size_t pos = 0;
        const char16_t* s = text.data();
        const std::size_t n = text.size();
        auto sameName = [&](const OpenTag& t, std::size_t nameStart, std::size_t nameLength) {
            return t.nameLength == nameLength && equalUnits(s + t.nameStart, s + nameStart, nameLength);
        };
        auto startTag = [&](std::size_t start, std::size_t length, std::size_t nameStart, std::size_t nameLength,
                            bool selfClosing) __attribute__((always_inline)) {
            const ElementIndex index = newRecord();
            ElementRecord& r = rec(index);
            r.start = static_cast<std::uint32_t>(start);
            r.tagLengths = static_cast<std::uint32_t>(std::min<std::size_t>(length, ElementRecord::kStartTagMax));
            r.length = static_cast<std::uint32_t>(length);
            r.flagsDepth = static_cast<std::uint32_t>(std::min<std::size_t>(open.size(), 0xFFFF));
            r.parent = parent;
            if (first == 0) {
                rec(parent).firstChild = index;
                r.prevSibling = index;
                r.flagsDepth |= FirstChild;
                first = index;
            } else {
                rec(last).nextSibling = index;
                r.prevSibling = last;
                rec(first).prevSibling = index;
            }
            last = index;
            if (!selfClosing) {
                if (open.size() == open.capacity()) open.reserve(open.capacity() * 2 + 6);
                open.push_back({index, static_cast<std::uint32_t>(nameStart), static_cast<std::uint32_t>(nameLength),
                                first});
                parent = index;
                first = last = 0;
            }
        };
        auto endTag = [&](std::size_t start, std::size_t length, std::size_t nameStart, std::size_t nameLength,
                          bool closesInnermost = false) {
            std::size_t k = open.size();
            if (!closesInnermost)
                while (k > 0 && !sameName(open[k - 1], nameStart, nameLength)) --k;
            const std::u16string_view name = text.substr(nameStart, nameLength);
            if (k == 0) {
                rec(0).flagsDepth |= Malformed;
                rec(parent).flagsDepth |= BadContent;
                if (parseMessage_.empty()) {
                    std::u16string m = u"No start tag for end tag '";
                    m.append(name);
                    appendAscii(m, "' at offset ");
                    appendNumber(m, start);
                    parseMessage_ = std::move(m);
                }
                return;
            }
            const std::size_t matched = k - 1;
            if (matched + 1 < open.size()) {
                if (parseMessage_.empty()) {
                    const OpenTag& inner = open.back();
                    std::u16string m = u"End tag '";
                    m.append(name);
                    appendAscii(m, "' at offset ");
                    appendNumber(m, start + 1);
                    appendAscii(m, " does not match start tag '");
                    m.append(text.substr(inner.nameStart, inner.nameLength));
                    appendAscii(m, "' at offset ");
                    appendNumber(m, rec(inner.element).start);
                    parseMessage_ = std::move(m);
                }
                closeUnclosed(open.data() + matched + 1, open.size() - matched - 1, open[matched].element);
            }
            ElementRecord& r = rec(open[matched].element);
            r.length = static_cast<std::uint32_t>(start + length - r.start);
            const std::size_t endLength = std::min<std::size_t>(length, ElementRecord::kEndTagMax);
            r.tagLengths = (r.tagLengths & ElementRecord::kStartTagMax) | static_cast<std::uint32_t>(endLength << 22);
            parent = r.parent;
            first = open[matched].parentFirst;
            last = open[matched].element;
            open.resize(matched);
        };

        while (pos < n) {
            // Text and white space do not change the index: pass them in one scan.
            if (s[pos] != '<') {
                pos = findChar(s, pos, n, '<');
                continue;
            }
            // Start and end tags directly; everything else through the tokenizer.
            if (pos + 1 < n) {
                const char16_t d = s[pos + 1];
                if (isNameStart(d)) {
                    TagScan tag;
                    if (scanStartTag(s, n, pos, tag)) {
                        startTag(pos, tag.length, pos + 1, tag.nameEnd - pos - 1, tag.selfClosing);
                        pos += tag.length;
                        continue;
                    }
                } else if (d == '/') {
                    // Mostly "</" and the innermost open name directly followed by ">".
                    if (!open.empty()) {
                        const OpenTag& top = open.back();
                        const std::size_t after = pos + 2 + top.nameLength;
                        if (after < n && s[after] == '>' && equalUnits(s + pos + 2, s + top.nameStart, top.nameLength)) {
                            ElementRecord& r = rec(top.element);
                            r.length = static_cast<std::uint32_t>(after + 1 - r.start);
                            const std::size_t endLength = std::min<std::size_t>(after + 1 - pos, ElementRecord::kEndTagMax);
                            r.tagLengths = (r.tagLengths & ElementRecord::kStartTagMax) |
                                           static_cast<std::uint32_t>(endLength << 22);
                            parent = r.parent;
                            first = top.parentFirst;
                            last = top.element;
                            open.pop_back();
                            pos = after + 1;
                            continue;
                        }
                    }
                    const std::size_t close = findChar(s, pos + 2, n, '>');
                    if (close < n) {
                        // Mostly the end tag of the innermost open element: its name
                        // followed by the end of the end tag's name.
                        std::size_t nameEnd;
                        bool innermost = false;
                        if (!open.empty()) {
                            const OpenTag& top = open.back();
                            const std::size_t after = pos + 2 + top.nameLength;
                            innermost = top.nameLength <= close - pos - 2 &&
                                        equalUnits(s + pos + 2, s + top.nameStart, top.nameLength) &&
                                        (after == close || isSpace(s[after]) || s[after] == '/');
                        }
                        if (innermost)
                            nameEnd = pos + 2 + open.back().nameLength;
                        else
                            nameEnd = endTagNameEnd(s, pos, close);
                        endTag(pos, close + 1 - pos, pos + 2, nameEnd - pos - 2, innermost);
                        pos = close + 1;
                        continue;
                    }
                }
            }
            MarkupNode node = readMarkupNode(text, pos);
            switch (node.kind) {
                case NodeKind::StartTag:
                    startTag(node.start, node.length, node.nameStart, node.nameLength, node.selfClosing);
                    break;
                case NodeKind::EndTag:
                    endTag(node.start, node.length, node.nameStart, node.nameLength);
                    break;
                case NodeKind::Error:
                    rec(0).flagsDepth |= Malformed;
                    rec(parent).flagsDepth |= BadContent;
                    recordMessage(std::move(node.message));
                    break;
                default:
                    break;
            }
        }
        if (!open.empty()) {
            if (parseMessage_.empty()) {
                const OpenTag& inner = open.back();
                std::u16string m = u"Element '";
                m.append(text.substr(inner.nameStart, inner.nameLength));
                appendAscii(m, "' at offset ");
                appendNumber(m, rec(inner.element).start);
                appendAscii(m, " not ended");
                parseMessage_ = std::move(m);
            }
            closeUnclosed(open.data(), open.size(), 0);
        }
    }
    ElementRecord& doc = rec(0);
    doc.length = static_cast<std::uint32_t>(std::min<std::size_t>(text_.size(), UINT32_MAX));
    bool wellFormed = !(doc.flagsDepth & Malformed);
    if (!text.empty()) {
        if (doc.firstChild == 0) {
            parseMessage_ = u"No root element";
            wellFormed = false;
        } else if (rec(doc.firstChild).nextSibling != 0) {
            parseMessage_ = u"Root element has sibling";
            wellFormed = false;
        }
    } else {
        wellFormed = false;
    }
    diagnostics_ = loadMessages_;
    if (!loadMessages_.empty() && !parseMessage_.empty()) diagnostics_.push_back(u' ');
    diagnostics_ += parseMessage_;
    return wellFormed;
}

bool MarkupDoc::setText(std::u16string text) {
    text_ = std::move(text);
    loadMessages_.clear();
    docFlags_ = 0;
    return parseText();
}

// ---- navigation ----

std::u16string_view MarkupDoc::elementName(ElementIndex index) const {
    const std::u16string_view text(text_);
    std::size_t k = rec(index).start + 1;
    while (k < text.size() && isSpace(text[k])) ++k;
    std::size_t e = k;
    while (e < text.size() && !isNameDelimiter(text[e])) ++e;
    return text.substr(k, e - k);
}

bool MarkupDoc::nameMatches(ElementIndex index, std::u16string_view name) const {
    if (name.empty()) return true;
    // Compared while reading, so that most candidates fail at their first character.
    const std::u16string_view text(text_);
    std::size_t k = rec(index).start + 1;
    while (k < text.size() && isSpace(text[k])) ++k;
    if (text.size() - k < name.size()) return false;
    const bool fold = docFlags_ & doc_flag::IgnoreCase;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char16_t a = text[k + i], b = name[i];
        if (isNameDelimiter(a)) return false;
        if (fold) {
            if (a >= 'A' && a <= 'Z') a += 32;
            if (b >= 'A' && b <= 'Z') b += 32;
        }
        if (a != b) return false;
    }
    const std::size_t end = k + name.size();
    return end == text.size() || isNameDelimiter(text[end]);
}

void MarkupDoc::rewind() { parentPos_ = currentPos_ = childPos_ = 0; }

bool MarkupDoc::nextElement(std::u16string_view name) {
    ElementIndex candidate = currentPos_ ? rec(currentPos_).nextSibling : rec(parentPos_).firstChild;
    for (; candidate; candidate = rec(candidate).nextSibling) {
        if (nameMatches(candidate, name)) {
            currentPos_ = candidate;
            parentPos_ = rec(candidate).parent;
            childPos_ = 0;
            return true;
        }
    }
    return false;
}

bool MarkupDoc::nextChildElement(std::u16string_view name) {
    if (currentPos_ == 0 && !nextElement()) return false;
    ElementIndex candidate = childPos_ ? rec(childPos_).nextSibling : rec(currentPos_).firstChild;
    for (; candidate; candidate = rec(candidate).nextSibling) {
        if (nameMatches(candidate, name)) {
            childPos_ = candidate;
            currentPos_ = rec(candidate).parent;
            parentPos_ = rec(currentPos_).parent;
            return true;
        }
    }
    return false;
}

bool MarkupDoc::enterElement() {
    if (currentPos_ == 0) return false;
    parentPos_ = currentPos_;
    currentPos_ = childPos_;
    childPos_ = 0;
    return true;
}

// ---- element text ----

std::size_t MarkupDoc::startTagLength(ElementIndex index) const {
    const ElementRecord& r = rec(index);
    if (r.startTagLength() < ElementRecord::kStartTagMax) return r.startTagLength();
    std::size_t at = r.start;  // too long for its field: read it again
    return readMarkupNode(text_, at).length;
}

std::size_t MarkupDoc::contentEnd(ElementIndex index, std::size_t contentStart) const {
    const ElementRecord& r = rec(index);
    const std::size_t end = std::size_t(r.start) + r.length;
    if (r.endTagLength() < ElementRecord::kEndTagMax) return end - r.endTagLength();
    // End tag too long for its field: the element has no child elements here,
    // so its end tag is the node that ends where the element ends.
    const std::u16string_view text = std::u16string_view(text_).substr(0, end);
    std::size_t pos = contentStart;
    for (;;) {
        const std::size_t at = pos;
        const MarkupNode node = readMarkupNode(text, pos);
        if (node.kind == NodeKind::EndOfText) return end;
        if (node.kind == NodeKind::EndTag && pos == end) return at;
    }
}

std::u16string_view MarkupDoc::elementContent(ElementIndex index) const {
    if (index <= 0 || index >= freePos_) return {};
    const ElementRecord& r = rec(index);
    if (r.flagsDepth & Unclosed) return {};
    if (r.endTagLength() == 0) return {};
    const std::size_t begin = std::size_t(r.start) + startTagLength(index);
    const std::size_t end = contentEnd(index, begin);
    if (end <= begin) return {};
    return std::u16string_view(text_).substr(begin, end - begin);
}

std::u16string MarkupDoc::childText() const {
    if (childPos_ == 0 || rec(childPos_).firstChild != 0) return {};
    const std::u16string_view content = elementContent(childPos_);
    std::u16string out;
    if (content.empty()) return out;
    const char16_t* base = text_.data();
    const std::size_t offset = content.data() - base;
    if (findChar(base, offset, offset + content.size(), '<') == offset + content.size())
        return decodeEntities(content);
    const std::u16string_view bounded = std::u16string_view(text_).substr(0, offset + content.size());
    std::size_t pos = offset;
    for (;;) {
        const MarkupNode node = readMarkupNode(bounded, pos);
        if (node.kind == NodeKind::EndOfText) break;
        if (node.kind == NodeKind::Text) {
            appendDecodedEntities(bounded.substr(node.start, node.length), out);
        } else if (node.kind == NodeKind::CData) {
            const std::size_t begin = std::min(node.start + 9, node.start + node.length - 3);
            out.append(bounded.substr(begin, node.start + node.length - 3 - begin));
        }
    }
    return out;
}

}  // namespace mv
