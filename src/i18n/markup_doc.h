// MarkupDoc: a tolerant one-pass element index over a UTF-16 XML (or loose
// HTML) text, with sibling/child navigation and on-demand element text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mv {

// Upper 16 bits select a segment of the element store, lower 16 bits a record in it.
using ElementIndex = std::int32_t;

inline constexpr std::uint32_t kSegmentRecords = 65536;

struct ElementRecord {
    std::uint32_t start = 0;       // offset of the "<" of the start tag
    std::uint32_t length = 0;      // through the end tag's ">", or the start tag alone
    std::uint32_t tagLengths = 0;  // low 22 bits start tag length, high 10 bits end tag length
    std::uint32_t flagsDepth = 0;  // low 16 bits depth, flags above
    ElementIndex parent = 0;
    ElementIndex firstChild = 0;
    ElementIndex nextSibling = 0;
    ElementIndex prevSibling = 0;  // for a first child: the last child of the parent

    std::uint32_t startTagLength() const { return tagLengths & kStartTagMax; }
    std::uint32_t endTagLength() const { return tagLengths >> 22; }
    std::uint32_t depth() const { return flagsDepth & 0xFFFFu; }

    static constexpr std::uint32_t kStartTagMax = (1u << 22) - 1;
    static constexpr std::uint32_t kEndTagMax = (1u << 10) - 1;
};
static_assert(sizeof(ElementRecord) == 32);

namespace element_flag {
inline constexpr std::uint32_t FirstChild = 1u << 16;
inline constexpr std::uint32_t Unclosed = 1u << 17;
inline constexpr std::uint32_t BadContent = 1u << 18;
inline constexpr std::uint32_t Malformed = 1u << 19;  // record 0 only
}  // namespace element_flag

namespace doc_flag {
inline constexpr std::uint32_t Utf16LeBom = 1u << 0;
inline constexpr std::uint32_t Utf8Bom = 1u << 1;
inline constexpr std::uint32_t Utf16BeBom = 1u << 2;
inline constexpr std::uint32_t IgnoreCase = 1u << 3;
}  // namespace doc_flag

enum class NodeKind : int {
    EndOfText = -2,
    Error = -1,
    EndTag = 0,
    StartTag = 1,
    Text = 2,
    WhiteSpace = 4,
    CData = 8,
    ProcessingInstruction = 16,
    Comment = 32,
    DocType = 64,
};

struct MarkupNode {
    NodeKind kind = NodeKind::EndOfText;
    std::size_t start = 0;
    std::size_t length = 0;
    bool selfClosing = false;
    std::size_t nameStart = 0;  // element name of a start or end tag, as a span of the text
    std::size_t nameLength = 0;
    std::u16string message;  // error nodes only
};

// Reads the node at `pos` of `text` and moves `pos` past it. `text` may be a
// prefix of a document: nothing at or beyond its end is looked at.
MarkupNode readMarkupNode(std::u16string_view text, std::size_t& pos);

// Decodes character and entity references; anything not a reference stays as written.
std::u16string decodeEntities(std::u16string_view text);
void appendDecodedEntities(std::u16string_view text, std::u16string& out);

// Code point of a named entity (exact spelling first, then without regard to
// ASCII case); 0 when unknown.
std::uint32_t entityCodePoint(std::u16string_view name);

class MarkupDoc {
public:
    MarkupDoc();
    ~MarkupDoc();
    MarkupDoc(const MarkupDoc&) = delete;
    MarkupDoc& operator=(const MarkupDoc&) = delete;

    // Loads and parses a file (encodings as in markup_file.cpp); false when it
    // could not be opened or read.
    bool loadFile(const std::u16string& path);
    // Replaces the text (no load messages) and parses it.
    bool setText(std::u16string text);
    // Builds the index of the current text; true when it is well-formed.
    bool parseText();

    void rewind();
    bool nextElement(std::u16string_view name = {});
    bool nextChildElement(std::u16string_view name = {});
    bool enterElement();
    std::u16string childText() const;

    const std::u16string& text() const { return text_; }
    const std::u16string& diagnostics() const { return diagnostics_; }
    std::uint32_t docFlags() const { return docFlags_; }

    ElementIndex parentPos() const { return parentPos_; }
    ElementIndex currentPos() const { return currentPos_; }
    ElementIndex childPos() const { return childPos_; }
    ElementIndex freePos() const { return freePos_; }
    const ElementRecord& record(ElementIndex index) const { return rec(index); }
    // Name of an element as the name search reads it.
    std::u16string_view elementName(ElementIndex index) const;
    // Content of an element between its tags (empty when it has none).
    std::u16string_view elementContent(ElementIndex index) const;

    std::size_t capacityRecords() const { return capacity_; }
    std::size_t segmentCount() const { return segmentCount_; }
    std::size_t segmentTableCapacity() const { return segmentTableCapacity_; }
    std::size_t segmentRecords(std::size_t segment) const { return segmentSizes_[segment]; }
    // Bytes held by the element store and its segment table.
    std::size_t indexBytes() const;

private:
    struct OpenTag {
        ElementIndex element;
        std::uint32_t nameStart;
        std::uint32_t nameLength;
        ElementIndex parentFirst;  // first child of the element's parent
    };

    ElementRecord& rec(ElementIndex index) const {
        return segments_[static_cast<std::uint32_t>(index) >> 16][index & 0xFFFF];
    }
    void releaseStore();
    void reserveRecords(std::size_t wanted);
    ElementIndex newRecord();
    void recordMessage(std::u16string message);
    void closeUnclosed(const OpenTag* tags, std::size_t count, ElementIndex parent);
    bool nameMatches(ElementIndex index, std::u16string_view name) const;
    std::size_t contentEnd(ElementIndex index, std::size_t contentStart) const;
    std::size_t startTagLength(ElementIndex index) const;

    std::u16string text_;
    std::u16string loadMessages_;
    std::u16string parseMessage_;
    std::u16string diagnostics_;
    std::uint32_t docFlags_ = 0;
    ElementIndex parentPos_ = 0;
    ElementIndex currentPos_ = 0;
    ElementIndex childPos_ = 0;
    ElementIndex freePos_ = 1;

    std::unique_ptr<std::unique_ptr<ElementRecord[]>[]> segments_;
    std::unique_ptr<std::uint32_t[]> segmentSizes_;
    std::size_t segmentCount_ = 0;
    std::size_t segmentTableCapacity_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace mv
