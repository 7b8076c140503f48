// Structural checks of a MarkupDoc's element index and of the tokenizer.
#pragma once

#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "i18n/markup_doc.h"

namespace mv::fuzz {

// Every node lies inside the text, starts where the last one ended and is not empty.
inline void checkTokenizer(std::u16string_view text) {
    std::size_t pos = 0;
    for (;;) {
        const std::size_t before = pos;
        const MarkupNode node = readMarkupNode(text, pos);
        if (node.kind == NodeKind::EndOfText) {
            FUZZ_CHECK(before == text.size());
            return;
        }
        FUZZ_CHECK(node.start == before);
        FUZZ_CHECK(node.length > 0);
        FUZZ_CHECK(pos == node.start + node.length);
        FUZZ_CHECK(pos <= text.size());
        if (node.kind == NodeKind::StartTag || node.kind == NodeKind::EndTag)
            FUZZ_CHECK(node.nameStart + node.nameLength <= pos);
    }
}

// The index is one tree over records 1 .. freePos - 1: links in range, parents
// and sibling links consistent, children in document order inside their parent.
inline void checkIndex(const MarkupDoc& doc) {
    using namespace element_flag;
    const std::size_t n = doc.text().size();
    const ElementIndex free = doc.freePos();
    FUZZ_CHECK(free >= 1);
    FUZZ_CHECK(static_cast<std::size_t>(free) <= doc.capacityRecords());
    FUZZ_CHECK(doc.record(0).length == n);
    auto valid = [&](ElementIndex i) { return i > 0 && i < free; };

    std::vector<ElementIndex> stack{0};
    std::size_t seen = 0;
    while (!stack.empty()) {
        const ElementIndex parent = stack.back();
        stack.pop_back();
        const ElementRecord& p = doc.record(parent);
        const ElementIndex first = p.firstChild;
        if (!first) continue;
        FUZZ_CHECK(valid(first));
        FUZZ_CHECK(doc.record(first).flagsDepth & FirstChild);
        ElementIndex previous = 0;
        std::size_t minStart = parent ? p.start + 1 : 0;
        for (ElementIndex c = first; c; c = doc.record(c).nextSibling) {
            FUZZ_CHECK(valid(c));
            FUZZ_CHECK(++seen < static_cast<std::size_t>(free));  // no cycles
            const ElementRecord& r = doc.record(c);
            FUZZ_CHECK(r.parent == parent);
            if (previous) {
                FUZZ_CHECK(r.prevSibling == previous);
                FUZZ_CHECK(!(r.flagsDepth & FirstChild));
            }
            FUZZ_CHECK(r.start >= minStart);
            FUZZ_CHECK(r.start < n && doc.text()[r.start] == u'<');
            FUZZ_CHECK(std::size_t(r.start) + r.length <= n);
            if (parent && !(p.flagsDepth & Unclosed))
                FUZZ_CHECK(std::size_t(r.start) + r.length <= std::size_t(p.start) + p.length);
            if (r.flagsDepth & Unclosed) {
                FUZZ_CHECK(r.endTagLength() == 0);
                FUZZ_CHECK(r.firstChild == 0);
            }
            FUZZ_CHECK(r.startTagLength() <= r.length);
            minStart = std::size_t(r.start) + r.length;
            previous = c;
            stack.push_back(c);
        }
        FUZZ_CHECK(doc.record(first).prevSibling == previous);
    }
    FUZZ_CHECK(seen == static_cast<std::size_t>(free) - 1);
}

}  // namespace mv::fuzz
