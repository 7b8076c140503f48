#include <gtest/gtest.h>

#include "settings/function_record.h"
#include "settings/settings_images.h"
#include "gesture/slot_catalogue.h"

namespace mv {
namespace {

TEST(FunctionRecord, FieldsLiveAtTheirByteOffsets) {
    FunctionRecord r;
    for (std::size_t i = 0; i < r.bytes.size(); ++i) r.bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    EXPECT_EQ(r.reserved(), 3);
    EXPECT_EQ(r.actionCode(), 10);
    EXPECT_EQ(r.macroIndex(), 17);
    EXPECT_EQ(r.chordModifiers(), 24);
    EXPECT_EQ(r.chordKey1(), 31);
    EXPECT_EQ(r.chordKey2(), 38);
    r.setActionCode(0x55);
    EXPECT_EQ(r.bytes[1], 0x55);
    EXPECT_EQ(r.bytes[0], 3);
    EXPECT_EQ(r.bytes[2], 17);
}

TEST(FunctionRecord, PathIsLittleEndianAndBoundedWithoutTerminator) {
    FunctionRecord r;
    r.bytes[6] = 'C';
    r.bytes[8] = ':';
    r.bytes[10] = 0x34;
    r.bytes[11] = 0x12;
    EXPECT_EQ(r.programPath(), (std::u16string{u'C', u':', u'\x1234'}));

    // A path field with no zero unit yields exactly 260 units and reads nothing beyond the record.
    for (std::size_t i = 6; i < r.bytes.size(); ++i) r.bytes[i] = 0x41;
    EXPECT_EQ(r.programPath().size(), 260u);

    r.setProgramPath(std::u16string(400, u'x'));
    EXPECT_EQ(r.programPath(), std::u16string(259, u'x'));
    EXPECT_EQ(r.bytes[524], 0);
    EXPECT_EQ(r.bytes[525], 0);
}

TEST(FunctionRecord, ResetTouchesOnlyTheActionCodes) {
    FunctionRecordArray records;
    for (auto& r : records) r.bytes.fill(0xEE);
    ResetRecordsToDefaults(records);
    for (int n = 0; n < kSlotCount; ++n) {
        EXPECT_EQ(records[n].actionCode(), DefaultActionTable[n]);
        EXPECT_EQ(records[n].reserved(), 0xEE);
        for (std::size_t i = 2; i < FunctionRecord::kSize; ++i) ASSERT_EQ(records[n].bytes[i], 0xEE) << n << ":" << i;
    }
}

TEST(SettingsImages, RecordsSitAtOffsetSixteenOfTheBlob) {
    ButtonSettingBlob blob;
    blob.records[2].setActionCode(0x99);
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&blob);
    EXPECT_EQ(raw[16 + 526 * 2 + 1], 0x99);
    EXPECT_EQ(sizeof blob, 19488u);
    EXPECT_EQ(sizeof(MacroStore), 214004u);
}

TEST(SlotCatalogue, DefaultsAreDistinctAndMatchTheTable) {
    for (int n = 0; n < kSlotCount; ++n) {
        EXPECT_EQ(SlotCatalogue[n].defaultAction, DefaultActionTable[n]) << n;
        for (int m = n + 1; m < kSlotCount; ++m) EXPECT_NE(DefaultActionTable[n], DefaultActionTable[m]);
    }
    // Each slot with an event code is found again through its code.
    for (int n = 0; n < kSlotCount; ++n) {
        if (!SlotCatalogue[n].eventCode) continue;
        const auto key = GestureKeyForEvent(*SlotCatalogue[n].eventCode);
        ASSERT_TRUE(key) << n;
        EXPECT_EQ(SlotForGestureKey(*key), n);
    }
    EXPECT_FALSE(SlotCatalogue[0].eventCode);
    EXPECT_FALSE(SlotCatalogue[16].eventCode);
    EXPECT_FALSE(SlotCatalogue[0].hasMenu);
    EXPECT_FALSE(SlotCatalogue[2].hasMenu);
    EXPECT_FALSE(SlotCatalogue[3].hasMenu);
    EXPECT_FALSE(SlotCatalogue[16].hasMenu);
    EXPECT_TRUE(SlotCatalogue[1].hasMenu);
}

}  // namespace
}  // namespace mv
