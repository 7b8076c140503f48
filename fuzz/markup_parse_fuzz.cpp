// The markup reader on arbitrary text, then a navigation script taken from the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "markup_invariants.h"

using namespace mv;
using namespace mv::fuzz;

namespace {

// The text: either the bytes widened one by one (markup is mostly ASCII) or UTF-16LE units.
std::u16string takeText(FuzzedDataProvider& in, bool wide) {
    std::u16string text;
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    if (wide) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                                 static_cast<unsigned char>(bytes[i + 1]) << 8));
    } else {
        for (char c : bytes) text.push_back(static_cast<unsigned char>(c));
    }
    return text;
}

void checkPositions(const MarkupDoc& doc) {
    const ElementIndex free = doc.freePos();
    FUZZ_CHECK(doc.parentPos() >= 0 && doc.parentPos() < free);
    FUZZ_CHECK(doc.currentPos() >= 0 && doc.currentPos() < free);
    FUZZ_CHECK(doc.childPos() >= 0 && doc.childPos() < free);
    if (doc.childPos()) FUZZ_CHECK(doc.record(doc.childPos()).parent == doc.currentPos());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const bool wide = in.ConsumeBool();
    const std::string script = in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, 48));
    const std::u16string text = takeText(in, wide);

    checkTokenizer(text);
    MarkupDoc doc;
    const bool wellFormed = doc.setText(text);
    checkIndex(doc);
    if (wellFormed) {
        FUZZ_CHECK(doc.record(0).firstChild != 0);
        FUZZ_CHECK(doc.record(doc.record(0).firstChild).nextSibling == 0);
    }
    FUZZ_CHECK(doc.parentPos() == 0 && doc.currentPos() == 0 && doc.childPos() == 0);

    const ElementIndex free = doc.freePos();
    for (unsigned char op : script) {
        // Names to search for: any element, or the name of one chosen element.
        std::u16string name;
        if ((op & 0x08) && free > 1) name = std::u16string(doc.elementName(1 + (op >> 4) % (free - 1)));
        switch (op & 0x07) {
            case 0: doc.rewind(); break;
            case 1: {
                const ElementIndex before = doc.currentPos();
                if (doc.nextElement(name)) FUZZ_CHECK(doc.childPos() == 0 && doc.currentPos() != before);
                break;
            }
            case 2: doc.nextChildElement(name); break;
            case 3: doc.enterElement(); break;
            default: {
                const std::u16string t = doc.childText();
                if (doc.childPos()) FUZZ_CHECK(t.size() <= doc.elementContent(doc.childPos()).size());
                else FUZZ_CHECK(t.empty());
                break;
            }
        }
        checkPositions(doc);
    }

    // A walk of the root's subtree with the navigation calls alone reaches
    // every element of it once (kept to inputs where the repeated descents stay cheap).
    if (free > 2048) return 0;
    std::size_t expected = 0;
    if (const ElementIndex root = doc.record(0).firstChild) {
        std::vector<ElementIndex> todo{root};
        while (!todo.empty()) {
            const ElementIndex e = todo.back();
            todo.pop_back();
            ++expected;
            for (ElementIndex c = doc.record(e).firstChild; c; c = doc.record(c).nextSibling) todo.push_back(c);
        }
    }
    doc.rewind();
    std::size_t reached = 0;
    std::vector<ElementIndex> pending;
    if (doc.nextElement()) ++reached;
    while (reached) {
        while (doc.nextChildElement()) {
            ++reached;
            FUZZ_CHECK(reached <= expected);
            (void)doc.childText();
            pending.push_back(doc.childPos());
        }
        if (pending.empty()) break;
        // Make the next pending element current by descending from the root.
        const ElementIndex next = pending.back();
        pending.pop_back();
        std::vector<ElementIndex> chain;
        for (ElementIndex e = next; e; e = doc.record(e).parent) chain.push_back(e);
        doc.rewind();
        FUZZ_CHECK(doc.nextElement() && doc.currentPos() == chain.back());
        for (std::size_t k = chain.size() - 1; k > 0; --k) {
            while (doc.nextChildElement() && doc.childPos() != chain[k - 1]) {
            }
            FUZZ_CHECK(doc.childPos() == chain[k - 1]);
            FUZZ_CHECK(doc.enterElement() && doc.currentPos() == chain[k - 1]);
        }
    }
    FUZZ_CHECK(reached == expected);
    return 0;
}
