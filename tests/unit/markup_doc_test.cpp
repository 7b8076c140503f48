#include <gtest/gtest.h>

#include <string>

#include "i18n/markup_doc.h"

namespace mv {
namespace {

using namespace element_flag;

std::string narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

// The text of the only child of the root.
std::u16string rootChildText(const std::u16string& xml) {
    MarkupDoc doc;
    doc.setText(u"<r>" + xml + u"</r>");
    doc.rewind();
    EXPECT_TRUE(doc.nextChildElement());
    return doc.childText();
}

TEST(MarkupTokenizer, NodeKindsAndExtents) {
    const std::u16string text =
        u"<?xml v='1'?><!DOCTYPE r [<!ENTITY a \"x>y\"><!-- > --><?p >?>]>  <r a=\"1>\"/>t<!-- c --><![CDATA[<x>]]></r>";
    std::size_t pos = 0;
    std::vector<std::pair<NodeKind, std::string>> nodes;
    for (;;) {
        const MarkupNode n = readMarkupNode(text, pos);
        if (n.kind == NodeKind::EndOfText) break;
        nodes.emplace_back(n.kind, narrow(std::u16string_view(text).substr(n.start, n.length)));
    }
    ASSERT_EQ(nodes.size(), 8u);
    EXPECT_EQ(nodes[0], std::make_pair(NodeKind::ProcessingInstruction, std::string("<?xml v='1'?>")));
    EXPECT_EQ(nodes[1].first, NodeKind::DocType);
    EXPECT_EQ(nodes[1].second, "<!DOCTYPE r [<!ENTITY a \"x>y\"><!-- > --><?p >?>]>");
    EXPECT_EQ(nodes[2], std::make_pair(NodeKind::WhiteSpace, std::string("  ")));
    EXPECT_EQ(nodes[3], std::make_pair(NodeKind::StartTag, std::string("<r a=\"1>\"/>")));
    EXPECT_EQ(nodes[4], std::make_pair(NodeKind::Text, std::string("t")));
    EXPECT_EQ(nodes[5], std::make_pair(NodeKind::Comment, std::string("<!-- c -->")));
    EXPECT_EQ(nodes[6], std::make_pair(NodeKind::CData, std::string("<![CDATA[<x>]]>")));
    EXPECT_EQ(nodes[7], std::make_pair(NodeKind::EndTag, std::string("</r>")));
}

TEST(MarkupTokenizer, SelfClosingRule) {
    auto selfClosing = [](const std::u16string& tag) {
        std::size_t pos = 0;
        const MarkupNode n = readMarkupNode(tag, pos);
        EXPECT_EQ(n.kind, NodeKind::StartTag) << narrow(tag);
        return n.selfClosing;
    };
    EXPECT_TRUE(selfClosing(u"<a/>"));
    EXPECT_TRUE(selfClosing(u"<a />"));
    EXPECT_TRUE(selfClosing(u"<a x='x'/>"));
    EXPECT_FALSE(selfClosing(u"<a x=x/>"));
    EXPECT_FALSE(selfClosing(u"<a>"));
    // A quote not after "=" opens no value.
    std::size_t pos = 0;
    EXPECT_EQ(readMarkupNode(u"<a b\"c>d\">", pos).length, 7u);
}

TEST(MarkupTokenizer, QuotedValuesOnlyAfterEquals) {
    // Start tag lengths, read alone and as the parse indexes them.
    auto tagLength = [](const std::u16string& tag) {
        std::size_t pos = 0;
        const std::size_t alone = readMarkupNode(tag, pos).length;
        MarkupDoc doc;
        doc.setText(tag + u"</a>");
        EXPECT_EQ(doc.record(1).startTagLength(), alone) << narrow(tag);
        return alone;
    };
    EXPECT_EQ(tagLength(u"<a b=\"x>y\">"), 11u);
    EXPECT_EQ(tagLength(u"<a b = \t'x>y'>"), 14u);
    EXPECT_EQ(tagLength(u"<a b=\"x\"c='>'>"), 14u);  // a closed value, then another
    EXPECT_EQ(tagLength(u"<a b=x\"y>\">"), 9u);      // the quote follows a value, not "="
    EXPECT_EQ(tagLength(u"<a= \"x>y\">"), 7u);       // that "=" belongs to the name
    EXPECT_EQ(tagLength(u"<a\tb\n=\r\">\">"), 11u);
}

TEST(MarkupTokenizer, ErrorMessages) {
    auto message = [](const std::u16string& text) {
        std::size_t pos = 0;
        const MarkupNode n = readMarkupNode(text, pos);
        EXPECT_EQ(n.kind, NodeKind::Error);
        EXPECT_EQ(pos, n.start + n.length);
        return narrow(n.message);
    };
    EXPECT_EQ(message(u"<1>"), "Incorrect tag name character at offset 0");
    EXPECT_EQ(message(u"<!-x>"), "Incorrect comment tag at offset 0");
    EXPECT_EQ(message(u"<![X>"), "Incorrect tag at offset 0");
    EXPECT_EQ(message(u"<!X>"), "Incorrect ! tag at offset 0");
    EXPECT_EQ(message(u"<a b='"), "Element tag at offset 0 unterminated");
    EXPECT_EQ(message(u"</a"), "Element end tag at offset 0 unterminated");
    EXPECT_EQ(message(u"<![CDATA[x]>"), "CDATA Section at offset 0 unterminated");
    EXPECT_EQ(message(u"<?x ?"), "Processing instruction at offset 0 unterminated");
    EXPECT_EQ(message(u"<!-->"), "Comment at offset 0 unterminated");
    EXPECT_EQ(message(u"<!DOCTYPE [<!ENTITY x '>"), "Doctype at offset 0 unterminated");
    EXPECT_EQ(message(u"<"), "tag at offset 0 unterminated");
    // An error node stops before the next "<".
    std::size_t pos = 0;
    EXPECT_EQ(readMarkupNode(u"< x<a>", pos).length, 3u);
}

TEST(MarkupParse, MismatchedEndTagClosesInnerAsUnclosed) {
    MarkupDoc doc;
    EXPECT_FALSE(doc.setText(u"<a><b></a>"));
    EXPECT_EQ(narrow(doc.diagnostics()), "End tag 'a' at offset 7 does not match start tag 'b' at offset 3");
    const ElementRecord& a = doc.record(1);
    const ElementRecord& b = doc.record(2);
    EXPECT_EQ(a.length, 10u);
    EXPECT_EQ(a.endTagLength(), 4u);
    EXPECT_EQ(b.length, 3u);
    EXPECT_TRUE(b.flagsDepth & Unclosed);
    EXPECT_TRUE(doc.record(0).flagsDepth & Malformed);
}

TEST(MarkupParse, UnclosedChildrenBecomeFollowingSiblings) {
    MarkupDoc doc;
    // b and c are unclosed: c and d follow b under a, in document order.
    doc.setText(u"<a><b><x/><c><y/></a>");
    auto name = [&](ElementIndex i) { return narrow(doc.elementName(i)); };
    std::vector<std::string> children;
    for (ElementIndex i = doc.record(1).firstChild; i; i = doc.record(i).nextSibling) {
        children.push_back(name(i));
        EXPECT_EQ(doc.record(i).parent, 1);
        EXPECT_EQ(doc.record(i).firstChild, 0);
    }
    EXPECT_EQ(children, (std::vector<std::string>{"b", "x", "c", "y"}));
    const ElementIndex first = doc.record(1).firstChild;
    EXPECT_TRUE(doc.record(first).flagsDepth & FirstChild);
    EXPECT_EQ(name(doc.record(first).prevSibling), "y");  // last child
    EXPECT_EQ(doc.record(doc.record(first).nextSibling).flagsDepth & FirstChild, 0u);
}

TEST(MarkupParse, SelfClosingSiblingAndStrayEndTag) {
    MarkupDoc doc;
    doc.setText(u"<a><b></b><c/></a>");
    EXPECT_EQ(narrow(doc.elementName(doc.record(2).nextSibling)), "c");
    EXPECT_EQ(doc.record(3).length, 4u);

    EXPECT_FALSE(doc.setText(u"<a></b></a>"));
    EXPECT_EQ(narrow(doc.diagnostics()), "No start tag for end tag 'b' at offset 3");
    EXPECT_EQ(doc.record(1).length, 11u);
    EXPECT_TRUE(doc.record(1).flagsDepth & BadContent);
    EXPECT_FALSE(doc.record(1).flagsDepth & Unclosed);
}

TEST(MarkupParse, DocumentLevelMessages) {
    MarkupDoc doc;
    EXPECT_EQ(narrow(doc.diagnostics()), "Empty document");
    EXPECT_FALSE(doc.setText(u"<a>"));
    EXPECT_EQ(narrow(doc.diagnostics()), "Element 'a' at offset 0 not ended");
    EXPECT_FALSE(doc.setText(u"<a/><b/>"));
    EXPECT_EQ(narrow(doc.diagnostics()), "Root element has sibling");
    EXPECT_FALSE(doc.setText(u"x"));
    EXPECT_EQ(narrow(doc.diagnostics()), "No root element");
    EXPECT_FALSE(doc.setText(u""));
    EXPECT_EQ(narrow(doc.diagnostics()), "Empty document");
    EXPECT_EQ(doc.freePos(), 1);
    EXPECT_TRUE(doc.setText(u"<?xml version='1.0'?>\n<!-- c --><a x='1'>t</a>\n"));
    EXPECT_EQ(narrow(doc.diagnostics()), "");
    // Only the first message counts.
    doc.setText(u"<a><1></b></a>");
    EXPECT_EQ(narrow(doc.diagnostics()), "Incorrect tag name character at offset 3");
}

TEST(MarkupParse, DeepUnclosedNestingStaysLinear) {
    std::u16string text;
    for (int i = 0; i < 200000; ++i) text += u"<a>";
    MarkupDoc doc;
    doc.setText(text);
    EXPECT_EQ(doc.freePos(), 200001);
    // All end up as top-level siblings in document order.
    int count = 0;
    ElementIndex prev = 0;
    for (ElementIndex i = doc.record(0).firstChild; i; i = doc.record(i).nextSibling, ++count) {
        EXPECT_EQ(doc.record(i).parent, 0);
        EXPECT_GT(i, prev);
        prev = i;
    }
    EXPECT_EQ(count, 200000);
    EXPECT_EQ(narrow(doc.diagnostics()), "Root element has sibling");
}

TEST(MarkupStore, GrowsBySegmentsWithinLimits) {
    std::u16string text = u"<r>";
    for (int i = 0; i < 200000; ++i) text += u"<e/>";
    text += u"</r>";
    MarkupDoc doc;
    EXPECT_TRUE(doc.setText(text));
    EXPECT_EQ(doc.freePos(), 200002);
    EXPECT_GE(doc.capacityRecords(), 200002u);
    EXPECT_LE(doc.capacityRecords(), 200002u * 3 / 2 + kSegmentRecords);
    for (std::size_t s = 0; s + 1 < doc.segmentCount(); ++s) EXPECT_EQ(doc.segmentRecords(s), kSegmentRecords);
    EXPECT_EQ(doc.segmentCount(), 4u);
    EXPECT_GE(doc.segmentTableCapacity(), doc.segmentCount());
    // Records across segment boundaries stay linked.
    int count = 0;
    for (ElementIndex i = doc.record(1).firstChild; i; i = doc.record(i).nextSibling) ++count;
    EXPECT_EQ(count, 200000);
    EXPECT_EQ(doc.record(200001).start, 3u + 4u * 199999u);
}

TEST(MarkupNavigation, PositionsMoveAsDescribed) {
    MarkupDoc doc;
    doc.setText(u"<root><a/><b><c/><d/></b><a/></root>");
    EXPECT_TRUE(doc.nextElement());
    EXPECT_EQ(doc.currentPos(), 1);
    EXPECT_FALSE(doc.nextElement(u"root"));  // no sibling
    EXPECT_EQ(doc.currentPos(), 1);
    EXPECT_TRUE(doc.nextChildElement(u"a"));
    EXPECT_EQ(doc.childPos(), 2);
    EXPECT_TRUE(doc.nextChildElement(u"a"));
    EXPECT_EQ(doc.childPos(), 6);
    EXPECT_FALSE(doc.nextChildElement(u"a"));
    EXPECT_EQ(doc.childPos(), 6);
    doc.rewind();
    EXPECT_TRUE(doc.nextChildElement(u"b"));
    EXPECT_TRUE(doc.enterElement());
    EXPECT_EQ(doc.parentPos(), 1);
    EXPECT_EQ(doc.currentPos(), 3);
    EXPECT_EQ(doc.childPos(), 0);
    EXPECT_TRUE(doc.nextChildElement(u"d"));
    EXPECT_EQ(narrow(doc.elementName(doc.childPos())), "d");
    EXPECT_TRUE(doc.nextElement(u"a"));  // sibling of b
    EXPECT_EQ(doc.currentPos(), 6);
    EXPECT_EQ(doc.parentPos(), 1);
    doc.rewind();
    EXPECT_FALSE(doc.enterElement());
    EXPECT_FALSE(doc.nextChildElement(u"A"));  // names are case-sensitive
}

TEST(MarkupNavigation, NameSearchReadsTheWholeName) {
    MarkupDoc doc;
    // Names end at blanks, "/", ">" and the other delimiters; a longer name or
    // a prefix is another name.
    doc.setText(u"<r><tc_exit2>x</tc_exit2><tc_exi/><tc_exit a=\"1\">y</tc_exit><k;z/><p>w</p></r>");
    EXPECT_TRUE(doc.nextChildElement(u"tc_exit"));
    EXPECT_EQ(doc.childText(), u"y");
    doc.rewind();
    EXPECT_TRUE(doc.nextChildElement(u"tc_exi"));
    EXPECT_EQ(doc.record(doc.childPos()).start, 25u);
    doc.rewind();
    EXPECT_TRUE(doc.nextChildElement(u"k"));  // ";" ends a name in the search
    doc.rewind();
    EXPECT_FALSE(doc.nextChildElement(u"k;z"));
    doc.rewind();
    EXPECT_FALSE(doc.nextChildElement(u"p>w"));
    EXPECT_FALSE(doc.nextChildElement(u"tc_exit2>"));
    EXPECT_TRUE(doc.nextChildElement(u"p"));
    EXPECT_EQ(doc.childText(), u"w");
}

TEST(MarkupChildText, ContentRules) {
    EXPECT_EQ(rootChildText(u"<k>1 &lt; 2</k>"), u"1 < 2");
    EXPECT_EQ(rootChildText(u"<k>&#65;&#x41;&#X41;</k>"), u"AAA");
    EXPECT_EQ(rootChildText(u"<k>&#0;&bogus;</k>"), u"&#0;&bogus;");
    EXPECT_EQ(rootChildText(u"<k> <!-- c --> <![CDATA[<x>]]> </k>"), u"<x>");
    EXPECT_EQ(rootChildText(u"<k>  </k>"), u"  ");
    EXPECT_EQ(rootChildText(u"<k> word </k>"), u" word ");
    EXPECT_EQ(rootChildText(u"<k>A &amp; B</k>"), u"A & B");
    EXPECT_EQ(rootChildText(u"<k><![CDATA[A & B]]></k>"), u"A & B");
    EXPECT_EQ(rootChildText(u"<k>a<?p?>b&amp;<!--x-->c</k>"), u"ab&c");
    EXPECT_EQ(rootChildText(u"<k>t<i/>u</k>"), u"");
    EXPECT_EQ(rootChildText(u"<k/>"), u"");
    EXPECT_EQ(rootChildText(u"<k></k>"), u"");
    EXPECT_EQ(rootChildText(u"<k>\n\tx\r\n</k>"), u"\n\tx\r\n");
}

TEST(MarkupChildText, LongEndTagIsFoundAgain) {
    const std::u16string pad(1500, u' ');
    EXPECT_EQ(rootChildText(u"<k>x&amp;y</k" + pad + u">"), u"x&y");
    EXPECT_EQ(rootChildText(u"<k>a<!--c-->b</k" + pad + u">"), u"ab");
}

TEST(Entities, TableAndCaseRule) {
    EXPECT_EQ(decodeEntities(u"&apos;&quot;&nbsp;&euro;&hearts;"), u"'\"\u00A0\u20AC\u2665");
    // Exact spellings keep their own characters.
    EXPECT_EQ(decodeEntities(u"&eacute;&Eacute;&dagger;&Dagger;"), u"\u00E9\u00C9\u2020\u2021");
    // Other spellings fold case, preferring the capitalised name.
    EXPECT_EQ(decodeEntities(u"&AMP;&EACUTE;&DAGGER;"), u"&\u00C9\u2021");
    EXPECT_EQ(decodeEntities(u"&thetasym;&alefsym;"), u"\u03D1\u2135");
    EXPECT_EQ(entityCodePoint(u"lArr"), 0x21D0u);
    EXPECT_EQ(entityCodePoint(u"larr"), 0x2190u);
    EXPECT_EQ(entityCodePoint(u"nosuch"), 0u);
}

TEST(Entities, NumericReferencesAndLimits) {
    EXPECT_EQ(decodeEntities(u"&#x1F600;"), u"\U0001F600");
    EXPECT_EQ(decodeEntities(u"&#65x;"), u"A");  // digits up to the first non-digit
    EXPECT_EQ(decodeEntities(u"&#x110000;&#xD800;&#99999999;"), u"&#x110000;&#xD800;&#99999999;");
    EXPECT_EQ(decodeEntities(u"&#00000065;"), u"A");  // nine characters
    EXPECT_EQ(decodeEntities(u"&#000000065;"), u"&#000000065;");  // ten
    EXPECT_EQ(decodeEntities(u"&amp"), u"&amp");
    EXPECT_EQ(decodeEntities(u"&am\u00E9;&;&&amp;"), u"&am\u00E9;&;&&");
    EXPECT_EQ(decodeEntities(u"a&lt;b&gt;c"), u"a<b>c");
}

}  // namespace
}  // namespace mv
