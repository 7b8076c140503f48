// The Registry Editor 5 file format: written exactly as regedit writes it, read back,
// and every kind of unreadable file refused at its first problem.
#include <gtest/gtest.h>

#include <string>

#include "settings/reg_file.h"

namespace mv {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Utf16le(const std::string& ascii, bool bom = true) {
    Bytes b;
    if (bom) b = {0xFF, 0xFE};
    for (unsigned char c : ascii) b.insert(b.end(), {c, 0});
    return b;
}

Bytes Counting(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(i);
    return b;
}

RegFileResult Read(const Bytes& b) { return ReadRegFile(b.data(), b.size()); }

// What `wine regedit /E` wrote for these values, line breaks and all.
const std::string kRegeditExport =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\MvT]\r\n"
    "\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
    "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f,\\\r\n"
    "  30,31,32,33,34,35,36,37,38,39,3a,3b,3c,3d,3e,3f,40,41,42,43,44,45,46,47,48,\\\r\n"
    "  49,4a,4b,4c,4d,4e,4f,50,51,52,53,54,55,56,57,58,59,5a,5b,5c,5d,5e,5f,60,61,\\\r\n"
    "  62,63\r\n"
    "\"ButtonSetting\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,\\\r\n"
    "  13,14,15,16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,\\\r\n"
    "  2c,2d,2e,2f,30,31,32,33,34,35,36,37,38,39,3a,3b\r\n"
    "\"D\"=dword:0000000a\r\n"
    "\"E\"=hex:\r\n"
    "\"S\"=\"a\\\"b\\\\c\"\r\n"
    "\r\n";

std::vector<RegFileKey> RegeditKeys() {
    RegFileKey key{u"HKEY_LOCAL_MACHINE\\Software\\MvT", false, {}, 0};
    key.values.push_back({u"Bin", 3, Counting(100), 0});
    key.values.push_back({u"ButtonSetting", 3, Counting(60), 0});
    key.values.push_back({u"D", 4, {10, 0, 0, 0}, 0});
    key.values.push_back({u"E", 3, {}, 0});
    key.values.push_back({u"S", 1, {'a', 0, '"', 0, 'b', 0, '\\', 0, 'c', 0, 0, 0}, 0});
    return {key};
}

TEST(RegFile, WritesWhatRegeditWritesAndReadsItBack) {
    EXPECT_EQ(WriteRegFile(RegeditKeys()), Utf16le(kRegeditExport));
    const RegFileResult read = Read(Utf16le(kRegeditExport));
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    EXPECT_EQ(read.keys, RegeditKeys());
    EXPECT_EQ(read.keys[0].line, 3u);
    EXPECT_EQ(read.keys[0].values[1].line, 9u);
    EXPECT_EQ(read.keys[0].values[2].line, 12u);
}

TEST(RegFile, OtherValueTypesRemovalsAndLongDataRoundTrip) {
    std::vector<RegFileKey> keys(3);
    keys[0] = {u"HKEY_LOCAL_MACHINE\\A", true, {}, 0};
    keys[1] = {u"HKEY_LOCAL_MACHINE\\A\\[b] c.exe", false, {}, 0};
    keys[1].values.push_back({u"Multi", 7, {'x', 0, 0, 0, 0, 0}, 0});
    keys[1].values.push_back({u"Big", 3, Counting(19488), 0});
    keys[1].values.push_back({u"Linebreak", 1, {'a', 0, '\n', 0, 0, 0}, 0});  // a string regedit cannot quote
    keys[1].values.push_back({u"", 1, {0, 0}, 0});
    keys[2] = {u"HKEY_LOCAL_MACHINE\\Empty", false, {}, 0};
    const Bytes file = WriteRegFile(keys);
    const RegFileResult read = Read(file);
    ASSERT_TRUE(read.ok()) << int(read.problem) << " line " << read.line;
    EXPECT_EQ(read.keys, keys);
    // No line is longer than 80 characters.
    std::string text;
    for (std::size_t i = 2; i < file.size(); i += 2) text.push_back(static_cast<char>(file[i]));
    std::size_t start = 0, longest = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        longest = std::max(longest, end - start);
    EXPECT_EQ(longest, 80u);
    EXPECT_NE(text.find("\"Multi\"=hex(7):78,00,00,00,00,00\r\n"), std::string::npos);
}

TEST(RegFile, AcceptsWhatRegeditAlsoAccepts) {
    const RegFileResult read = Read(Utf16le(
        "Windows Registry Editor Version 5.00\n"
        "; a comment\n"
        "[HKEY_LOCAL_MACHINE\\K]   \n"
        "  \"V\" = hex:01, 02 ,\\\n"
        "\n"  // never inside a continued value: this ends it
        "\"W\"=HEX:0A,Ff\n"
        "@=dword:FFFFFFFF\n"));
    ASSERT_FALSE(read.ok()) << "a blank line after a backslash is no data";
    const RegFileResult fine = Read(Utf16le(
        "Windows Registry Editor Version 5.00\n"
        "; a comment\n"
        "[HKEY_LOCAL_MACHINE\\K]   \n"
        "  \"V\" = hex:01, 02 ,\\\n"
        "   03\n"
        "@=dword:FFFFFFFF\n"));
    ASSERT_TRUE(fine.ok()) << int(fine.problem) << " line " << fine.line;
    ASSERT_EQ(fine.keys.size(), 1u);
    ASSERT_EQ(fine.keys[0].values.size(), 2u);
    EXPECT_EQ(fine.keys[0].values[0].data, (Bytes{1, 2, 3}));
    EXPECT_EQ(fine.keys[0].values[1].name, u"");
    EXPECT_EQ(fine.keys[0].values[1].data, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
}

struct Refusal {
    const char* what;
    Bytes file;
    RegFileProblem problem;
    std::size_t line;
};

TEST(RegFile, RefusesEachBrokenFileAtItsFirstProblem) {
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n";
    Bytes utf8(kRegeditExport.begin(), kRegeditExport.end());
    Bytes utf8bom = utf8;
    utf8bom.insert(utf8bom.begin(), {0xEF, 0xBB, 0xBF});
    Bytes be{0xFE, 0xFF};
    for (char c : kRegeditExport) be.insert(be.end(), {0, static_cast<std::uint8_t>(c)});
    Bytes odd = Utf16le(kRegeditExport);
    odd.pop_back();
    Bytes nul = Utf16le(head + "\"V\"=hex:01\r\n");
    nul[nul.size() - 4] = 0;
    Bytes lone = Utf16le(head + "\"V\"=\"x\"\r\n");
    lone[lone.size() - 8] = 0x00;
    lone[lone.size() - 7] = 0xD8;  // a high surrogate followed by a quote
    const std::string fifthLineEnd = "2f,\\\r\n";
    Bytes cut = Utf16le(kRegeditExport.substr(0, kRegeditExport.find(fifthLineEnd) + fifthLineEnd.size()));

    const Refusal cases[] = {
        {"empty", {}, RegFileProblem::Encoding, 0},
        {"UTF-8", utf8, RegFileProblem::Encoding, 0},
        {"UTF-8 with BOM", utf8bom, RegFileProblem::Encoding, 0},
        {"UTF-16BE", be, RegFileProblem::Encoding, 0},
        {"UTF-16 without BOM", Utf16le(kRegeditExport, false), RegFileProblem::Encoding, 0},
        {"half a unit at the end", odd, RegFileProblem::Truncated, 0},
        {"NUL in the text", nul, RegFileProblem::Encoding, 4},
        {"unpaired surrogate", lone, RegFileProblem::Encoding, 4},
        {"REGEDIT4", Utf16le("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n"), RegFileProblem::Header, 1},
        {"BOM only", Utf16le(""), RegFileProblem::Header, 1},
        {"cut inside a continued value", cut, RegFileProblem::Truncated, 5},
        {"cut after a backslash", Utf16le(head + "\"V\"=hex:01,\\\r\n"), RegFileProblem::Truncated, 4},
        {"key without bracket", Utf16le(head + "[HKEY_LOCAL_MACHINE\\L\r\n"), RegFileProblem::Syntax, 4},
        {"empty key", Utf16le(head + "[]\r\n"), RegFileProblem::Syntax, 4},
        {"text line", Utf16le(head + "hello\r\n"), RegFileProblem::Syntax, 4},
        {"unclosed name", Utf16le(head + "\"V=hex:01\r\n"), RegFileProblem::Syntax, 4},
        {"no equals", Utf16le(head + "\"V\" hex:01\r\n"), RegFileProblem::Syntax, 4},
        {"value before a key", Utf16le("Windows Registry Editor Version 5.00\r\n\"V\"=hex:01\r\n"),
         RegFileProblem::ValueOutsideKey, 2},
        {"value in a removal", Utf16le(head + "[-HKEY_LOCAL_MACHINE\\L]\r\n\"V\"=hex:01\r\n"),
         RegFileProblem::ValueOutsideKey, 5},
        {"odd hex digit", Utf16le(head + "\"V\"=hex:01,2\r\n"), RegFileProblem::BadData, 4},
        {"not hex", Utf16le(head + "\"V\"=hex:0g\r\n"), RegFileProblem::BadData, 4},
        {"double comma", Utf16le(head + "\"V\"=hex:01,,02\r\n"), RegFileProblem::BadData, 4},
        {"bad continuation", Utf16le(head + "\"V\"=hex:01,\\\r\n  zz\r\n"), RegFileProblem::BadData, 5},
        {"short dword", Utf16le(head + "\"V\"=dword:1\r\n"), RegFileProblem::BadData, 4},
        {"long dword", Utf16le(head + "\"V\"=dword:000000001\r\n"), RegFileProblem::BadData, 4},
        {"unknown form", Utf16le(head + "\"V\"=qword:1\r\n"), RegFileProblem::BadData, 4},
        {"bad hex type", Utf16le(head + "\"V\"=hex(z):01\r\n"), RegFileProblem::BadData, 4},
        {"unclosed string", Utf16le(head + "\"V\"=\"abc\r\n"), RegFileProblem::BadData, 4},
        {"text after a string", Utf16le(head + "\"V\"=\"abc\" x\r\n"), RegFileProblem::BadData, 4},
    };
    for (const Refusal& c : cases) {
        const RegFileResult r = Read(c.file);
        EXPECT_EQ(r.problem, c.problem) << c.what;
        EXPECT_EQ(r.line, c.line) << c.what;
        EXPECT_TRUE(r.keys.empty()) << c.what << ": nothing of a refused file is kept";
    }
    Bytes huge(kRegFileMaxBytes + 2, 0x20);
    huge[0] = 0xFF;
    huge[1] = 0xFE;
    EXPECT_EQ(Read(huge).problem, RegFileProblem::TooLarge);
}

}  // namespace
}  // namespace mv
