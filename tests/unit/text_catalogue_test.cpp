#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "i18n/codepage.h"
#include "i18n/text_catalogue.h"
#include "ui/dialog_captions.h"
#include "ui/keyboard_model.h"

namespace mv {
namespace {

std::u16string section(MarkupDoc& doc, const std::u16string& xml, std::u16string_view key) {
    doc.setText(xml);
    return findSectionText(doc, u"config", key);
}

TEST(FindSectionText, SectionRules) {
    MarkupDoc doc;
    EXPECT_EQ(section(doc, u"<any><config><tc_exit>Exit</tc_exit></config></any>", u"tc_exit"), u"Exit");
    // A root named config is not the section.
    EXPECT_EQ(section(doc, u"<config><tc_exit>Exit</tc_exit></config>", u"tc_exit"), u"");
    EXPECT_EQ(section(doc, u"<config><config><tc_exit>In</tc_exit></config></config>", u"tc_exit"), u"In");
    // Nested sections are searched downward; a second section beside the first is not.
    const std::u16string nested =
        u"<l><config><a>1</a><config><b>2</b><config><c>3</c></config></config></config>"
        u"<config><d>4</d></config></l>";
    EXPECT_EQ(section(doc, nested, u"a"), u"1");
    EXPECT_EQ(section(doc, nested, u"b"), u"2");
    EXPECT_EQ(section(doc, nested, u"c"), u"3");
    EXPECT_EQ(section(doc, nested, u"d"), u"");
    // Names are case-sensitive; the first occurrence wins; other elements are ignored.
    const std::u16string keys =
        u"<l><other><tc_exit>no</tc_exit></other><config x='1'><TC_EXIT>caps</TC_EXIT><skip/>"
        u"<tc_exit a='b'> first </tc_exit><tc_exit>second</tc_exit><tc_PL>&#x25B6;</tc_PL></config></l>";
    EXPECT_EQ(section(doc, keys, u"tc_exit"), u" first ");
    EXPECT_EQ(section(doc, keys, u"tc_PL"), u"\u25B6");
    EXPECT_EQ(section(doc, keys, u"tc_pl"), u"");
    // Elements holding child elements, and empty ones, give nothing.
    EXPECT_EQ(section(doc, u"<l><config><k>t<b>x</b></k><e/></config></l>", u"k"), u"");
    EXPECT_EQ(section(doc, u"<l><config><k>t<b>x</b></k><e/></config></l>", u"e"), u"");
}

TEST(FindSectionText, MalformedFilesGiveWhatWasRecognised) {
    MarkupDoc doc;
    const std::u16string broken = u"<l><config><a>x &amp; y</a><1><b>unclosed<c>z</c></config></l>";
    EXPECT_EQ(section(doc, broken, u"a"), u"x & y");
    EXPECT_EQ(section(doc, broken, u"c"), u"z");
    EXPECT_EQ(section(doc, broken, u"b"), u"");
    // An unterminated root end tag leaves the root unclosed: its section moves up beside it.
    EXPECT_EQ(section(doc, u"<l><config><a>1</a></config></l", u"a"), u"");
}

TEST(TextCatalogueKeys, ListIsCompleteAndDistinct) {
    std::set<std::string_view> seen(TextKeys.begin(), TextKeys.end());
    EXPECT_EQ(seen.size(), kTextKeyCount);
    // The added keys follow the catalogue's own and repeat none of them.
    seen.insert(AddedTextKeys.begin(), AddedTextKeys.end());
    EXPECT_EQ(seen.size(), kAllTextKeyCount);
    for (std::size_t i = 0; i < kAllTextKeyCount; ++i) {
        const std::string_view key = textKeyAt(i);
        EXPECT_TRUE(key.rfind("tc_", 0) == 0 || key.rfind("btn_", 0) == 0) << key;
        EXPECT_EQ(textKeyIndex(key), i) << key;
    }
    EXPECT_EQ(textKeyAt(kTextKeyCount), AddedTextKeys.front());
    EXPECT_EQ(textKeyAt(kAllTextKeyCount), "");
    EXPECT_EQ(TextKeys.front(), "tc_mouse_title");
    EXPECT_EQ(textKeyIndex("tc_PL").has_value(), true);
    EXPECT_FALSE(textKeyIndex("tc_pl").has_value());
}

TEST(LanguageFilePath, BesideTheProgram) {
    EXPECT_EQ(languageFilePath(u"C:\\Program Files\\Morvi\\MorviCorvelConfig.exe"),
              u"C:\\Program Files\\Morvi\\language.xml");
    EXPECT_EQ(languageFilePath(u"D:app.exe"), u"D:language.xml");
    EXPECT_EQ(languageFilePath(u"/opt/mv/mvlang"), u"/opt/mv/language.xml");
}

class LanguageFileTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LanguageFileTest, EveryKeyHasAText) {
    const std::string path = std::string(MV_SOURCE_DIR) + "/lang/" + GetParam() + "/language.xml";
    MarkupDoc doc;
    ASSERT_TRUE(doc.loadFile(std::u16string(path.begin(), path.end())));
    EXPECT_EQ(doc.diagnostics().find(u"offset"), std::u16string::npos) << utf16ToUtf8(doc.diagnostics());
    TextCatalogue catalogue;
    catalogue.fill(doc);
    for (std::size_t i = 0; i < kAllTextKeyCount; ++i) {
        const std::u16string& text = catalogue.text(i);
        EXPECT_FALSE(text.empty()) << textKeyAt(i);
        EXPECT_EQ(text.find_first_of(u"<>\n"), std::u16string::npos) << textKeyAt(i);
        EXPECT_EQ(text, catalogue.text(textKeyAt(i)));
    }
}

// Each marked caption is its plain text with a key, and no two buttons of one dialog share one.
TEST_P(LanguageFileTest, DialogButtonsHaveTheirOwnAccessKeys) {
    loadTextCatalogue(u"" MV_SOURCE_DIR "/lang/" + std::u16string(GetParam(), GetParam() + std::strlen(GetParam())) +
                      u"/language.xml");
    for (const auto& dialog : DialogCaptionSets()) {
        std::u16string keys;
        for (const CaptionKeys& c : dialog) {
            const std::u16string caption = ButtonCaption(c);
            const char16_t key = AccessKeyOf(caption);
            EXPECT_NE(key, 0) << c.marked << " marks no key or differs from " << c.plain;
            EXPECT_EQ(DrawnCaption(caption, false), tr(c.plain)) << c.marked;
            EXPECT_EQ(keys.find(key), std::u16string::npos) << c.marked << ": its key is another button's";
            keys += key;
        }
    }
    loadTextCatalogue(u"");
}

INSTANTIATE_TEST_SUITE_P(Shipped, LanguageFileTest, ::testing::Values("en", "zh-CN"));

TEST(LoadTextCatalogue, Utf16AndUtf8FilesGiveTheSameTextsAndMissingFileGivesNone) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("mv_catalogue_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    const std::u16string xml =
        u"<?xml version='1.0'?>\n<language><config>\n<tc_mouse_title>\u9F20\u6807 Title</tc_mouse_title>"
        u"<tc_exit> Exit </tc_exit></config></language>\n";
    std::string le = "\xFF\xFE";
    for (char16_t u : xml) le += std::string{static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    std::ofstream(dir / "le.xml", std::ios::binary) << le;
    std::ofstream(dir / "u8.xml", std::ios::binary) << utf16ToUtf8(xml);
    auto path = [&](const char* name) {
        const std::string p = (dir / name).string();
        return std::u16string(p.begin(), p.end());
    };

    loadTextCatalogue(path("le.xml"));
    const std::u16string title = tr("tc_mouse_title");
    EXPECT_EQ(title, u"\u9F20\u6807 Title");
    EXPECT_EQ(tr("tc_exit"), u" Exit ");
    EXPECT_EQ(tr("tc_config"), u"");
    EXPECT_EQ(tr("tc_function_macro"), u"") << "an added key the file lacks";
    EXPECT_EQ(tr("no_such_key"), u"");
    TextCatalogue fromUtf8;
    MarkupDoc doc;
    ASSERT_TRUE(doc.loadFile(path("u8.xml")));
    fromUtf8.fill(doc);
    for (std::size_t i = 0; i < kAllTextKeyCount; ++i) EXPECT_EQ(fromUtf8.text(i), textCatalogue().text(i));

    TextCatalogue none;
    ASSERT_FALSE(doc.loadFile(path("missing.xml")));
    none.fill(doc);
    for (std::size_t i = 0; i < kAllTextKeyCount; ++i) EXPECT_TRUE(none.text(i).empty());

    // A sound file padded to the limit is read; one byte more and it counts as missing.
    std::string padded = utf16ToUtf8(xml);
    padded += std::string(kLanguageFileMaxBytes - padded.size(), ' ');
    std::ofstream(dir / "limit.xml", std::ios::binary) << padded;
    std::ofstream(dir / "over.xml", std::ios::binary) << padded << ' ';
    loadTextCatalogue(path("limit.xml"));
    EXPECT_EQ(tr("tc_exit"), u" Exit ");
    loadTextCatalogue(path("over.xml"));
    EXPECT_EQ(tr("tc_exit"), u"");
    EXPECT_EQ(tr("tc_mouse_title"), u"");
    loadTextCatalogue(u"");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace mv
