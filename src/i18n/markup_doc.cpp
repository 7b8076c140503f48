// Tokenizer, one-pass element index and navigation of MarkupDoc.
#include "i18n/markup_doc.h"

#include <algorithm>
#include <cstring>
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

std::size_t findChar(const char16_t* s, std::size_t from, std::size_t end, char16_t c) {
    const char16_t* p = s + from;
    const char16_t* e = s + end;
    while (e - p >= 4) {
        if (p[0] == c) return p - s;
        if (p[1] == c) return p + 1 - s;
        if (p[2] == c) return p + 2 - s;
        if (p[3] == c) return p + 3 - s;
        p += 4;
    }
    for (; p < e; ++p)
        if (*p == c) return p - s;
    return end;
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

void readStartTag(MarkupNode& node, const char16_t* s, std::size_t n) {
    const std::size_t pos = node.start;
    std::size_t k = pos + 1;
    while (k < n) {
        const char16_t c = s[k];
        if (isSpace(c) || c == '/' || c == '>') break;
        ++k;
    }
    const std::size_t nameEnd = k;
    node.nameStart = pos + 1;
    node.nameLength = nameEnd - node.nameStart;
    bool afterEquals = false;
    for (; k < n; ++k) {
        const char16_t c = s[k];
        if (c == '>') {
            node.kind = NodeKind::StartTag;
            node.length = k + 1 - pos;
            if (s[k - 1] == '/' && k - 1 >= nameEnd) {
                const std::size_t slash = k - 1;
                const char16_t before = s[slash - 1];
                node.selfClosing = slash == nameEnd || isSpace(before) || before == '"' || before == '\'';
            }
            return;
        }
        if ((c == '"' || c == '\'') && afterEquals) {
            const std::size_t close = findChar(s, k + 1, n, c);
            if (close >= n) break;
            k = close;
            afterEquals = false;
        } else if (c == '=') {
            afterEquals = true;
        } else if (!isSpace(c)) {
            afterEquals = false;
        }
    }
    makeUnterminated(node, n, "Element tag");
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
                std::size_t k = pos + 2;
                while (k < close && !isSpace(s[k]) && s[k] != '/') ++k;
                node.nameStart = pos + 2;
                node.nameLength = k - node.nameStart;
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
        auto grown = std::make_unique<ElementRecord[]>(records);
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
        std::size_t pos = 0;
        for (;;) {
            MarkupNode node = readMarkupNode(text, pos);
            if (node.kind == NodeKind::EndOfText) break;
            switch (node.kind) {
                case NodeKind::StartTag: {
                    const ElementIndex index = newRecord();
                    ElementRecord& r = rec(index);
                    r.start = static_cast<std::uint32_t>(node.start);
                    const std::size_t tagLength = std::min<std::size_t>(node.length, ElementRecord::kStartTagMax);
                    r.tagLengths = static_cast<std::uint32_t>(tagLength);
                    r.length = static_cast<std::uint32_t>(node.length);
                    r.flagsDepth = static_cast<std::uint32_t>(std::min<std::size_t>(open.size(), 0xFFFF));
                    r.parent = parent;
                    ElementRecord& p = rec(parent);
                    if (p.firstChild == 0) {
                        p.firstChild = index;
                        r.prevSibling = index;
                        r.flagsDepth |= FirstChild;
                    } else {
                        ElementRecord& first = rec(p.firstChild);
                        const ElementIndex last = first.prevSibling;
                        rec(last).nextSibling = index;
                        r.prevSibling = last;
                        first.prevSibling = index;
                    }
                    if (!node.selfClosing) {
                        if (open.size() == open.capacity()) open.reserve(open.capacity() * 2 + 6);
                        open.push_back({index, static_cast<std::uint32_t>(node.nameStart),
                                        static_cast<std::uint32_t>(node.nameLength)});
                        parent = index;
                    }
                    break;
                }
                case NodeKind::EndTag: {
                    const std::u16string_view name = text.substr(node.nameStart, node.nameLength);
                    std::size_t k = open.size();
                    while (k > 0) {
                        const OpenTag& t = open[k - 1];
                        if (t.nameLength == name.size() &&
                            std::equal(name.begin(), name.end(), text.begin() + t.nameStart))
                            break;
                        --k;
                    }
                    if (k == 0) {
                        rec(0).flagsDepth |= Malformed;
                        rec(parent).flagsDepth |= BadContent;
                        if (parseMessage_.empty()) {
                            std::u16string m = u"No start tag for end tag '";
                            m.append(name);
                            appendAscii(m, "' at offset ");
                            appendNumber(m, node.start);
                            parseMessage_ = std::move(m);
                        }
                        break;
                    }
                    const std::size_t matched = k - 1;
                    if (matched + 1 < open.size()) {
                        if (parseMessage_.empty()) {
                            const OpenTag& inner = open.back();
                            std::u16string m = u"End tag '";
                            m.append(name);
                            appendAscii(m, "' at offset ");
                            appendNumber(m, node.start + 1);
                            appendAscii(m, " does not match start tag '");
                            m.append(text.substr(inner.nameStart, inner.nameLength));
                            appendAscii(m, "' at offset ");
                            appendNumber(m, rec(inner.element).start);
                            parseMessage_ = std::move(m);
                        }
                        closeUnclosed(open.data() + matched + 1, open.size() - matched - 1, open[matched].element);
                    }
                    ElementRecord& r = rec(open[matched].element);
                    r.length = static_cast<std::uint32_t>(node.start + node.length - r.start);
                    const std::size_t endLength = std::min<std::size_t>(node.length, ElementRecord::kEndTagMax);
                    r.tagLengths = (r.tagLengths & ElementRecord::kStartTagMax) |
                                   static_cast<std::uint32_t>(endLength << 22);
                    parent = r.parent;
                    open.resize(matched);
                    break;
                }
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
