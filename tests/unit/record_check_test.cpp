// The check every record passes: what the open function, the macros and the chords take.
#include <gtest/gtest.h>

#include <memory>

#include "base/bytes.h"
#include "gesture/record_check.h"
#include "settings/macro_book.h"

namespace mv {
namespace {

FunctionRecord Record(std::uint8_t code) { return MakeRecord(code); }

TEST(RecordCheck, OpenTakesWhatTheEditorsStore) {
    const auto macros = std::make_unique<MacroStore>();
    const auto open = [&](const std::u16string& target) {
        FunctionRecord r = Record(25);
        r.setProgramPath(target);
        return CheckRecord(r, *macros);
    };
    EXPECT_EQ(open(u"C:\\Windows\\notepad.exe"), RecordProblem::None);
    EXPECT_EQ(open(u"https://example.org/a"), RecordProblem::None);
    EXPECT_EQ(open(u"mailto:a@example.org"), RecordProblem::None);
    for (const char16_t* refused : {u"javascript:alert(1)", u"file:///C:/x.exe", u"search-ms:query=x", u"", u"  C:\\x.exe",
                                    u"\"C:\\x.exe\""})
        EXPECT_EQ(open(refused), RecordProblem::Target) << std::u16string(refused).size();
    // Other codes do not read the path.
    FunctionRecord click = Record(2);
    click.setProgramPath(u"javascript:alert(1)");
    EXPECT_EQ(CheckRecord(click, *macros), RecordProblem::None);
}

TEST(RecordCheck, MacrosPlayOnlyWithinTheEditorsBounds) {
    auto macros = std::make_unique<MacroStore>();
    MacroData data;
    data.steps = {{0x41, false, 100}, {0x41, true, kMaxStepGapMs}};
    ASSERT_EQ(WriteMacro(*macros, 3, data), MacroWriteResult::Written);
    FunctionRecord r = Record(20);
    r.bytes[FunctionRecord::kMacroIndexOffset] = 3;
    EXPECT_EQ(CheckRecord(r, *macros), RecordProblem::None);

    std::uint8_t* entry = macros->entry(3);
    writeLe32(entry + MacroEntry::kRepeatFlagOffset, 1);
    writeLe32(entry + MacroEntry::kRepeatCountOffset, kMaxRepeatCount);
    EXPECT_EQ(CheckRecord(r, *macros), RecordProblem::None);
    writeLe32(entry + MacroEntry::kRepeatCountOffset, kMaxRepeatCount + 1);
    EXPECT_EQ(CheckRecord(r, *macros), RecordProblem::Macro);
    writeLe32(entry + MacroEntry::kRepeatCountOffset, 0x80000000u);  // 2^31 as stored, negative as read
    EXPECT_EQ(CheckRecord(r, *macros), RecordProblem::Macro);
    writeLe32(entry + MacroEntry::kRepeatFlagOffset, 0);  // repeat off: the count is not read
    EXPECT_EQ(CheckRecord(r, *macros), RecordProblem::None);

    writeLe32(entry + MacroStore::kStepsOffset + 4, kMaxStepGapMs + 1);  // 49 days would do too
    EXPECT_EQ(CheckRecord(r, *macros), RecordProblem::Macro);
    writeLe32(entry + MacroStore::kStepsOffset + 4, 0);
    writeLe16(entry + MacroEntry::kStepCountOffset, MacroStore::kMaxSteps + 1);
    EXPECT_EQ(CheckRecord(r, *macros), RecordProblem::Macro);

    r.bytes[FunctionRecord::kMacroIndexOffset] = 100;  // outside the store
    EXPECT_EQ(CheckRecord(r, *macros), RecordProblem::Macro);
}

TEST(RecordCheck, ChordsAsTheChordEditorTakesThem) {
    const auto macros = std::make_unique<MacroStore>();
    const auto chord = [&](std::uint8_t modifiers, std::uint8_t key1, std::uint8_t key2) {
        FunctionRecord r = Record(19);
        r.bytes[FunctionRecord::kChordModifiersOffset] = modifiers;
        r.bytes[FunctionRecord::kChordKey1Offset] = key1;
        r.bytes[FunctionRecord::kChordKey2Offset] = key2;
        return CheckRecord(r, *macros);
    };
    EXPECT_EQ(chord(0x03, 0x54, 0), RecordProblem::None);  // Ctrl+Shift+T
    EXPECT_EQ(chord(0, 0, 0), RecordProblem::Chord);
    EXPECT_EQ(chord(0x05, 0x2E, 0), RecordProblem::Chord);  // Ctrl+Alt+Del
    EXPECT_EQ(chord(0x08, 0x4C, 0), RecordProblem::Chord);  // Win+L
}

TEST(RecordCheck, EveryDecidingRecordIsCheckedAndWhatItOpensListedOnce) {
    auto settings = std::make_unique<Settings>();
    ResetRecordsToDefaults(settings->allPrograms.records);
    settings->allPrograms.records[2] = Record(25);
    settings->allPrograms.records[2].setProgramPath(u"C:\\a.exe");
    Profile* p = settings->profiles.Add(u"x.exe", settings->allPrograms);
    OverrideSlot(*p, settings->allPrograms.records, 4, 25);
    p->image.records[4].setProgramPath(u"javascript:x");
    p->image.records[5] = p->image.records[4];  // not overridden: never decides, never checked
    OverrideSlot(*p, settings->allPrograms.records, 6, 25);
    p->image.records[6].setProgramPath(u"C:\\a.exe");

    const std::vector<RefusedRecord> refused = RefusedRecords(*settings);
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].program, u"x.exe");
    EXPECT_EQ(refused[0].slot, 4);
    EXPECT_EQ(refused[0].what, u"javascript:x");
    EXPECT_EQ(LaunchTargetsOf(*settings), (std::vector<std::u16string>{u"C:\\a.exe", u"javascript:x"}));
}

}  // namespace
}  // namespace mv
