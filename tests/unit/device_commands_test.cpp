#include <gtest/gtest.h>

#include "device/device_commands.h"
#include "device/device_presence.h"
#include "device/hid_usage.h"
#include "support/fake_driver_port.h"

namespace mv {
namespace {

using test::FakeDriverPort;

struct Channel : ::testing::Test {
    FakeDriverPort port;
    DeviceCommands device{port};
    FunctionRecordArray records{};
    void SetUp() override {
        ResetRecordsToDefaults(records);
        device.setSemaphoreHandle(0x1234);
        ASSERT_TRUE(device.OpenDevice());
        port.calls.clear();
    }
};

TEST(DriverBlocks, RequestBytes) {
    const auto open = DriverRequest::Open(0xCAFE);
    std::array<std::uint8_t, 168> expected{};
    expected[0] = 1;
    const std::string_view text = "MORVI 5G Wireless Device";
    std::copy(text.begin(), text.end(), expected.begin() + 108);
    expected[160] = 0xFE;
    expected[161] = 0xCA;
    EXPECT_EQ(open.bytes, expected);

    const auto mode = DriverRequest::Mode(0x19E);
    EXPECT_EQ(mode.bytes[0], 20);
    EXPECT_EQ(mode.bytes[4], 0x9E);
    EXPECT_EQ(mode.bytes[5], 0x01);
    EXPECT_EQ(mode.bytes[8], 0x01);
    EXPECT_EQ(mode.bytes[9], 0x06);
    EXPECT_EQ(mode.bytes[10], 0x07);
    EXPECT_EQ(mode.bytes[160], 0);

    const auto write = DriverRequest::RegisterWrite(0xB6);
    EXPECT_EQ(write.bytes[24], 1);
    EXPECT_EQ(write.bytes[28], 0xBA);
    EXPECT_EQ(write.bytes[29], 0x02);
    EXPECT_EQ(write.bytes[30], 0x01);
    EXPECT_EQ(write.bytes[32], 0xB6);
    EXPECT_EQ(write.bytes[33], 0);

    const auto read = DriverRequest::RegisterRead({0xB6, 7, 8});
    EXPECT_EQ(read.bytes[24], 3);
    EXPECT_EQ(read.bytes[26], 1);
    EXPECT_EQ(read.bytes[29], 0x01);
    EXPECT_EQ(read.bytes[34], 8);

    KeyInterceptList keys{};
    keys[11] = 0x100A;
    const auto list = DriverRequest::KeyList(keys);
    EXPECT_EQ(list.bytes[0], 128);
    EXPECT_EQ(list.bytes[57], 0x02);
    EXPECT_EQ(list.bytes[60 + 44], 0x0A);
    EXPECT_EQ(list.bytes[60 + 45], 0x10);
}

TEST(DriverBlocks, DeviceTextIsBoundedAndTerminated) {
    std::array<std::uint8_t, 50> field;
    field.fill(0xFF);
    WriteDeviceText(field.data(), std::string(80, 'x'));
    EXPECT_EQ(field[48], 'x');
    EXPECT_EQ(field[49], 0);
    const auto event = DriverEvent::Initial();
    EXPECT_EQ(event.bytes[4], 'M');
    EXPECT_EQ(event.bytes[4 + 24], 0);
    EXPECT_EQ(event.code(), 0u);
}

TEST(HidUsage, TellingRows) {
    EXPECT_EQ(HidUsageForVirtualKey(0x86), 0x72);
    EXPECT_EQ(HidUsageForVirtualKey(0x0D), 0x28);  // the keypad Enter row is shadowed
    EXPECT_EQ(HidUsageForVirtualKey(0x08), 0x2A);
    EXPECT_EQ(HidUsageForVirtualKey(0x4D), 0x10);
    EXPECT_EQ(HidUsageForVirtualKey(0x44), 0x07);
    EXPECT_EQ(HidUsageForVirtualKey(0x60), 0x62);
    const std::uint8_t modifiers[] = {0xA2, 0xA0, 0xA4, 0x5B, 0xA3, 0xA1, 0xA5, 0x5C};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(HidUsageForVirtualKey(modifiers[i]), 0xE0 + i);
    EXPECT_EQ(HidUsageForVirtualKey(0x5D), 0x65);
    EXPECT_EQ(HidUsageForVirtualKey(0x00), 0);
    EXPECT_EQ(VirtualKeyUsageTable[2 * 94], 0x58);
    EXPECT_EQ(VirtualKeyUsageTable[2 * 94 + 1], 0x0D);
}

TEST(ChannelOpen, SendsSemaphoreAndClosesOnRefusal) {
    FakeDriverPort port;
    DeviceCommands device{port};
    device.setSemaphoreHandle(0x7C);
    port.results = {false};
    EXPECT_FALSE(device.OpenDevice());
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.closes, 1);
    ASSERT_EQ(port.calls.size(), 1u);
    EXPECT_EQ(port.word(0, 160), 0x7Cu);
    EXPECT_EQ(port.calls[0].outLength, 0u);
    port.present = false;
    EXPECT_FALSE(device.OpenDevice());
    EXPECT_EQ(port.calls.size(), 1u);
}

TEST_F(Channel, DefaultsSendModeZeroEightListsAndBaseMode) {
    ASSERT_TRUE(device.SendDeviceSettings(records));
    ASSERT_EQ(port.calls.size(), 10u);
    EXPECT_EQ(port.word(0, 0), 20u);
    EXPECT_EQ(port.word(0, 4), 0u);
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(port.word(i, 0), 128u);
        for (int k = 0; k < 12; ++k) EXPECT_EQ(port.word(i, 60 + 4 * k), 0u);
    }
    EXPECT_EQ(port.word(9, 0), 20u);
    EXPECT_EQ(port.word(9, 4), 0x180u);
    for (const auto& call : port.calls) EXPECT_EQ(call.code, IOCTL_MVTOUCH_WRITE);
}

TEST_F(Channel, ModeFlagsFollowChangedButtons) {
    records[1].setActionCode(7);
    EXPECT_EQ(ModeFlagsFor(records), 0x182u);
    records[11].setActionCode(7);
    records[12].setActionCode(7);
    records[13].setActionCode(7);
    device.SendDeviceSettings(records);
    EXPECT_EQ(port.word(port.calls.size() - 1, 4), 0x19Eu);
}

TEST_F(Channel, KeyListAddsOnceAndRemoves) {
    records[10].setActionCode(1);
    device.SendDeviceSettings(records);
    device.SendDeviceSettings(records);
    EXPECT_EQ(std::count(device.keyList().begin(), device.keyList().end(), 0x0008u), 1);
    EXPECT_EQ(port.word(port.calls.size() - 2, 60), 0x0008u);
    records[14].setActionCode(1);
    records[6].setActionCode(1);
    device.SendDeviceSettings(records);
    EXPECT_EQ(device.keyList()[1], 0x100Au);
    EXPECT_EQ(device.keyList()[2], 0x2A09u);
    ResetRecordsToDefaults(records);
    device.SendDeviceSettings(records);
    for (auto entry : device.keyList()) EXPECT_EQ(entry, 0u);
}

TEST_F(Channel, FullListStaysUnchangedButIsSent) {
    for (std::uint8_t vk = 0x41; vk < 0x41 + 12; ++vk) device.UpdateInterceptKey(vk, 0, true);
    const auto before = device.keyList();
    port.calls.clear();
    EXPECT_TRUE(device.UpdateInterceptKey(0x44, 0x08, true));
    EXPECT_EQ(device.keyList(), before);
    EXPECT_EQ(port.calls.size(), 1u);
}

TEST_F(Channel, OnlyTheFirstTwoRequestsDecide) {
    port.results = {true, true, false, false, false, false, false, false, false, false};
    EXPECT_TRUE(device.SendDeviceSettings(records));
    port.calls.clear();
    port.results = {true, false};
    EXPECT_FALSE(device.SendDeviceSettings(records));
    EXPECT_EQ(port.calls.size(), 2u);
}

TEST(ChannelClosed, EveryCommandFailsWithoutACall) {
    FakeDriverPort port;
    DeviceCommands device{port};
    FunctionRecordArray records{};
    std::array<std::uint8_t, 3> data{1, 2, 3};
    std::uint32_t value = 77;
    EXPECT_FALSE(device.SetMode(0));
    EXPECT_FALSE(device.UpdateInterceptKey(0x44, 8, true));
    EXPECT_FALSE(device.WriteRegister(1));
    EXPECT_FALSE(device.ReadRegister(data));
    EXPECT_FALSE(device.ReadBattery(value));
    EXPECT_FALSE(device.SendDeviceSettings(records));
    EXPECT_TRUE(port.calls.empty());
    EXPECT_EQ(value, 77u);
    EXPECT_EQ(device.keyList()[0], 0u);
}

TEST_F(Channel, BatteryAnswers) {
    std::uint32_t value = 99;
    port.registerAnswer = {1, 0x02, 0x1C};
    ASSERT_TRUE(device.ReadBattery(value));
    EXPECT_EQ(value, 540u);
    ASSERT_EQ(port.calls.size(), 2u);
    EXPECT_EQ(port.calls[0].in[32], 0xB6);
    EXPECT_EQ(port.calls[0].outLength, 0u);
    EXPECT_EQ(port.calls[1].in[32], 0xB6);
    EXPECT_TRUE(port.calls[1].sameBuffer);
    EXPECT_EQ(port.calls[1].outLength, 168u);
    EXPECT_EQ(port.sleeps, std::vector<std::uint32_t>{20});
    port.registerAnswer = {1, 0x04, 0xB1};
    ASSERT_TRUE(device.ReadBattery(value));
    EXPECT_EQ(value, 0u);
    value = 99;
    port.registerAnswer = {0, 0x01, 0x00};
    EXPECT_FALSE(device.ReadBattery(value));
    EXPECT_EQ(value, 99u);
    port.results = {true, false};  // failed read leaves 0xB6 as the status
    EXPECT_FALSE(device.ReadBattery(value));
}

TEST(Presence, ReceiverPrefixes) {
    EXPECT_TRUE(IsReceiverInterface(u"\\\\?\\usb#vid_f0ca&pid_2001#5&1#{a5dcbf10}"));
    EXPECT_TRUE(IsReceiverInterface(u"\\\\?\\USB#VID_F0CA&PID_1002#x"));
    EXPECT_FALSE(IsReceiverInterface(u"\\\\?\\USB#VID_F0CA&PID_1001#x"));
    EXPECT_FALSE(IsReceiverInterface(u"USB#Vid_F0CA&Pid_200"));
}

TEST(Presence, BroadcastNameIsBounded) {
    std::vector<std::uint8_t> block(28 + 6, 0);
    block[4] = 5;
    block[28] = 'A';
    block[30] = 'B';
    block[32] = 'C';  // no terminator inside the block
    EXPECT_EQ(InterfaceNameFromBroadcast(block.data(), block.size()), u"ABC");
    block[4] = 2;
    EXPECT_EQ(InterfaceNameFromBroadcast(block.data(), block.size()), u"");
    EXPECT_EQ(InterfaceNameFromBroadcast(block.data(), 10), u"");
}

TEST(Presence, BatteryWarnsOnceUntilReopened) {
    BatteryWatch watch;
    watch.onDeviceOpened();
    EXPECT_FALSE(watch.onReading(true, 541));
    EXPECT_FALSE(watch.onReading(false, 0));
    EXPECT_TRUE(watch.onReading(true, 540));
    EXPECT_FALSE(watch.onReading(true, 0));
    watch.onDeviceOpened();
    EXPECT_TRUE(watch.onReading(true, 0));
}

TEST(Presence, BalloonSizeByGeneration) {
    EXPECT_EQ(LowBatteryBalloon(5, u"low").cbSize, 956u);
    EXPECT_EQ(LowBatteryBalloon(4, u"low").cbSize, 952u);
    const auto balloon = LowBatteryBalloon(6, std::u16string(300, u'x'));
    EXPECT_EQ(balloon.text.size(), 255u);
    EXPECT_EQ(balloon.title, u"Morvi Corvel");
    EXPECT_EQ(balloon.flags, 0x10u);
    EXPECT_EQ(balloon.infoFlags, 2u);
    EXPECT_EQ(balloon.timeoutMs, 5000u);
}

}  // namespace
}  // namespace mv
