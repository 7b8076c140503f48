#include <gtest/gtest.h>

#include <iterator>

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

// The whole table, row by row in its order: (virtual key, HID usage of that key on the
// keyboard/keypad page).
TEST(HidUsage, EveryRowInTableOrder) {
    struct Row {
        std::uint8_t vk, usage;
        const char* key;
    };
    const Row rows[] = {
        {0x1B, 0x29, "Escape"},
        {0x70, 0x3A, "F1"}, {0x71, 0x3B, "F2"}, {0x72, 0x3C, "F3"}, {0x73, 0x3D, "F4"}, {0x74, 0x3E, "F5"},
        {0x75, 0x3F, "F6"}, {0x76, 0x40, "F7"}, {0x77, 0x41, "F8"}, {0x78, 0x42, "F9"}, {0x79, 0x43, "F10"},
        {0x7A, 0x44, "F11"}, {0x7B, 0x45, "F12"},
        {0x86, 0x72, "F23"},
        {0x41, 0x04, "A"}, {0x42, 0x05, "B"}, {0x43, 0x06, "C"}, {0x44, 0x07, "D"}, {0x45, 0x08, "E"},
        {0x46, 0x09, "F"}, {0x47, 0x0A, "G"}, {0x48, 0x0B, "H"}, {0x49, 0x0C, "I"}, {0x4A, 0x0D, "J"},
        {0x4B, 0x0E, "K"}, {0x4C, 0x0F, "L"}, {0x4D, 0x10, "M"}, {0x4E, 0x11, "N"}, {0x4F, 0x12, "O"},
        {0x50, 0x13, "P"}, {0x51, 0x14, "Q"}, {0x52, 0x15, "R"}, {0x53, 0x16, "S"}, {0x54, 0x17, "T"},
        {0x55, 0x18, "U"}, {0x56, 0x19, "V"}, {0x57, 0x1A, "W"}, {0x58, 0x1B, "X"}, {0x59, 0x1C, "Y"},
        {0x5A, 0x1D, "Z"},
        {0x31, 0x1E, "1"}, {0x32, 0x1F, "2"}, {0x33, 0x20, "3"}, {0x34, 0x21, "4"}, {0x35, 0x22, "5"},
        {0x36, 0x23, "6"}, {0x37, 0x24, "7"}, {0x38, 0x25, "8"}, {0x39, 0x26, "9"},
        {0x30, 0x27, "0"},
        {0x09, 0x2B, "Tab"},
        {0x14, 0x39, "Caps Lock"},
        {0x0D, 0x28, "Enter"},
        {0x08, 0x2A, "Backspace"},
        {0x20, 0x2C, "Space"},
        {0xDB, 0x2F, "["}, {0xDD, 0x30, "]"}, {0xDC, 0x31, "\\"}, {0xBA, 0x33, ";"}, {0xDE, 0x34, "'"},
        {0xBC, 0x36, ","}, {0xBE, 0x37, "."}, {0xBF, 0x38, "/"}, {0xC0, 0x35, "grave accent"},
        {0xBB, 0x2E, "="},
        {0xBD, 0x2D, "-"},
        {0x2C, 0x46, "Print Screen"},
        {0x91, 0x47, "Scroll Lock"},
        {0x13, 0x48, "Pause"},
        {0x2D, 0x49, "Insert"},
        {0x24, 0x4A, "Home"},
        {0x21, 0x4B, "Page Up"},
        {0x2E, 0x4C, "Delete"},
        {0x23, 0x4D, "End"},
        {0x22, 0x4E, "Page Down"},
        {0x26, 0x52, "Up"},
        {0x28, 0x51, "Down"},
        {0x25, 0x50, "Left"},
        {0x27, 0x4F, "Right"},
        {0x61, 0x59, "keypad 1"}, {0x62, 0x5A, "keypad 2"}, {0x63, 0x5B, "keypad 3"}, {0x64, 0x5C, "keypad 4"},
        {0x65, 0x5D, "keypad 5"}, {0x66, 0x5E, "keypad 6"}, {0x67, 0x5F, "keypad 7"}, {0x68, 0x60, "keypad 8"},
        {0x69, 0x61, "keypad 9"},
        {0x60, 0x62, "keypad 0"},
        {0x6B, 0x57, "keypad +"}, {0x6D, 0x56, "keypad -"}, {0x6A, 0x55, "keypad *"}, {0x6F, 0x54, "keypad /"},
        {0x90, 0x53, "Num Lock"},
        {0x0D, 0x58, "Enter again (keypad Enter)"},
        {0x6E, 0x63, "keypad decimal point"},
        {0xA2, 0xE0, "left Ctrl"}, {0xA0, 0xE1, "left Shift"}, {0xA4, 0xE2, "left Alt"}, {0x5B, 0xE3, "left Windows"},
        {0xA3, 0xE4, "right Ctrl"}, {0xA1, 0xE5, "right Shift"}, {0xA5, 0xE6, "right Alt"},
        {0x5C, 0xE7, "right Windows"},
        {0x5D, 0x65, "Applications"},
    };
    static_assert(std::size(rows) == kHidUsageRows);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].key);
        EXPECT_EQ(VirtualKeyUsageTable[2 * i], rows[i].usage) << "row " << i;
        EXPECT_EQ(VirtualKeyUsageTable[2 * i + 1], rows[i].vk) << "row " << i;
    }
    // Lookup takes the first row of a key: the keypad Enter row is shadowed by Enter.
    for (const Row& row : rows) {
        if (row.usage == 0x58) continue;
        EXPECT_EQ(HidUsageForVirtualKey(row.vk), row.usage) << row.key;
    }
    EXPECT_EQ(HidUsageForVirtualKey(0x0D), 0x28);
    EXPECT_EQ(HidUsageForVirtualKey(0x00), 0);
    EXPECT_EQ(HidUsageForVirtualKey(0x87), 0) << "F24 has no row";
}

TEST(ChannelRead, OnlyAWholeEventIsAnEventAndAShortReplyNeverRepeatsTheLastOne) {
    test::FakeDriverPort port;
    ASSERT_TRUE(port.openDevice());
    DriverEvent buffer = DriverEvent::Initial();
    port.eventCodes = {0x8004};
    ASSERT_TRUE(ReadDriverEvent(port, buffer));
    EXPECT_EQ(buffer.code(), 0x8004u);
    const DriverEvent initial = DriverEvent::Initial();
    EXPECT_EQ(port.calls[0].in, std::vector<std::uint8_t>(initial.bytes.begin(), initial.bytes.end()))
        << "the first read hands the driver the device text";
    // Nothing written, or less than an event: the buffer still holds the last event.
    for (std::uint32_t bytes : {0u, 4u, 55u}) {
        port.returnedBytes = {bytes};
        EXPECT_FALSE(ReadDriverEvent(port, buffer)) << bytes;
    }
    port.results = {false};
    EXPECT_FALSE(ReadDriverEvent(port, buffer));
    port.eventCodes = {0x8002};
    ASSERT_TRUE(ReadDriverEvent(port, buffer));
    EXPECT_EQ(buffer.code(), 0x8002u);
    EXPECT_EQ(port.calls.back().code, IOCTL_MVTOUCH_READ);
    EXPECT_TRUE(port.calls.back().sameBuffer);
}

TEST(ChannelRead, AShortRegisterReplyIsNoReading) {
    test::FakeDriverPort port;
    ASSERT_TRUE(port.openDevice());
    DeviceCommands device{port};
    std::array<std::uint8_t, 3> data{kBatteryRegister, 0, 0};
    port.returnedBytes = {DriverRequest::kDataOffset + 2};
    EXPECT_FALSE(device.ReadRegister(data));
    EXPECT_TRUE(device.ReadRegister(data));
    EXPECT_EQ(data, port.registerAnswer);
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
