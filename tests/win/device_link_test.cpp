// CUSBDriver in this process: without a driver (UsbDriverAbsent, any prefix) and against
// the stand-in driver (DeviceLink, run by run-shell.sh once touchsim is installed).
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "framework/messages.h"
#include "device/usb_driver_win.h"
#include "settings/function_record.h"
#include "win/program_support.h"
#include "win32/win32_driver_port.h"

namespace mv::wintest {
namespace {

// A message-only window that records the gesture events posted to it.
class EventSink {
public:
    EventSink() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MvEventSink";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~EventSink() { DestroyWindow(window_); }
    HWND handle() const { return window_; }
    void pump(DWORD ms) { PumpThreadMessages(ms); }
    void pumpUntil(std::size_t count, DWORD ms) {
        for (DWORD waited = 0; waited < ms && codes.size() < count; waited += 20) PumpThreadMessages(20);
    }
    std::vector<std::uint32_t> codes;

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<EventSink*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (self && m == WM_GESTURE_EVENT && lp == 0) {
            self->codes.push_back(static_cast<std::uint32_t>(wp));
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    }
    HWND window_ = nullptr;
};

TEST(UsbDriverAbsent, NoDriverFailsEveryCommandAndNeverPosts) {
    EventSink sink;
    CUSBDriver driver(std::make_unique<Win32DriverPort>(L"\\\\.\\mvtouch-absent"));
    driver.StartReader(sink.handle());
    ASSERT_NE(driver.semaphore(), nullptr);

    HWND hidden = FindWindowW(nullptr, L"Zizozazuzivezude");
    ASSERT_EQ(hidden, driver.GetSafeHwnd());
    RECT r{};
    GetWindowRect(hidden, &r);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 1);
    EXPECT_EQ(r.right - r.left, 1);
    EXPECT_EQ(r.bottom - r.top, 1);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(GetWindowLongW(hidden, GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
    EXPECT_EQ(GetParent(hidden), nullptr);
    // Its class has the default attributes: no class style, cursor, brush or icon.
    EXPECT_EQ(GetClassLongPtrW(hidden, GCL_STYLE), 0u);
    EXPECT_EQ(GetClassLongPtrW(hidden, GCLP_HCURSOR), 0u);
    EXPECT_EQ(GetClassLongPtrW(hidden, GCLP_HBRBACKGROUND), 0u);
    EXPECT_EQ(GetClassLongPtrW(hidden, GCLP_HICON), 0u);
    EXPECT_EQ(GetClassLongPtrW(hidden, GCLP_HICONSM), 0u);

    EXPECT_FALSE(driver.OpenDevice());
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_FALSE(driver.SetMode(0x180));
    std::uint32_t battery = 7;
    EXPECT_FALSE(driver.ReadBattery(battery));
    FunctionRecordArray records{};
    ResetRecordsToDefaults(records);
    EXPECT_FALSE(driver.SendDeviceSettings(records));

    // Announcements without a handle are consumed and post nothing.
    LONG previous = -1;
    ASSERT_TRUE(ReleaseSemaphore(driver.semaphore(), 3, &previous));
    EXPECT_EQ(previous, 0);
    sink.pump(300);
    EXPECT_TRUE(sink.codes.empty());
    EXPECT_EQ(WaitForSingleObject(driver.semaphore(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "signals not consumed";

    EXPECT_TRUE(driver.StopReader());
    EXPECT_EQ(FindWindowW(nullptr, L"Zizozazuzivezude"), nullptr);
}

TEST(UsbDriverAbsent, StartAndStopManyTimesEndsEveryReader) {
    EventSink sink;
    for (int i = 0; i < 50; ++i) {
        CUSBDriver driver(std::make_unique<Win32DriverPort>(L"\\\\.\\mvtouch-absent"));
        driver.StartReader(sink.handle());
        ASSERT_TRUE(driver.StopReader()) << "cycle " << i;
    }
}

class DeviceLink : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Touchsim(L"fail 0").exitCode, 0u) << "stand-in driver not installed";
        ASSERT_EQ(Touchsim(L"plug").exitCode, 0u);
        driver.StartReader(sink.handle());
        ASSERT_TRUE(driver.OpenDevice());
        ASSERT_EQ(TouchsimClientProcess(), GetCurrentProcessId());
    }
    void TearDown() override { driver.StopReader(); }

    EventSink sink;
    CUSBDriver driver{std::make_unique<Win32DriverPort>()};
};

// A device that takes one handle at a time takes the channel again after an arrival: the
// old handle goes first, and the requests go on.
TEST_F(DeviceLink, OpensAgainWithTheOldHandleClosedFirst) {
    ASSERT_TRUE(driver.OpenDevice());
    EXPECT_EQ(TouchsimClientProcess(), GetCurrentProcessId());
    Touchsim(L"clear");
    ASSERT_TRUE(driver.SetMode(0x180));
    const std::vector<std::string> accepted = TouchsimRequests();
    ASSERT_EQ(accepted.size(), 1u);
    EXPECT_EQ(accepted[0], ModeRequest(0x180));
}

TEST_F(DeviceLink, OpenRequestCarriesTheSemaphoreAndTheDeviceText) {
    Touchsim(L"clear");
    ASSERT_TRUE(driver.OpenDevice());
    const auto requests = TouchsimRequests();
    ASSERT_EQ(requests.size(), 1u);
    char expected[128];
    std::snprintf(expected, sizeof expected, "open semaphore=0x%x text=\"MORVI 5G Wireless Device\" out=0",
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(driver.semaphore())));
    EXPECT_EQ(requests[0], expected);
}

TEST_F(DeviceLink, EventsQueuedBeforeTheReaderWakesArriveInOrder) {
    ASSERT_EQ(Touchsim(L"push --burst 0x8004 0x80000001 0x101").exitCode, 0u);
    sink.pumpUntil(3, 3000);
    EXPECT_EQ(sink.codes, (std::vector<std::uint32_t>{0x8004, 0x80000001, 0x101}));
    sink.pump(200);
    EXPECT_EQ(sink.codes.size(), 3u);
}

TEST_F(DeviceLink, AFailedReadConsumesItsSignalAndTheNextWorks) {
    ASSERT_EQ(Touchsim(L"fail 1").exitCode, 0u);
    ASSERT_EQ(Touchsim(L"push 0x1111").exitCode, 0u);
    sink.pump(300);
    EXPECT_TRUE(sink.codes.empty());
    ASSERT_EQ(Touchsim(L"push 0x2222").exitCode, 0u);
    sink.pumpUntil(1, 3000);
    EXPECT_EQ(sink.codes, (std::vector<std::uint32_t>{0x2222}));
    EXPECT_EQ(WaitForSingleObject(driver.semaphore(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(DeviceLink, SettingsGoInOrderWithTheModeOfTheChangedGestures) {
    FunctionRecordArray records{};
    ResetRecordsToDefaults(records);
    records[1].setActionCode(64);   // double-click gesture: cut
    records[14].setActionCode(65);  // four up: copy, an intercepted chord
    Touchsim(L"clear");
    ASSERT_TRUE(driver.SendDeviceSettings(records));
    const auto requests = TouchsimRequests();
    ASSERT_EQ(requests.size(), 10u);
    EXPECT_EQ(requests.front().rfind("mode 0x00000000 ", 0), 0u) << requests.front();
    for (std::size_t i = 1; i <= 8; ++i) EXPECT_EQ(requests[i].rfind("keys 0x00000200:", 0), 0u) << requests[i];
    // Four up (M with left Ctrl + left Alt, 0x0A) is now intercepted: HID usage 0x10 for M.
    EXPECT_NE(requests[8].find(" 0000100a"), std::string::npos) << requests[8];
    EXPECT_EQ(requests.back().rfind("mode 0x00000182 ", 0), 0u) << requests.back();

    ResetRecordsToDefaults(records);
    Touchsim(L"clear");
    ASSERT_TRUE(driver.SendDeviceSettings(records));
    const auto defaults = TouchsimRequests();
    ASSERT_EQ(defaults.size(), 10u);
    EXPECT_EQ(defaults[8].find(" 0000100a"), std::string::npos) << "the chord was not removed: " << defaults[8];
    EXPECT_EQ(defaults.back().rfind("mode 0x00000180 ", 0), 0u);
}

TEST_F(DeviceLink, BatteryAnswersOfTheRegister) {
    std::uint32_t value = 1;
    ASSERT_EQ(Touchsim(L"battery 0x021C").exitCode, 0u);
    ASSERT_TRUE(driver.ReadBattery(value));
    EXPECT_EQ(value, 540u);
    ASSERT_EQ(Touchsim(L"battery 0x04B1").exitCode, 0u);
    ASSERT_TRUE(driver.ReadBattery(value));
    EXPECT_EQ(value, 0u) << "above 1200 reads as 0";
    ASSERT_EQ(Touchsim(L"battery 0x0300 0").exitCode, 0u);
    EXPECT_FALSE(driver.ReadBattery(value));
    ASSERT_EQ(Touchsim(L"fail 1").exitCode, 0u);
    ASSERT_EQ(Touchsim(L"battery 0x0300").exitCode, 0u);
    EXPECT_TRUE(driver.ReadBattery(value)) << "only the register write failed; the read decides";
}

TEST_F(DeviceLink, RefusedOpenLeavesTheChannelClosed) {
    ASSERT_EQ(Touchsim(L"fail 1").exitCode, 0u);
    EXPECT_FALSE(driver.OpenDevice());
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_FALSE(driver.SetMode(0));
    EXPECT_TRUE(driver.OpenDevice());
}

}  // namespace
}  // namespace mv::wintest
