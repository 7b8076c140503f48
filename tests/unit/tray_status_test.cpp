// The tray tooltip's status lines and the pause of the gestures.
#include <gtest/gtest.h>

#include "device/device_status.h"
#include "gesture/gesture_pause.h"

namespace mv {
namespace {

StatusTexts Texts() {
    StatusTexts t;
    t.title = u"Morvi Corvel Config";
    t.connected = u"Receiver connected";
    t.notFound = u"Receiver not found";
    t.unplugged = u"Receiver removed";
    t.batteryUnknown = u"Battery: unknown";
    t.batteryLow = u"Battery: low";
    t.batteryFair = u"Battery: fair";
    t.batteryGood = u"Battery: good";
    t.paused = u"Gestures paused";
    return t;
}

TEST(BatteryLevel, BoundariesFollowTheWarningThresholdAndTheGoodMark) {
    EXPECT_EQ(BatteryLevelOf(0), BatteryLevel::Low);  // a raw value above 1200 arrives as 0
    EXPECT_EQ(BatteryLevelOf(540), BatteryLevel::Low);
    EXPECT_EQ(BatteryLevelOf(541), BatteryLevel::Fair);
    EXPECT_EQ(BatteryLevelOf(870), BatteryLevel::Fair);
    EXPECT_EQ(BatteryLevelOf(871), BatteryLevel::Good);
    EXPECT_EQ(BatteryLevelOf(1000), BatteryLevel::Good);
    EXPECT_EQ(BatteryLevelOf(65535), BatteryLevel::Good);
}

TEST(DeviceStatus, FollowsOpensReadingsAndRemovals) {
    DeviceStatus s;
    const StatusTexts t = Texts();
    EXPECT_EQ(TrayTip(s, false, t), u"Morvi Corvel Config\nReceiver not found");
    s.onBatteryReading(true, 1000);  // no reading counts before an open
    EXPECT_EQ(s.battery(), BatteryLevel::Unknown);

    s.onOpened();
    EXPECT_EQ(TrayTip(s, false, t), u"Morvi Corvel Config\nReceiver connected\nBattery: unknown");
    s.onBatteryReading(true, 1000);
    EXPECT_EQ(TrayTip(s, false, t), u"Morvi Corvel Config\nReceiver connected\nBattery: good");
    s.onBatteryReading(true, 540);
    EXPECT_EQ(TrayTip(s, false, t), u"Morvi Corvel Config\nReceiver connected\nBattery: low");
    s.onBatteryReading(false, 1000);  // a failed read says nothing about the level
    EXPECT_EQ(s.battery(), BatteryLevel::Unknown);
    s.onBatteryReading(true, 700);
    EXPECT_EQ(s.battery(), BatteryLevel::Fair);

    s.onRemoved();
    EXPECT_EQ(TrayTip(s, false, t), u"Morvi Corvel Config\nReceiver removed");
    s.onBatteryReading(true, 1000);  // the poll goes on after a removal; its reads do not count
    EXPECT_EQ(TrayTip(s, true, t), u"Morvi Corvel Config\nReceiver removed\nGestures paused");
    s.onOpened();  // plugged in again: the level is read anew
    EXPECT_EQ(TrayTip(s, true, t),
              u"Morvi Corvel Config\nReceiver connected\nBattery: unknown\nGestures paused");
}

TEST(DeviceStatus, TipStaysWithinTheFieldAndLeavesOutWhatIsMissing) {
    DeviceStatus s;
    s.onOpened();
    s.onBatteryReading(true, 900);
    StatusTexts t = Texts();
    t.connected.clear();  // a language file without the added keys
    t.batteryGood.clear();
    EXPECT_EQ(TrayTip(s, false, t), u"Morvi Corvel Config");
    t = Texts();
    t.title = std::u16string(100, u'T');
    // The title and the receiver line fit (100 + 1 + 18); the battery line would not.
    EXPECT_EQ(TrayTip(s, true, t), std::u16string(100, u'T') + u"\nReceiver connected");
    t.title = std::u16string(126, u'T') + u"\xD83D\xDE00";  // a pair across the limit
    const std::u16string tip = TrayTip(s, false, t);
    EXPECT_EQ(tip, std::u16string(126, u'T'));
    t.title = std::u16string(300, u'x');
    EXPECT_EQ(TrayTip(s, false, t).size(), kTrayTipUnits - 1);
}

TEST(GesturePause, PausedHandsOutTheDefaultsAndNeverTouchesTheUsersRecords) {
    FunctionRecordArray user{};
    ResetRecordsToDefaults(user);
    user[1].setActionCode(64);
    user[11].setActionCode(20);
    user[11].bytes[FunctionRecord::kMacroIndexOffset] = 3;
    const FunctionRecordArray before = user;
    FunctionRecordArray defaults{};
    ResetRecordsToDefaults(defaults);

    GesturePause pause;
    EXPECT_FALSE(pause.paused());
    EXPECT_EQ(&pause.active(user), &user);
    pause.setPaused(true);
    EXPECT_EQ(pause.active(user), defaults);
    EXPECT_EQ(user, before);
    pause.setPaused(false);
    EXPECT_EQ(&pause.active(user), &user);
    EXPECT_EQ(pause.active(user), before);
}

}  // namespace
}  // namespace mv
