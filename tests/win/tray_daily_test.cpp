// The real program with the stand-in driver: the tray tooltip's status (read back from the
// shell's tray), pausing the gestures, and the gesture feedback (tests/win/run-shell.sh, after
// the stand-in is installed).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "settings/function_record.h"
#include "settings/settings_images.h"
#include "settings/settings_store.h"
#include "win/program_support.h"
#include "win32/win32_platform.h"

namespace mv::wintest {
namespace {

constexpr WPARAM kExitCommand = 0x6001, kPauseCommand = 0x6002, kFeedbackCommand = 0x6003;
constexpr UINT kTimerMessage = WM_TIMER;
constexpr WPARAM kBatteryTimer = 1283;
const std::string kTitle = "Morvi Corvel Config";

const std::vector<std::string> kSettingsAllDefault = {
    "mode 0x00000000", "keys 0x00000200:", "keys 0x00000200:", "keys 0x00000200:", "keys 0x00000200:",
    "keys 0x00000200:", "keys 0x00000200:", "keys 0x00000200:", "keys 0x00000200:", "mode 0x00000180"};

std::vector<std::string> Prefixes(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(l.substr(0, l.find(' ', l.find(' ') + 1)));
    return out;
}

std::wstring Wide(const char16_t* s) { return ToWide(s); }

void DeleteSettings() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET"); }

std::vector<std::uint8_t> ReadValue(const wchar_t* name, DWORD* type = nullptr) {
    std::vector<std::uint8_t> data(ButtonSettingBlob::kSize + 16);
    DWORD size = static_cast<DWORD>(data.size()), t = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, Wide(kButtonSetting.key).c_str(), name, RRF_RT_ANY, &t, data.data(), &size) != 0)
        return {};
    data.resize(size);
    if (type) *type = t;
    return data;
}

// The visible layered top-level windows of `process`: the feedback label.
std::vector<HWND> LabelsOf(DWORD process) {
    std::vector<HWND> found;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
        if (owner == process && IsWindowVisible(w) && (ex & WS_EX_LAYERED))
            found.push_back(w);
    }
    return found;
}

std::string TextOf(HWND w) {
    wchar_t text[128] = {};
    GetWindowTextW(w, text, 128);
    char utf8[512] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    return utf8;
}

class ShellTrayStatus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Touchsim(L"fail 0").exitCode, 0u) << "stand-in driver not installed";
        ASSERT_EQ(Touchsim(L"plug").exitCode, 0u);
        ASSERT_EQ(Touchsim(L"battery 1000").exitCode, 0u);
        DeleteSettings();
    }
    void TearDown() override { DeleteSettings(); }
    HWND Start(RunningProgram& program) {
        if (!program.started()) return nullptr;
        HWND main = WaitForMainWindow(probe, program.processId());
        if (!main) return nullptr;
        const bool linked =
            PumpUntil(probe, 10000, [&] { return TouchsimClientProcess() == program.processId(); });
        return linked ? main : nullptr;
    }
    // Our icon's tooltip as the shell shows it, waiting until it reads `expected`.
    std::string TipBecomes(const std::string& expected) {
        std::string tip;
        PumpUntil(probe, 5000, [&] {
            for (const std::string& t : TrayTips())
                if (t.rfind(kTitle, 0) == 0) tip = t;
            return tip == expected;
        });
        return tip;
    }
    // The two-minute battery poll, now.
    void Poll(HWND main) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, kTimerMessage, kBatteryTimer, 0, SMTO_NORMAL, 5000, &result);
    }
    void Command(HWND main, WPARAM command) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, WM_COMMAND, command, 0, SMTO_NORMAL, 5000, &result);
    }
    std::vector<UINT> Buttons() const {
        std::vector<UINT> out;
        for (const auto& m : probe.received)
            if (m.message >= WM_LBUTTONDOWN && m.message <= WM_MBUTTONDBLCLK) out.push_back(m.message);
        return out;
    }
    void Exit(HWND main, RunningProgram& program) {
        PostMessageW(main, WM_COMMAND, kExitCommand, 0);
        EXPECT_EQ(program.waitExit(10000), 0u);
    }

    ProbeWindow probe;
};

TEST_F(ShellTrayStatus, TooltipTellsTheReceiverAndTheBatteryLevelAtEachPoll) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver connected\\nBattery: unknown"),
              kTitle + "\\nReceiver connected\\nBattery: unknown");

    Touchsim(L"clear");
    Poll(main);
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver connected\\nBattery: good"), kTitle + "\\nReceiver connected\\nBattery: good");
    EXPECT_FALSE(TouchsimRequests().empty()) << "the poll read the battery";

    // 540 warns once, with the balloon, and the tooltip says low.
    ASSERT_EQ(Touchsim(L"battery 540").exitCode, 0u);
    Poll(main);
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver connected\\nBattery: low"), kTitle + "\\nReceiver connected\\nBattery: low");
    // The balloon is a tooltip of the shell's too, with the notice as its text.
    std::vector<std::string> tips;
    const bool balloon = PumpUntil(probe, 5000, [&] {
        tips = TrayTips();
        return std::any_of(tips.begin(), tips.end(),
                           [](const std::string& t) { return t.find("The mouse battery is low.") == 0; });
    });
    EXPECT_TRUE(balloon) << "no low-battery balloon among " << testing::PrintToString(tips);

    // After the warning the poll goes on and keeps the tooltip up to date.
    ASSERT_EQ(Touchsim(L"battery 700").exitCode, 0u);
    Touchsim(L"clear");
    Poll(main);
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver connected\\nBattery: fair"), kTitle + "\\nReceiver connected\\nBattery: fair");
    EXPECT_FALSE(TouchsimRequests().empty());

    // Pulled out: the removal of the receiver's interface reaches the tooltip, and nothing is
    // sent to the device.
    ASSERT_EQ(Touchsim(L"unplug").exitCode, 0u);
    Touchsim(L"clear");
    ASSERT_EQ(Touchsim(L"remove 2000").exitCode, 0u);
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver removed"), kTitle + "\\nReceiver removed");
    EXPECT_TRUE(TouchsimRequests().empty());
    Poll(main);  // a failed read changes nothing
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver removed"), kTitle + "\\nReceiver removed");
    // A removal of some other device is not ours.
    ASSERT_EQ(Touchsim(L"plug").exitCode, 0u);
    ASSERT_EQ(Touchsim(L"arrive 2000").exitCode, 0u);
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver connected\\nBattery: unknown"),
              kTitle + "\\nReceiver connected\\nBattery: unknown");
    ASSERT_EQ(Touchsim(L"arrive-name \\\\?\\USB#Vid_046D&Pid_C52B#1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}").exitCode, 0u);
    Exit(main, program);
}

TEST_F(ShellTrayStatus, PauseHandsTheDeviceTheDefaultsAndResumeTheUsersSettings) {
    ButtonSettingBlob blob{};
    ResetRecordsToDefaults(blob.records);
    blob.records[1].setActionCode(1);  // double-click gesture: left click
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(kButtonSetting.key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              0);
    ASSERT_EQ(RegSetValueExW(key, Wide(kButtonSetting.name).c_str(), 0, REG_BINARY,
                             reinterpret_cast<const BYTE*>(&blob), sizeof blob),
              0);
    RegCloseKey(key);
    const auto stored = ReadValue(Wide(kButtonSetting.name).c_str());

    Touchsim(L"clear");
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    auto users = TouchsimRequests();
    ASSERT_FALSE(users.empty());
    users.erase(users.begin());  // the open request
    ASSERT_NE(Prefixes(users), kSettingsAllDefault);
    ASSERT_TRUE(CentreCursorOn(probe));
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));

    Touchsim(L"clear");
    Command(main, kPauseCommand);
    EXPECT_EQ(Prefixes(TouchsimRequests()), kSettingsAllDefault);
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver connected\\nBattery: unknown\\nGestures paused"),
              kTitle + "\\nReceiver connected\\nBattery: unknown\\nGestures paused");
    probe.clear();
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);  // the slot's default: right click
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
    EXPECT_EQ(ReadValue(Wide(kButtonSetting.name).c_str()), stored) << "the pause touched the stored records";

    // A receiver plugged in again while paused gets the defaults too.
    Touchsim(L"clear");
    ASSERT_EQ(Touchsim(L"arrive 2000").exitCode, 0u);
    auto again = Prefixes(TouchsimRequests());
    ASSERT_FALSE(again.empty());
    again.erase(again.begin());
    EXPECT_EQ(again, kSettingsAllDefault);

    Touchsim(L"clear");
    Command(main, kPauseCommand);
    EXPECT_EQ(TouchsimRequests(), users);
    EXPECT_EQ(TipBecomes(kTitle + "\\nReceiver connected\\nBattery: unknown"), kTitle + "\\nReceiver connected\\nBattery: unknown");
    probe.clear();
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));

    // The pause lasts for the run only.
    Command(main, kPauseCommand);
    Exit(main, program);
    EXPECT_EQ(ReadValue(Wide(kButtonSetting.name).c_str()), stored);
    Touchsim(L"clear");
    RunningProgram next;
    main = Start(next);
    ASSERT_NE(main, nullptr);
    auto nextRun = TouchsimRequests();
    ASSERT_FALSE(nextRun.empty());
    nextRun.erase(nextRun.begin());
    EXPECT_EQ(nextRun, users);
    Exit(main, next);
}

TEST_F(ShellTrayStatus, FeedbackShowsTheFunctionNameWithoutTakingTheFocusAndLetsClicksThrough) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    const DWORD pid = program.processId();
    ASSERT_TRUE(CentreCursorOn(probe));

    // Off by default: a gesture shows nothing.
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    probe.pump(300);
    EXPECT_TRUE(LabelsOf(pid).empty());

    Command(main, kFeedbackCommand);
    DWORD type = 0;
    EXPECT_EQ(ReadValue(L"GestureFeedback", &type), (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_TRUE(ReadValue(Wide(kButtonSetting.name).c_str()).empty()) << "ButtonSetting was written";

    probe.clear();
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP}));
    std::vector<HWND> labels;
    ASSERT_TRUE(PumpUntil(probe, 1000, [&] { return !(labels = LabelsOf(pid)).empty(); }));
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(TextOf(labels[0]), "Middle click");
    EXPECT_EQ(GetForegroundWindow(), probe.handle());
    EXPECT_EQ(GetFocus(), probe.handle());
    RECT r;
    GetWindowRect(labels[0], &r);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_FALSE(PtInRect(&r, cursor)) << "the label covers the pointer";

    // A click on the label reaches the window under it.
    probe.clear();
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    probe.pumpUntil(2, 2000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));

    // It fades and hides by itself.
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return LabelsOf(pid).empty(); }));

    // Off again: kept as 0, and no label.
    Command(main, kFeedbackCommand);
    EXPECT_EQ(ReadValue(L"GestureFeedback"), (std::vector<std::uint8_t>{0, 0, 0, 0}));
    ASSERT_TRUE(CentreCursorOn(probe));
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    probe.pump(300);
    EXPECT_TRUE(LabelsOf(pid).empty());
    Exit(main, program);
}

// Which stored values mean on is the session's rule, tested natively; here the program reads
// the stored choice from the real registry at start.
TEST_F(ShellTrayStatus, FeedbackChosenBeforeTheStartShowsTheLabel) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(kButtonSetting.key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              0);
    const DWORD on = 1;
    RegSetValueExW(key, Wide(kGestureFeedback.name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(key);
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(CentreCursorOn(probe));
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_TRUE(PumpUntil(probe, 600, [&] { return !LabelsOf(program.processId()).empty(); }));
    Exit(main, program);
}

}  // namespace
}  // namespace mv::wintest
