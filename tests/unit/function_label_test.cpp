// The function button's text for chords, launches and macros.
#include <gtest/gtest.h>

#include "ui/function_label.h"

namespace mv {
namespace {

const CustomFunctionTexts kTexts{{u"Left click", u"Right click", u"Middle click"}, u"Macro"};

FunctionRecord Record(std::uint8_t code) {
    FunctionRecord r;
    r.setActionCode(code);
    return r;
}

TEST(FunctionLabel, EachUserFunction) {
    MacroNames names;
    names.setName(3, u"Sign");

    FunctionRecord chord = Record(19);
    chord.bytes[3] = 0x11;
    chord.bytes[4] = 'T';
    chord.bytes[5] = 0xC1;
    EXPECT_EQ(CustomFunctionLabel(chord, names, kTexts), u"Ctrl+T+Left click");

    FunctionRecord program = Record(25);
    program.setProgramPath(u"C:\\windows\\notepad.exe");
    EXPECT_EQ(CustomFunctionLabel(program, names, kTexts), u"notepad.exe");
    program.setProgramPath(u"https://example.org/x/y.html");
    EXPECT_EQ(CustomFunctionLabel(program, names, kTexts), u"https://example.org/x/y.html");

    FunctionRecord macro = Record(20);
    macro.bytes[2] = 3;
    EXPECT_EQ(CustomFunctionLabel(macro, names, kTexts), u"Sign");
    macro.bytes[2] = 9;
    EXPECT_EQ(CustomFunctionLabel(macro, names, kTexts), u"Macro 10");
}

TEST(FunctionLabel, NothingToShow) {
    const MacroNames names;
    EXPECT_EQ(CustomFunctionLabel(Record(19), names, kTexts), std::nullopt);
    EXPECT_EQ(CustomFunctionLabel(Record(25), names, kTexts), std::nullopt);
    FunctionRecord macro = Record(20);
    macro.bytes[2] = 100;
    EXPECT_EQ(CustomFunctionLabel(macro, names, kTexts), std::nullopt);
    FunctionRecord cut = Record(64);
    cut.bytes[3] = 0x11;
    EXPECT_EQ(CustomFunctionLabel(cut, names, kTexts), std::nullopt);
}

}  // namespace
}  // namespace mv
