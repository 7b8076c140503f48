// Decoding of event codes into slots and the Ctrl+wheel zoom rule.
#include <gtest/gtest.h>

#include "actions/windows_generation.h"
#include "gesture/gesture_events.h"
#include "settings/settings_images.h"
#include "support/fake_platform.h"

namespace mv {
namespace {

class GestureDecoding : public ::testing::Test {
protected:
    GestureDecoding() {
        ResetRecordsToDefaults(records);
        // Give every record a recognisable reserved byte so the dispatched record can be told apart.
        for (int n = 0; n < kSlotCount; ++n) records[n].bytes[0] = static_cast<std::uint8_t>(0x40 + n);
    }
    // The slot whose record was dispatched (-1 for a transient record), and its ActionCode.
    std::vector<std::pair<int, int>> feed(DeviceEventCode code) {
        dispatched.clear();
        events.OnGestureEvent(code, records, [&](const FunctionRecord& r) {
            const int slot = (&r >= &records[0] && &r <= &records[kSlotCount - 1]) ? int(&r - &records[0]) : -1;
            dispatched.push_back({slot, r.actionCode()});
            if (slot < 0) {
                EXPECT_EQ(r, MakeRecord(r.actionCode())) << "transient records carry only a code";
            }
        });
        return dispatched;
    }
    using Hits = std::vector<std::pair<int, int>>;

    test::FakePlatform clock;
    GestureEvents events{clock};
    FunctionRecordArray records;
    Hits dispatched;
};

TEST_F(GestureDecoding, EveryListedCodeSelectsItsSlot) {
    clock.now = 100000;
    const std::pair<DeviceEventCode, int> table[] = {
        {0x00000101, 2},  {0x000001FF, 3},  {0x00000201, 5},  {0x000002FF, 4},  {0x00008002, 1},
        {0x00008004, 11}, {0x00008008, 12}, {0x00008010, 13}, {0x80000008, 10}, {0x80000708, 9},
        {0x80001008, 15}, {0x8000100A, 14}, {0x80002A09, 6},  {0x80007209, 8},  {0x8000720C, 7}};
    for (const auto& [code, slot] : table)
        EXPECT_EQ(feed(code), (Hits{{slot, DefaultActionTable[slot]}})) << std::hex << code;
}

TEST_F(GestureDecoding, UnlistedCodesAndTheCtrlReportDispatchNothing) {
    clock.now = 100000;
    for (DeviceEventCode code : {0x400001A2u, 0x50005608u, 0x50005708u, 0u, 0x00008001u, 0x00008020u, 0x000001FEu,
                                 0x80000002u, 0xFFFFFFFFu, 0x80000001u})
        EXPECT_TRUE(feed(code).empty()) << std::hex << code;
}

TEST_F(GestureDecoding, WheelWithinTenMillisecondsOfCtrlZooms) {
    clock.now = 5000;
    feed(0x80000001);
    EXPECT_EQ(events.lastCtrlReport(), 5000u);
    clock.now = 5010;
    EXPECT_EQ(feed(0x00000101), (Hits{{-1, 35}}));
    EXPECT_EQ(feed(0x000001FF), (Hits{{-1, 36}}));
    clock.now = 5011;
    EXPECT_EQ(feed(0x00000101), (Hits{{2, 9}}));
    EXPECT_EQ(feed(0x000001FF), (Hits{{3, 10}}));
}

TEST_F(GestureDecoding, ZoomRuleUsesTheAbsoluteDifferenceAndOnlyTheVerticalWheel) {
    clock.now = 7000;
    feed(0x80000001);
    clock.now = 6990;  // Ctrl report later than the wheel event
    EXPECT_EQ(feed(0x00000101), (Hits{{-1, 35}}));
    clock.now = 6989;
    EXPECT_EQ(feed(0x00000101), (Hits{{2, 9}}));
    clock.now = 7000;
    EXPECT_EQ(feed(0x00000201), (Hits{{5, 17}}));
    EXPECT_EQ(feed(0x000002FF), (Hits{{4, 16}}));
}

TEST_F(GestureDecoding, BeforeAnyCtrlReportOnlyTinyTickCountsZoom) {
    clock.now = 10;
    EXPECT_EQ(feed(0x00000101), (Hits{{-1, 35}}));
    clock.now = 11;
    EXPECT_EQ(feed(0x00000101), (Hits{{2, 9}}));
}

TEST_F(GestureDecoding, DifferenceIsTakenOnUnsignedTicksAcrossTheWrap) {
    clock.now = 0xFFFFFFFA;
    feed(0x80000001);
    clock.now = 0xFFFFFFFF;
    EXPECT_EQ(feed(0x00000101), (Hits{{-1, 35}}));
    // Larger minus smaller: a report just before the wrap is far from a wheel event just after it.
    clock.now = 3;
    EXPECT_EQ(feed(0x00000101), (Hits{{2, 9}}));
}

TEST_F(GestureDecoding, TheRecordIsReadAtTheMomentOfDispatch) {
    clock.now = 100000;
    records[1].setActionCode(0x41);
    EXPECT_EQ(feed(0x00008002), (Hits{{1, 0x41}}));
}

TEST(WindowsGeneration, ClassifiesTheReportedVersion) {
    struct Case {
        VersionInfo v;
        int generation;
    };
    const Case cases[] = {
        {{1, 4, 0}, 1},  {{1, 4, 89}, 1}, {{1, 4, 90}, 2}, {{1, 5, 0}, 0}, {{2, 5, 0}, 3},  {{2, 5, 1}, 4},
        {{2, 5, 2}, 4},  {{2, 6, 0}, 5},  {{2, 6, 1}, 6},  {{2, 6, 2}, 7}, {{2, 6, 3}, 0},  {{2, 10, 0}, 0},
        {{2, 4, 0}, 0},  {{0, 6, 1}, 0},  {{3, 6, 1}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClassifyWindowsVersion(c.v), c.generation) << c.v.platformId << " " << c.v.major << "." << c.v.minor;
    test::FakePlatform p;
    for (int g = 0; g <= 7; ++g) {
        p.setGeneration(g);
        EXPECT_EQ(WindowsGeneration(p), g);
    }
}

}  // namespace
}  // namespace mv

#include "gesture/dispatcher.h"

namespace mv {
namespace {

// Feeding every kind of event through decoding and the real actions never
// changes a stored record: reserved byte and parameters survive.
TEST(GestureCore, StoredRecordsSurviveEverythingTheCoreDoes) {
    test::FakeActions a;
    CFaceBookFunction facebook(a.platform, a.platform);
    GestureEvents events(a.platform);
    ButtonSettingBlob blob;
    for (std::size_t i = 0; i < blob.records.size(); ++i)
        for (std::size_t b = 0; b < FunctionRecord::kSize; ++b)
            blob.records[i].bytes[b] = static_cast<std::uint8_t>(i * 31 + b * 7 + 1);
    ResetRecordsToDefaults(blob.records);
    blob.records[0].bytes[0] = 0xD7;
    const ButtonSettingBlob before = blob;
    const auto bytesOf = [](const ButtonSettingBlob& b) {
        return std::vector<std::uint8_t>(reinterpret_cast<const std::uint8_t*>(&b),
                                         reinterpret_cast<const std::uint8_t*>(&b) + sizeof b);
    };

    const DeviceEventCode codes[] = {0x80000001, 0x00000101, 0x000001FF, 0x00000201, 0x000002FF, 0x00008002,
                                     0x00008004, 0x00008008, 0x00008010, 0x80000008, 0x80000708, 0x80001008,
                                     0x8000100A, 0x80002A09, 0x80007209, 0x8000720C, 0x400001A2};
    for (int round = 0; round < 3; ++round)
        for (const DeviceEventCode code : codes) {
            a.platform.now += 7;
            events.OnGestureEvent(code, blob.records,
                                  [&](const FunctionRecord& r) { ExecuteFunction(r, facebook, a.context); });
        }
    EXPECT_EQ(bytesOf(blob), bytesOf(before));
    EXPECT_FALSE(a.platform.log.empty());
    SavedMinimizedWindow = 0;
}

}  // namespace
}  // namespace mv
