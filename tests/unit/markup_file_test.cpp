#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "i18n/charset.h"
#include "i18n/codepage.h"
#include "i18n/markup_doc.h"
#include "i18n/markup_file.h"

namespace mv {
namespace {

std::string narrow(std::u16string_view s) { return utf16ToUtf8(s); }

class MarkupFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("mv_markup_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::u16string write(const std::string& bytes) {
        const auto path = dir_ / ("f" + std::to_string(++count_) + ".xml");
        std::ofstream(path, std::ios::binary) << bytes;
        const std::string p = path.string();
        return std::u16string(p.begin(), p.end());
    }
    static std::string utf16(const std::u16string& text, bool bigEndian, bool bom) {
        std::string out;
        auto put = [&](char16_t u) {
            const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
            out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
        };
        if (bom) put(0xFEFF);
        for (char16_t u : text) put(u);
        return out;
    }

    std::filesystem::path dir_;
    int count_ = 0;
};

TEST_F(MarkupFileTest, ByteOrderMarksGiveTheSameText) {
    const std::u16string text = u"<r><k>Caf\u00E9 \u4E2D\u6587 \U0001F600</k></r>";
    MarkupDoc a, b, c;
    ASSERT_TRUE(a.loadFile(write("\xEF\xBB\xBF" + utf16ToUtf8(text))));
    ASSERT_TRUE(b.loadFile(write(utf16(text, false, true))));
    ASSERT_TRUE(c.loadFile(write(utf16(text, true, true))));
    EXPECT_EQ(a.text(), text);
    EXPECT_EQ(b.text(), text);
    EXPECT_EQ(c.text(), text);
    EXPECT_EQ(a.docFlags(), doc_flag::Utf8Bom);
    EXPECT_EQ(b.docFlags(), doc_flag::Utf16LeBom);
    EXPECT_EQ(c.docFlags(), doc_flag::Utf16BeBom);
    const std::size_t bytes = utf16ToUtf8(text).size();
    EXPECT_EQ(narrow(a.diagnostics()),
              "UTF-8 BOM + length " + std::to_string(bytes) + " to " + std::to_string(text.size()) + " wide chars ");
    // UTF-16 lengths count the 16-bit units read after the mark.
    EXPECT_EQ(narrow(c.diagnostics()), "UTF-16BE BOM + length " + std::to_string(text.size()) + " endian swap ");
    EXPECT_EQ(narrow(b.diagnostics()), "UTF-16LE BOM + length " + std::to_string(text.size()) + " ");
    ASSERT_TRUE(b.loadFile(write(utf16(std::u16string(45, u'x'), false, true))));
    EXPECT_EQ(narrow(b.diagnostics()).rfind("UTF-16LE BOM + length 45 ", 0), 0u);
    ASSERT_TRUE(b.loadFile(write(utf16(u"", true, true) + "x")));  // a lone byte is no unit
    EXPECT_EQ(narrow(b.diagnostics()), "UTF-16BE BOM + 0 length  Empty document");
}

TEST_F(MarkupFileTest, DeclaredCodePageAndAnsiFallback) {
    MarkupDoc doc;
    ASSERT_TRUE(doc.loadFile(write("<?xml version=\"1.0\" encoding=\"windows-1251\"?><r>\xC0\xC1\xFF</r>")));
    EXPECT_NE(doc.text().find(u"<r>\u0410\u0411\u044F</r>"), std::u16string::npos);
    EXPECT_EQ(narrow(doc.diagnostics()).rfind("windows-1251 length 55 to 55 wide chars ", 0), 0u);

    // No mark, no declaration, not "<" first, not UTF-8: the ANSI code page (1252 here).
    ASSERT_TRUE(doc.loadFile(write(" <r>\xE9</r>")));
    EXPECT_EQ(doc.text(), u" <r>\u00E9</r>");
    EXPECT_EQ(narrow(doc.diagnostics()), "ANSI length 9 (used UTF-8 detection) to 9 wide chars ");
    ASSERT_TRUE(doc.loadFile(write(" <r>\xC3\xA9</r>")));
    EXPECT_EQ(doc.text(), u" <r>\u00E9</r>");
    EXPECT_EQ(narrow(doc.diagnostics()), "UTF-8 length 10 (used UTF-8 detection) to 9 wide chars ");
}

// A byte file that declares a UTF-16 name: Windows converts no UTF-16 code page from bytes,
// so the text is read in the ANSI code page (1252 here), as the program does.
TEST_F(MarkupFileTest, DeclaredUtf16InAByteFileIsReadInTheAnsiCodePage) {
    for (const char* name : {"utf-16", "unicode", "unicodeFFFE", "UTF-16"}) {
        SCOPED_TRACE(name);
        MarkupDoc doc;
        const std::string declaration = std::string("<?xml version=\"1.0\" encoding=\"") + name + "\"?>";
        ASSERT_TRUE(doc.loadFile(write(declaration + "<r>\xE9\x80\x81</r>")));
        EXPECT_EQ(doc.text(), std::u16string(declaration.begin(), declaration.end()) + u"<r>\u00E9\u20AC\u0081</r>");
        EXPECT_EQ(narrow(doc.diagnostics()).rfind(std::string(name) + " length ", 0), 0u) << narrow(doc.diagnostics());
    }
}

TEST_F(MarkupFileTest, LeadingAngleBracketMeansUtf8EvenWhenInvalid) {
    MarkupDoc doc;
    ASSERT_TRUE(doc.loadFile(write("<r>\xE9</r>")));
    EXPECT_EQ(doc.text(), u"<r>\uFFFD</r>");
    EXPECT_EQ(narrow(doc.diagnostics()), "UTF-8 length 8 to 8 wide chars ");
}

TEST_F(MarkupFileTest, ZeroUnitsAreRemoved) {
    MarkupDoc doc;
    ASSERT_TRUE(doc.loadFile(write(std::string("<r>a\0b\0</r>", 11))));
    EXPECT_EQ(doc.text(), u"<r>ab</r>");
    EXPECT_EQ(narrow(doc.diagnostics()), "UTF-8 length 11 (2 nulls removed) to 9 wide chars ");
    ASSERT_TRUE(doc.loadFile(write(utf16(std::u16string(u"<r>x\0</r>", 9), false, true))));
    EXPECT_EQ(doc.text(), u"<r>x</r>");
    EXPECT_EQ(narrow(doc.diagnostics()), "UTF-16LE BOM + length 9 (1 nulls removed) ");
    // An odd trailing byte of UTF-16 is dropped.
    ASSERT_TRUE(doc.loadFile(write(utf16(u"<r/>", false, true) + "x")));
    EXPECT_EQ(doc.text(), u"<r/>");
}

TEST_F(MarkupFileTest, EmptyMissingAndParsedResults) {
    MarkupDoc doc;
    ASSERT_TRUE(doc.loadFile(write("")));
    EXPECT_EQ(narrow(doc.diagnostics()), "ANSI 0 length  Empty document");
    ASSERT_TRUE(doc.loadFile(write("\xEF\xBB\xBF")));
    EXPECT_EQ(narrow(doc.diagnostics()), "UTF-8 BOM + 0 length  Empty document");
    ASSERT_TRUE(doc.loadFile(write("<a><b></a>")));
    EXPECT_EQ(narrow(doc.diagnostics()),
              "UTF-8 length 10 to 10 wide chars  End tag 'a' at offset 7 does not match start tag 'b' at offset 3");

    EXPECT_FALSE(doc.loadFile(u"/nonexistent/dir/language.xml"));
    EXPECT_TRUE(doc.text().empty());
    EXPECT_EQ(doc.freePos(), 1);
    EXPECT_FALSE(doc.diagnostics().empty());
    EXPECT_EQ(doc.diagnostics().find(u'\n'), std::u16string::npos);
    EXPECT_LE(doc.diagnostics().size(), 100u);
}

TEST_F(MarkupFileTest, Utf32IsReadFromItsUnits) {
    std::string bytes = "<?xml version='1.0' encoding='UTF-32'?> ";  // 40 bytes: whole units
    const std::u32string body = U"<r>\U0001F600A</r>";
    for (char32_t c : body)
        for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>((c >> (8 * k)) & 0xFF));
    MarkupDoc doc;
    ASSERT_TRUE(doc.loadFile(write(bytes)));
    // The ASCII declaration reads as units of garbage; the body comes through.
    EXPECT_NE(doc.text().find(u"<r>\U0001F600A</r>"), std::u16string::npos);
}

TEST(DeclaredEncoding, XmlDeclarationAndHtmlMeta) {
    EXPECT_EQ(declaredEncoding(u"<?xml version=\"1.0\" encoding='gb2312'?><r/>"), u"gb2312");
    EXPECT_EQ(declaredEncoding(u"<?XML ENCODING=big5 ?><r/>"), u"big5");
    EXPECT_EQ(declaredEncoding(u"<?xml version='1.0'?><r/>"), u"");
    EXPECT_EQ(declaredEncoding(u"<r/><?xml encoding='x'?>"), u"");
    EXPECT_EQ(declaredEncoding(u"<?other?><?xml encoding='x'?>"), u"");
    EXPECT_EQ(declaredEncoding(u"<!DOCTYPE html><HTML><head><meta name=x content=y>"
                               u"<meta http-equiv=\"content-type\" content=\"text/html; charset=koi8-r\">"),
              u"koi8-r");
    EXPECT_EQ(declaredEncoding(u"<html><head></head><meta http-equiv='Content-Type' content='charset=x'>"), u"");
    EXPECT_EQ(declaredEncoding(u"<body><meta http-equiv='Content-Type' content='charset=x'>"), u"");
    EXPECT_EQ(declaredEncoding(u"<html><1><meta http-equiv='Content-Type' content='charset=x'>"), u"");
}

TEST(Utf8Check, DetectionRule) {
    auto check = [](const std::string& s) {
        return passesUtf8Check(reinterpret_cast<const unsigned char*>(s.data()), s.size());
    };
    EXPECT_TRUE(check("plain"));
    EXPECT_TRUE(check("\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"));
    EXPECT_FALSE(check("\xC3"));
    EXPECT_FALSE(check("\xE4\xB8x"));
    EXPECT_FALSE(check("\xF8\x80\x80\x80\x80"));
    EXPECT_TRUE(check(std::string("ok\0\xFF", 4)));  // scanning stops at a zero byte
}

TEST(CharsetCodePage, TellingRowsAndRules) {
    EXPECT_EQ(charsetCodePage(u""), 0);
    EXPECT_EQ(charsetCodePage(u"UTF-32LE"), 65005);
    EXPECT_EQ(charsetCodePage(u"utf-32"), -1);
    EXPECT_EQ(charsetCodePage(u"UTF-8"), 65001);
    EXPECT_EQ(charsetCodePage(u"X-Unicode-2-0-UTF-8"), 65001);
    EXPECT_EQ(charsetCodePage(u"unicode-1-1-utf-7"), 65000);
    EXPECT_EQ(charsetCodePage(u"unicode"), 1200);
    EXPECT_EQ(charsetCodePage(u"unicodeFFFE"), 1201);
    EXPECT_EQ(charsetCodePage(u"ISO646-US"), 20127);
    EXPECT_EQ(charsetCodePage(u"x-ansi"), 1252);
    EXPECT_EQ(charsetCodePage(u"iso-ir-6"), 1252);
    EXPECT_EQ(charsetCodePage(u"cp819"), 28591);
    EXPECT_EQ(charsetCodePage(u"MS_Kanji"), 932);
    EXPECT_EQ(charsetCodePage(u"GBK"), 936);
    EXPECT_EQ(charsetCodePage(u"big5"), 950);
    EXPECT_EQ(charsetCodePage(u"euc-kr"), 949);
    EXPECT_EQ(charsetCodePage(u"euc-jp"), 51932);
    EXPECT_EQ(charsetCodePage(u"iso-2022-jp"), 50220);
    EXPECT_EQ(charsetCodePage(u"koi8-u"), 21866);
    EXPECT_EQ(charsetCodePage(u"utf-16le"), -1);
    EXPECT_EQ(charsetCodePage(u"utf-16be"), -1);
    EXPECT_EQ(charsetCodePage(std::u16string(100, u'a')), -1);
    EXPECT_EQ(charsetCodePage(u"utf-8\u00E9"), -1);
}

TEST(CharsetCodePage, EveryListedCodePageHasAnAlias) {
    const int listed[] = {37, 420, 437, 708, 720, 737, 775, 850, 852, 857, 861, 862, 866, 869, 870, 874, 875,
                          932, 936, 949, 950, 1026, 1140, 1142, 1143, 1144, 1145, 1146, 1147, 1148, 1149,
                          1200, 1201, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 1361, 10000, 10001,
                          10002, 10003, 10004, 10005, 10006, 10007, 10008, 10029, 10079, 10081, 20000, 20002,
                          20105, 20106, 20107, 20108, 20127, 20273, 20277, 20278, 20280, 20284, 20285, 20290,
                          20423, 20424, 20833, 20838, 20866, 20873, 20880, 20905, 21025, 21866, 28591, 28592,
                          28593, 28594, 28595, 28596, 28597, 28598, 28599, 28605, 29001, 38598, 50220, 50221,
                          50222, 50225, 50930, 50933, 50935, 50937, 50939, 51932, 51936, 51949, 52936, 57002,
                          57003, 57004, 57005, 57006, 57007, 57008, 57009, 57010, 57011, 65000, 65001};
    EXPECT_EQ(sizeof(listed) / sizeof(listed[0]), 116u);
    std::size_t count = 0;
    const CharsetAlias* aliases = charsetAliases(count);
    for (int cp : listed) {
        bool found = false;
        for (std::size_t i = 0; i < count && !found; ++i) found = aliases[i].codePage == cp;
        EXPECT_TRUE(found) << cp;
    }
    // Every alias is found through the hash and is lower case.
    for (std::size_t i = 0; i < count; ++i) {
        const std::u16string name(aliases[i].name.begin(), aliases[i].name.end());
        EXPECT_EQ(charsetCodePage(name), aliases[i].codePage) << aliases[i].name;
        for (char c : aliases[i].name) EXPECT_FALSE(c >= 'A' && c <= 'Z') << aliases[i].name;
    }
}

TEST(CodePageSeam, Utf8DecodingMatchesTheSystemRule) {
    std::u16string out;
    const std::string bytes = "a\xC3\xA9\xED\xA0\x80\xF0\x9F\x98\x80\xE4\xB8\xC0\x80z";
    ASSERT_TRUE(multiByteToWide(kCodePageUtf8, bytes.data(), bytes.size(), out));
    EXPECT_EQ(out, u"a\u00E9\uFFFD\uFFFD\uFFFD\U0001F600\uFFFD\uFFFD\uFFFDz");
    out.clear();
    const std::string gbk = "\xD6\xD0\xCE\xC4";
    ASSERT_TRUE(multiByteToWide(936, gbk.data(), gbk.size(), out));
    EXPECT_EQ(out, u"\u4E2D\u6587");

    // As Windows: no UTF-16 from bytes; Windows-1252's five undefined bytes stay control characters.
    out = u"kept";
    EXPECT_FALSE(multiByteToWide(1200, "a\0b\0", 4, out));
    EXPECT_FALSE(multiByteToWide(1201, "\0a\0b", 4, out));
    EXPECT_EQ(out, u"kept");
    out.clear();
    ASSERT_TRUE(multiByteToWide(1252, "\x80\x81\x8D\x8F\x90\x9D\x9F\xA0\xFFz", 10, out));
    EXPECT_EQ(out, u"\u20AC\u0081\u008D\u008F\u0090\u009D\u0178\u00A0\u00FFz");
    EXPECT_EQ(utf16ToUtf8(u"\u4E2D\U0001F600"), "\xE4\xB8\xAD\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace mv
