// The macro editor's working copy: listing, new, delete, rename, recording, step edits
// and repeat, each refused edit leaving the copy as it was, and nothing reaching the
// program's store before commit.
#include <gtest/gtest.h>

#include "base/bytes.h"
#include "ui/macro_editor_model.h"

namespace mv {
namespace {

using E = MacroEditorModel::Error;

class MacroEditor : public ::testing::Test {
protected:
    MacroEditor() : store(std::make_unique<MacroStore>()) {
        // Entry 4 written by another tool: two steps, repeat twice, no name.
        std::uint8_t* e = store->entry(4);
        writeLe32(e + 4, 7);
        writeLe32(e + 8, 2);
        writeLe16(e + 12, 2);
        e[16] = 'A';
        writeLe32(e + 20, 100);
        e[24] = 'A';
        e[25] = 1;
        names.setName(9, u"Named, empty");
    }
    std::vector<MacroStep> Steps(std::size_t n) { return std::vector<MacroStep>(n, MacroStep{'K', false, 10}); }

    std::unique_ptr<MacroStore> store;
    MacroNames names;
};

TEST_F(MacroEditor, ListsMacrosWithStepsOrNamesAndSelectsTheGesturesOwn) {
    MacroEditorModel m(*store, names, 9);
    EXPECT_EQ(m.listed(), (std::vector<std::size_t>{4, 9}));
    EXPECT_EQ(m.selected(), 9u);
    MacroEditorModel other(*store, names, 50);  // not in use: the first listed
    EXPECT_EQ(other.selected(), 4u);
    const MacroData foreign = other.current();
    EXPECT_TRUE(foreign.repeat);
    EXPECT_EQ(foreign.repeatCount, 2);
    EXPECT_EQ(foreign.steps, (std::vector<MacroStep>{{'A', false, 100}, {'A', true, 0}}));
    EXPECT_FALSE(other.select(50));
    EXPECT_EQ(other.selected(), 4u);
}

TEST_F(MacroEditor, NewRenameRecordEditAndCommit) {
    MacroEditorModel m(*store, names, std::nullopt);
    EXPECT_EQ(m.createNew(u""), E::BadName);
    ASSERT_EQ(m.createNew(u"New macro"), E::None);
    EXPECT_EQ(m.selected(), 0u);
    EXPECT_EQ(m.rename(std::u16string(65, u'n')), E::BadName);
    EXPECT_EQ(m.rename(u"Greeting"), E::None);
    EXPECT_EQ(m.checkAssignable(), E::NoSteps);

    ASSERT_EQ(m.setSteps({{'H', false, 80}, {'H', true, 30}, {'I', false, 0}, {'I', true, 0}}), E::None);
    EXPECT_EQ(m.deleteStep(4), E::BadStep);
    EXPECT_EQ(m.deleteStep(1), E::None);
    EXPECT_EQ(m.setGap(0, 250), E::None);       // a key: the player's 50 ms come off
    EXPECT_EQ(m.setGap(0, kMaxStepGapMs + 1), E::BadDelay);
    EXPECT_EQ(m.setRepeat(true, 0), E::BadCount);
    EXPECT_EQ(m.setRepeat(true, kMaxRepeatCount + 1), E::BadCount);
    EXPECT_EQ(m.setRepeat(true, 3), E::None);
    EXPECT_EQ(m.checkAssignable(), E::None);
    const MacroData now = m.current();
    EXPECT_EQ(now.steps, (std::vector<MacroStep>{{'H', false, 200}, {'I', false, 0}, {'I', true, 0}}));
    EXPECT_EQ(now.repeatCount, 3);

    // Nothing reaches the program's store before commit.
    EXPECT_EQ(readLe16(store->entry(0) + 12), 0);
    m.commit(*store, names);
    EXPECT_EQ(readLe16(store->entry(0) + 12), 3);
    EXPECT_EQ(readLe32(store->entry(0) + 4), 1u);
    EXPECT_EQ(names.name(0), u"Greeting");
    EXPECT_EQ(readLe16(store->entry(4) + 12), 2);  // the foreign macro is untouched
}

TEST_F(MacroEditor, TooManyStepsAreRefusedWhole) {
    MacroEditorModel m(*store, names, 4);
    EXPECT_EQ(m.setSteps(Steps(266)), E::TooManySteps);
    EXPECT_EQ(m.current().steps.size(), 2u);
    EXPECT_EQ(m.setSteps(Steps(265)), E::None);
    EXPECT_EQ(m.current().steps.size(), 265u);
}

TEST_F(MacroEditor, DeleteMovesTheSelectionAndFullStoreRefusesNew) {
    MacroEditorModel m(*store, names, 4);
    EXPECT_EQ(m.deleteSelected(), E::None);  // the next one is selected
    EXPECT_EQ(m.listed(), (std::vector<std::size_t>{9}));
    EXPECT_EQ(m.selected(), 9u);
    MacroEditorModel last(*store, names, 9);
    EXPECT_EQ(last.deleteSelected(), E::None);  // the last one: the one before it
    EXPECT_EQ(last.selected(), 4u);
    EXPECT_EQ(m.deleteSelected(), E::None);
    EXPECT_EQ(m.selected(), std::nullopt);
    EXPECT_EQ(m.deleteSelected(), E::NoSelection);
    EXPECT_EQ(m.rename(u"x"), E::NoSelection);
    EXPECT_EQ(m.setSteps(Steps(1)), E::NoSelection);

    for (int i = 0; i < 100; ++i) ASSERT_EQ(m.createNew(u"m"), E::None) << i;
    EXPECT_EQ(m.createNew(u"one more"), E::Full);
}

}  // namespace
}  // namespace mv
