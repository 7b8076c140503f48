// The real program with the stand-in driver: start-up, the link to the driver, gestures
// from the driver, stored functions, device arrival, the exit path. ShellNoDriver runs
// before the stand-in is installed, Shell after (tests/win/run-shell.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "settings/function_record.h"
#include "settings/settings_images.h"
#include "settings/settings_store.h"
#include "i18n/text_catalogue.h"
#include "win/program_support.h"
#include "win/tray_support.h"
#include "win32/win32_platform.h"

#include <shellapi.h>
#include <tlhelp32.h>

namespace mv::wintest {
namespace {

constexpr WPARAM kExitCommand = 0x6001;

const std::vector<std::string> kSettingsAllDefault = AllDefaultSettingsRequests();

void WriteBinary(const wchar_t* key, const wchar_t* value, const void* data, DWORD size, DWORD type = REG_BINARY) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), 0);
    ASSERT_EQ(RegSetValueExW(k, value, 0, type, static_cast<const BYTE*>(data), size), 0);
    RegCloseKey(k);
}

void DeleteSettings() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET");
}

std::wstring Wide(const char16_t* s) { return ToWide(s); }

// The apply warning: caption "Warning", the text with seven blanks on each side, an OK button
// alone and no icon (MB_OK).
void ExpectApplyWarningBox(HWND box) {
    ASSERT_NE(box, nullptr) << "no warning box";
    wchar_t caption[64] = {};
    GetWindowTextW(box, caption, 64);
    EXPECT_STREQ(caption, L"Warning");
    std::vector<std::wstring> texts;
    std::vector<int> buttons;
    int icons = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        wchar_t cls[32] = {}, text[128] = {};
        GetClassNameW(child, cls, 32);
        GetWindowTextW(child, text, 128);
        if (_wcsicmp(cls, L"Button") == 0) {
            buttons.push_back(GetDlgCtrlID(child));
        } else if (_wcsicmp(cls, L"Static") == 0) {
            if (SendMessageW(child, STM_GETICON, 0, 0)) ++icons;
            else if (text[0]) texts.push_back(text);
        }
    }
    EXPECT_EQ(texts, std::vector<std::wstring>{L"       Error code: 0x68       "});
    EXPECT_EQ(buttons, std::vector<int>{IDOK});
    EXPECT_EQ(icons, 0) << "the box shows an icon";
}

// The tray menu's exit command: the program ends by itself with code 0.
void ExitThroughTray(HWND main, RunningProgram& program) {
    PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program.waitExit(10000), 0u);
}

class ShellNoDriver : public ::testing::Test {};

TEST_F(ShellNoDriver, StartsQuietlyWithTrayIconWhenTheDriverIsMissing) {
    DeleteSettings();
    ProbeWindow probe;
    RunningProgram program;
    ASSERT_TRUE(program.started());
    HWND main = WaitForMainWindow(probe, program.processId());
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    // The title is set a few milliseconds before the icon is added.
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return TrayIconPresent(main); }));
    // The only windows are the hidden main window and the hidden driver window: no message box.
    probe.pump(1500);
    EXPECT_EQ(FindWindowW(L"#32770", L"Warning"), nullptr);
    EXPECT_NE(FindWindowW(nullptr, L"Zizozazuzivezude"), nullptr);

    ExitThroughTray(main, program);
}

int ThreadCount(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int n = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId) ++n;
    CloseHandle(snapshot);
    return n;
}

// The gesture animation has its own thread while it plays: one thread more exactly while the
// settings window is on screen, none while it is hidden or minimized.
TEST_F(ShellNoDriver, TheAnimationPlaysOnlyWhileTheWindowIsOnScreen) {
    ProbeWindow probe;
    RunningProgram program;
    HWND main = WaitForMainWindow(probe, program.processId());
    ASSERT_NE(main, nullptr);
    probe.pump(1000);
    const int hidden = ThreadCount(program.processId());
    ASSERT_GT(hidden, 0);
    auto settle = [&](int expected) {
        return PumpUntil(probe, 3000, [&] { return ThreadCount(program.processId()) == expected; });
    };
    PostMessageW(main, 0x4CA, 0, 0);  // show
    EXPECT_TRUE(settle(hidden + 1)) << ThreadCount(program.processId()) << " threads, hidden " << hidden;
    PostMessageW(main, WM_CLOSE, 0, 0);  // hides
    EXPECT_TRUE(settle(hidden)) << ThreadCount(program.processId());
    PostMessageW(main, 0x4CA, 0, 0);
    EXPECT_TRUE(settle(hidden + 1));
    PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(settle(hidden)) << "still animating while minimized";
    PostMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(settle(hidden + 1));
    ExitThroughTray(main, program);
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Touchsim(L"fail 0").exitCode, 0u) << "stand-in driver not installed";
        ASSERT_EQ(Touchsim(L"plug").exitCode, 0u);
        DeleteSettings();
    }
    // Starts the program and waits until it holds the stand-in's client slot.
    HWND Start(RunningProgram& program) {
        if (!program.started()) return nullptr;
        HWND main = WaitForMainWindow(probe, program.processId());
        if (!main) return nullptr;
        const bool linked =
            PumpUntil(probe, 10000, [&] { return TouchsimClientProcess() == program.processId(); });
        return linked ? main : nullptr;
    }
    // Starts the program and shows its settings window, as a second start does.
    HWND StartShown(RunningProgram& program) {
        HWND main = Start(program);
        if (!main) return nullptr;
        PostMessageW(main, 0x4CA, 0, 0);
        if (!PumpUntil(probe, 3000, [&] { return IsWindowVisible(main) != FALSE; })) return nullptr;
        return main;
    }
    void CentreCursorOnProbe() { ASSERT_TRUE(CentreCursorOn(probe)); }
    std::vector<UINT> Buttons() const {
        std::vector<UINT> out;
        for (const auto& m : probe.received)
            if (m.message >= WM_LBUTTONDOWN && m.message <= WM_MBUTTONDBLCLK) out.push_back(m.message);
        return out;
    }

    ProbeWindow probe;
};

TEST_F(Shell, OpensTheDriverRunsItsGesturesAndHandsTheDeviceBackAtExit) {
    Touchsim(L"clear");
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_TRUE(TrayIconPresent(main));

    auto requests = TouchsimRequests();
    ASSERT_FALSE(requests.empty());
    const unsigned semaphore = OpenedSemaphore(requests[0]);
    EXPECT_NE(semaphore, 0u) << requests[0];
    EXPECT_EQ(requests[0], OpenRequest(semaphore));
    requests.erase(requests.begin());
    EXPECT_EQ(requests, kSettingsAllDefault);

    CentreCursorOnProbe();
    ASSERT_EQ(Touchsim(L"push 0x8004 0x8002").exitCode, 0u);  // middle click, right click
    probe.pumpUntil(4, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));

    Touchsim(L"clear");
    ExitThroughTray(main, program);
    auto expected = kSettingsAllDefault;
    expected.push_back(ModeRequest(0));
    EXPECT_EQ(TouchsimRequests(), expected);
    EXPECT_FALSE(TrayIconPresent(main));
}

// Logoff and shutdown: the program answers the query at once, and the ending tells the device
// what the exit tells it, once.
TEST_F(Shell, LogoffHandsTheDeviceBackAsTheExitDoes) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    Touchsim(L"clear");
    EXPECT_EQ(SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_TRUE(TouchsimRequests().empty()) << "the query tells the device nothing";
    SendMessageW(main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);  // another program said no
    EXPECT_TRUE(TouchsimRequests().empty());
    SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    auto expected = kSettingsAllDefault;
    expected.push_back(ModeRequest(0));
    EXPECT_EQ(TouchsimRequests(), expected);
    Touchsim(L"clear");
    ExitThroughTray(main, program);
    EXPECT_TRUE(TouchsimRequests().empty()) << "told twice";
}

// After sleep the device is configured again and its battery read.
TEST_F(Shell, ResumeSendsTheSettingsAgainAndReadsTheBattery) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    Touchsim(L"clear");
    EXPECT_EQ(SendMessageW(main, WM_POWERBROADCAST, PBT_APMSUSPEND, 0), TRUE);
    EXPECT_TRUE(TouchsimRequests().empty());
    SendMessageW(main, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    const auto requests = TouchsimRequests();
    ASSERT_GT(requests.size(), kSettingsAllDefault.size());
    EXPECT_EQ(std::vector<std::string>(requests.begin(), requests.begin() + kSettingsAllDefault.size()),
              kSettingsAllDefault);
    EXPECT_NE(requests.back().find("register"), std::string::npos) << requests.back();
    ExitThroughTray(main, program);
}

// Locked: a gesture that starts a program does nothing; a click still runs. A disconnect hands
// the device back and closes it; a connect opens and configures it again.
TEST_F(Shell, LockHoldsOffLaunchesAndDisconnectHandsTheDeviceOver) {
    ButtonSettingBlob blob{};
    ResetRecordsToDefaults(blob.records);
    blob.records[11].setActionCode(25);  // three-finger click: open notepad
    blob.records[11].setProgramPath(u"C:\\windows\\system32\\notepad.exe");
    WriteBinary(Wide(kButtonSetting.key).c_str(), Wide(kButtonSetting.name).c_str(), &blob, sizeof blob);
    const auto notepads = [] { return ProcessesNamed(L"notepad.exe"); };
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    CentreCursorOnProbe();

    const std::set<DWORD> before = notepads();
    SendMessageW(main, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1);
    ASSERT_EQ(Touchsim(L"push 0x8004 0x8002").exitCode, 0u);  // notepad, right click
    probe.pumpUntil(2, 3000);
    probe.pump(2000);
    EXPECT_EQ(notepads(), before) << "a program started behind the lock screen";
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
    SendMessageW(main, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1);
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    std::set<DWORD> after;
    EXPECT_TRUE(PumpUntil(probe, 20000, [&] { return (after = notepads()).size() > before.size(); }))
        << "no notepad after the unlock";
    for (DWORD id : after)
        if (!before.count(id))
            if (HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                TerminateProcess(p, 0);
                CloseHandle(p);
            }

    Touchsim(L"clear");
    SendMessageW(main, WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT, 1);
    auto handedBack = kSettingsAllDefault;
    handedBack.push_back(ModeRequest(0));
    EXPECT_EQ(TouchsimRequests(), handedBack);
    Touchsim(L"clear");
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);
    probe.clear();
    probe.pump(1000);
    EXPECT_TRUE(Buttons().empty()) << "a gesture ran while the device belonged to another session";
    // The gesture reported meanwhile is the other session's: it goes with the device.
    ASSERT_EQ(Touchsim(L"drop").exitCode, 0u);
    SendMessageW(main, WM_WTSSESSION_CHANGE, WTS_CONSOLE_CONNECT, 1);
    const auto reopened = TouchsimRequests();
    ASSERT_FALSE(reopened.empty());
    EXPECT_EQ(reopened[0], OpenRequest(OpenedSemaphore(reopened[0])));
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP})) << "no gesture after the connect";
    ExitThroughTray(main, program);
    DeleteSettings();
}

TEST_F(Shell, SecondStartShowsTheFirstAndLeavesTheDriverAlone) {
    RunningProgram first;
    HWND main = Start(first);
    ASSERT_NE(main, nullptr);
    Touchsim(L"clear");
    {
        RunningProgram second;
        ASSERT_TRUE(second.started());
        EXPECT_EQ(second.waitExit(10000), 0u);
        EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return IsWindowVisible(main) != FALSE; }));
    }
    EXPECT_TRUE(TouchsimRequests().empty());
    EXPECT_EQ(TouchsimClientProcess(), first.processId());

    // Closing hides; the tray's show command shows again; the program keeps running.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return !IsWindowVisible(main); }));
    EXPECT_EQ(WaitForSingleObject(first.process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    PostMessageW(main, WM_COMMAND, 0x6000, 0);
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return IsWindowVisible(main) != FALSE; }));

    // Hidden on a monitor that has since gone (far off every screen): shown again inside the
    // work area, at the edge nearest to where it was.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return !IsWindowVisible(main); }));
    RECT before{};
    GetWindowRect(main, &before);
    SetWindowPos(main, nullptr, 6000, 5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(main, WM_COMMAND, 0x6000, 0);
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return IsWindowVisible(main) != FALSE; }));
    RECT shown{}, work{};
    GetWindowRect(main, &shown);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(shown.right, work.right) << "at the right edge of the work area";
    EXPECT_EQ(shown.bottom, work.bottom) << "at its bottom edge";
    EXPECT_EQ(shown.right - shown.left, before.right - before.left) << "its size kept";
    ExitThroughTray(main, first);
}

TEST_F(Shell, StoredRecordsRunTheirFunctionsIncludingAMacro) {
    ButtonSettingBlob blob{};
    ResetRecordsToDefaults(blob.records);
    blob.records[11].setActionCode(20);  // three-finger click: macro 3
    blob.records[11].bytes[FunctionRecord::kMacroIndexOffset] = 3;
    blob.records[1].setActionCode(1);  // double-click gesture: left click
    blob.records[10].setActionCode(1);  // the Windows-key gesture: left click
    MacroStore macros{};
    std::uint8_t* entry = macros.entry(3);
    entry[MacroEntry::kStepCountOffset] = 4;
    const std::uint8_t steps[4][2] = {{'Q', 0}, {'Q', 1}, {'W', 0}, {'W', 1}};
    for (int i = 0; i < 4; ++i) {
        entry[MacroStore::kStepsOffset + 8 * i] = steps[i][0];
        entry[MacroStore::kStepsOffset + 8 * i + 1] = steps[i][1];
    }
    WriteBinary(Wide(kButtonSetting.key).c_str(), Wide(kButtonSetting.name).c_str(), &blob, sizeof blob);
    WriteBinary(Wide(kMacroSetting.key).c_str(), Wide(kMacroSetting.name).c_str(), macros.bytes.data(),
                static_cast<DWORD>(macros.bytes.size()));

    Touchsim(L"clear");
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    // Double-click and three-finger click are changed: the device reports them (mode 0x186).
    // The Windows-key gesture is changed: the last key list holds its chord (usage 0,
    // left Windows).
    auto requests = TouchsimRequests();
    ASSERT_EQ(requests.size(), 11u);
    EXPECT_EQ(requests[0], OpenRequest(OpenedSemaphore(requests[0])));
    auto expected = kSettingsAllDefault;
    expected[8] = KeysRequest({0x0008});
    expected.back() = ModeRequest(0x186);
    EXPECT_EQ(std::vector<std::string>(requests.begin() + 1, requests.end()), expected);

    CentreCursorOnProbe();
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    probe.pumpUntil(4, 3000);
    EXPECT_EQ(KeyLines(probe.received), (std::vector<std::string>{"down 51", "up 51", "down 57", "up 57"}));
    probe.clear();
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));

    // At exit every slot is back at its default: the chord stays in the list until its own
    // slot removes it, then mode 0x180 and mode 0.
    Touchsim(L"clear");
    ExitThroughTray(main, program);
    expected = {ModeRequest(0)};
    for (int i = 0; i < 7; ++i) expected.push_back(KeysRequest({0x0008}));
    expected.push_back(KeysRequest());
    expected.push_back(ModeRequest(0x180));
    expected.push_back(ModeRequest(0));
    EXPECT_EQ(TouchsimRequests(), expected);
    DeleteSettings();
}

TEST_F(Shell, MalformedRegistryValuesLeaveTheDefaultsRunning) {
    const std::vector<std::uint8_t> shortImage(100, 0xFF);
    std::vector<std::uint8_t> longImage(ButtonSettingBlob::kSize + 5000, 0xFF);
    const std::wstring text = L"not binary";
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        DeleteSettings();
        const std::wstring key = Wide(kButtonSetting.key), value = Wide(kButtonSetting.name);
        if (variant == 0) WriteBinary(key.c_str(), value.c_str(), shortImage.data(), 100);
        if (variant == 1) WriteBinary(key.c_str(), value.c_str(), longImage.data(), static_cast<DWORD>(longImage.size()));
        if (variant == 2)
            WriteBinary(key.c_str(), value.c_str(), text.c_str(), static_cast<DWORD>((text.size() + 1) * 2), REG_SZ);
        WriteBinary(Wide(kMacroSetting.key).c_str(), Wide(kMacroSetting.name).c_str(), shortImage.data(), 100);
        RunningProgram program;
        HWND main = Start(program);
        ASSERT_NE(main, nullptr);
        CentreCursorOnProbe();
        ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
        probe.pumpUntil(2, 3000);
        EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP}));
        ExitThroughTray(main, program);
    }
    DeleteSettings();
}

TEST_F(Shell, ReceiverPluggedInLaterLinksUpWithoutARestart) {
    ASSERT_EQ(Touchsim(L"unplug").exitCode, 0u);
    Touchsim(L"clear");
    RunningProgram program;
    ASSERT_TRUE(program.started());
    HWND main = WaitForMainWindow(probe, program.processId());
    ASSERT_NE(main, nullptr);
    probe.pump(1500);
    EXPECT_TRUE(TouchsimRequests().empty()) << "the device never opened, so nothing reached the driver";
    EXPECT_NE(TouchsimClientProcess(), program.processId());
    ASSERT_EQ(Touchsim(L"plug").exitCode, 0u);
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return TouchsimClientProcess() == program.processId(); }));
    ExitThroughTray(main, program);
}

TEST_F(Shell, RetriesWhileTheOpenIsRefusedAndReconnectsOnArrival) {
    ASSERT_EQ(Touchsim(L"fail 1000").exitCode, 0u);
    Touchsim(L"clear");
    RunningProgram program;
    ASSERT_TRUE(program.started());
    HWND main = WaitForMainWindow(probe, program.processId());
    ASSERT_NE(main, nullptr);
    probe.pump(300);
    Touchsim(L"clear");
    probe.pump(2000);
    const auto refused = TouchsimRequests();
    // About two attempts a second, each a refused open request with the one semaphore.
    EXPECT_GE(refused.size(), 3u);
    EXPECT_LE(refused.size(), 6u);
    ASSERT_FALSE(refused.empty());
    const unsigned semaphore = OpenedSemaphore(refused[0]);
    EXPECT_NE(semaphore, 0u) << refused[0];
    for (const auto& line : refused) EXPECT_EQ(line, OpenRequest(semaphore, true));

    Touchsim(L"clear");
    ASSERT_EQ(Touchsim(L"fail 0").exitCode, 0u);
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return TouchsimClientProcess() == program.processId(); }));
    auto opened = TouchsimRequests();
    ASSERT_FALSE(opened.empty());
    opened.erase(opened.begin(), std::find(opened.begin(), opened.end(), OpenRequest(semaphore)));
    ASSERT_FALSE(opened.empty()) << "no accepted open with the same semaphore";
    probe.pump(1200);
    Touchsim(L"clear");
    probe.pump(1200);
    EXPECT_TRUE(TouchsimRequests().empty()) << "the retry timer kept running after the open";

    // A receiver arriving again (product 1002, name in lower case) reopens with the same
    // semaphore and resends the settings.
    ASSERT_EQ(Touchsim(L"arrive 1002 --lower").exitCode, 0u);
    auto again = TouchsimRequests();
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(again.front(), OpenRequest(semaphore));
    again.erase(again.begin());
    EXPECT_EQ(again, kSettingsAllDefault);

    // Another device arriving changes nothing.
    Touchsim(L"clear");
    ASSERT_EQ(Touchsim(L"arrive-name \\\\?\\USB#Vid_046D&Pid_C077#1#{a5dcbf10-6530-11d2-901f-00c04fb951ed}").exitCode, 0u);
    probe.pump(500);
    EXPECT_TRUE(TouchsimRequests().empty());

    ExitThroughTray(main, program);
}

}  // namespace
}  // namespace mv::wintest

namespace mv::wintest {
namespace {

void ClickAt(ProbeWindow& probe, HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    SetCursorPos(p.x, p.y);
    probe.pump(150);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    probe.pump(100);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    probe.pump(400);
}


std::vector<std::uint8_t> ReadValue(const std::wstring& key, const std::wstring& value) {
    std::vector<std::uint8_t> data(300000);
    DWORD size = static_cast<DWORD>(data.size()), type = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value.c_str(), RRF_RT_ANY, &type, data.data(), &size) != 0)
        return {};
    data.resize(size);
    return data;
}

TEST_F(Shell, AFunctionPickedInTheWindowRunsAtOnceAndSurvivesApplyAndRestart) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, 0x4CA, 0, 0);  // show, as a second start does
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return IsWindowVisible(main) != FALSE; }));
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.right - r.left, 709);
    EXPECT_EQ(r.bottom - r.top, 477);
    SetForegroundWindow(main);

    ClickAt(probe, main, 226, 185);  // the double-click gesture's tile (slot 1)
    ClickAt(probe, main, 160, 378);  // the function button: the menu opens below it
    const auto firstLevel = VisibleDialogsOf(program.processId(), {main});
    ASSERT_EQ(firstLevel.size(), 1u) << "no function menu";
    RECT menu{};
    GetWindowRect(firstLevel[0], &menu);
    POINT hover{menu.left + 30, menu.top + 18 + 9};  // second category: mouse functions
    ScreenToClient(main, &hover);
    ClickAt(probe, main, hover.x, hover.y);
    std::vector<HWND> second;
    PumpUntil(probe, 4000, [&] {
        second = VisibleDialogsOf(program.processId(), {main, firstLevel[0]});
        return !second.empty();
    });
    ASSERT_EQ(second.size(), 1u) << "no second level";
    RECT sub{};
    GetWindowRect(second[0], &sub);
    POINT entry{sub.left + 30, sub.top + 9};  // its first entry: three-finger click (middle click)
    ScreenToClient(main, &entry);
    ClickAt(probe, main, entry.x, entry.y);
    EXPECT_TRUE(PumpUntil(probe, 4000, [&] { return VisibleDialogsOf(program.processId(), {main}).empty(); }))
        << "the menu stayed open";

    // Before any apply, the double-click gesture runs the new function.
    CentreCursorOnProbe();
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP}));

    SetForegroundWindow(main);
    probe.pump(200);
    ClickAt(probe, main, 612, 445);  // apply
    const auto buttons = ReadValue(Wide(kButtonSetting.key), Wide(kButtonSetting.name));
    ASSERT_EQ(buttons.size(), ButtonSettingBlob::kSize);
    EXPECT_EQ(buttons[ButtonSettingBlob::kRecordsOffset + FunctionRecord::kSize * 1 + 1], 3);
    EXPECT_EQ(ReadValue(Wide(kMacroSetting.key), Wide(kMacroSetting.name)).size(), MacroStore::kSize);
    PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    ASSERT_EQ(program.waitExit(10000), 0u);

    RunningProgram again;
    ASSERT_NE(Start(again), nullptr);
    CentreCursorOnProbe();
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP}));
    HWND main2 = WaitForMainWindow(probe, again.processId());
    ExitThroughTray(main2, again);
    DeleteSettings();
}

}  // namespace
}  // namespace mv::wintest

namespace mv::wintest {
namespace {

TEST_F(Shell, RestoreDefaultsFromTheWindowResetsTheGesturesKeepsTheMacrosAndTellsTheDevice) {
    ButtonSettingBlob stored{};
    ResetRecordsToDefaults(stored.records);
    stored.records[1].setActionCode(3);  // two-finger click: middle click instead of right click
    WriteBinary(Wide(kButtonSetting.key).c_str(), Wide(kButtonSetting.name).c_str(), &stored, sizeof stored);
    std::vector<std::uint8_t> macros(MacroStore::kSize);
    for (std::size_t i = 0; i < macros.size(); ++i) macros[i] = static_cast<std::uint8_t>(i * 7 + 1);
    WriteBinary(Wide(kMacroSetting.key).c_str(), Wide(kMacroSetting.name).c_str(), macros.data(),
                static_cast<DWORD>(macros.size()));

    RunningProgram program;
    HWND main = StartShown(program);
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    probe.pump(300);
    Touchsim(L"clear");
    EXPECT_TRUE(AllDialogsOf(program.processId(), {main}).empty()) << "the question is made at its first opening";
    ClickAt(probe, main, 500, 445);  // restore defaults: the question
    std::vector<HWND> dialogs;
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return !(dialogs = VisibleDialogsOf(program.processId(), {main})).empty(); }));
    ASSERT_EQ(dialogs.size(), 1u);
    ClickAt(probe, dialogs[0], 160, 140);  // its OK
    ASSERT_TRUE(PumpUntil(probe, 5000, [&] {
        const auto saved = ReadValue(Wide(kButtonSetting.key), Wide(kButtonSetting.name));
        return saved.size() == ButtonSettingBlob::kSize &&
               saved[ButtonSettingBlob::kRecordsOffset + FunctionRecord::kSize * 1 + 1] != 3;
    })) << "the defaults were not saved";
    EXPECT_FALSE(IsWindowVisible(dialogs[0]));

    ButtonSettingBlob defaults{};
    ResetRecordsToDefaults(defaults.records);
    const auto saved = ReadValue(Wide(kButtonSetting.key), Wide(kButtonSetting.name));
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), reinterpret_cast<const std::uint8_t*>(&defaults)));
    EXPECT_EQ(ReadValue(Wide(kMacroSetting.key), Wide(kMacroSetting.name)), macros) << "the macros changed";
    EXPECT_EQ(TouchsimRequests(), kSettingsAllDefault);

    // The restore ends by broadcasting two pointer setting changes to every top-level window;
    // the gesture is pushed once the program's window answers again. The window is hidden
    // first: under Wine the closed question sometimes hands the foreground back to it after
    // the probe was activated, and the injected click then misses the probe.
    DWORD_PTR answer = 0;
    EXPECT_NE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer), 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return !IsWindowVisible(main); }));
    probe.pump(300);
    CentreCursorOnProbe();
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);  // the two-finger click's default again
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
    ExitThroughTray(main, program);
    DeleteSettings();
}

TEST_F(Shell, ApplyWithoutTheReceiverWarnsAndSavesNothing) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(Touchsim(L"unplug").exitCode, 0u);  // requests on the open handle now fail
    PostMessageW(main, 0x4CA, 0, 0);
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return IsWindowVisible(main) != FALSE; }));
    SetForegroundWindow(main);
    probe.pump(300);
    ClickAt(probe, main, 612, 445);  // apply
    HWND warning = nullptr;
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return (warning = FindWindowW(L"#32770", L"Warning")) != nullptr; }));
    ExpectApplyWarningBox(warning);
    EXPECT_TRUE(ReadValue(Wide(kButtonSetting.key), Wide(kButtonSetting.name)).empty()) << "saved despite the failure";
    if (warning) PostMessageW(warning, WM_COMMAND, IDOK, 0);
    probe.pump(500);
    Touchsim(L"plug");
    ExitThroughTray(main, program);
}

}  // namespace
}  // namespace mv::wintest

namespace mv::wintest {
namespace {

// Faults injected into a working link: a refused settings request, a refused read, a flood.
class ShellFaults : public Shell {
protected:
    HWND WaitForWarning() {
        HWND warning = nullptr;
        PumpUntil(probe, 3000, [&] { return (warning = FindWindowW(L"#32770", L"Warning")) != nullptr; });
        return warning;
    }
};

TEST_F(ShellFaults, ARefusedSettingsRequestWarnsSavesNothingAndTheNextApplyWorks) {
    RunningProgram program;
    HWND main = StartShown(program);
    ASSERT_NE(main, nullptr);
    SetForegroundWindow(main);
    probe.pump(300);
    ASSERT_EQ(Touchsim(L"fail 1").exitCode, 0u);  // the first request of the apply is refused
    ClickAt(probe, main, 612, 445);
    HWND warning = WaitForWarning();
    ExpectApplyWarningBox(warning);
    EXPECT_TRUE(ReadValue(Wide(kButtonSetting.key), Wide(kButtonSetting.name)).empty()) << "saved despite the failure";
    EXPECT_TRUE(ReadValue(Wide(kMacroSetting.key), Wide(kMacroSetting.name)).empty());
    if (warning) PostMessageW(warning, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil(probe, 3000, [] { return FindWindowW(L"#32770", L"Warning") == nullptr; }));

    // The fault has passed: the same apply now saves both values.
    SetForegroundWindow(main);
    probe.pump(300);
    ClickAt(probe, main, 612, 445);
    EXPECT_EQ(ReadValue(Wide(kButtonSetting.key), Wide(kButtonSetting.name)).size(), ButtonSettingBlob::kSize);
    EXPECT_EQ(ReadValue(Wide(kMacroSetting.key), Wide(kMacroSetting.name)).size(), MacroStore::kSize);
    EXPECT_EQ(FindWindowW(L"#32770", L"Warning"), nullptr);
    ExitThroughTray(main, program);
    DeleteSettings();
}

TEST_F(ShellFaults, ARefusedReadLosesOnlyItsOwnGesture) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    CentreCursorOnProbe();
    ASSERT_EQ(Touchsim(L"fail 1").exitCode, 0u);
    ASSERT_EQ(Touchsim(L"push 0x8004 0x8002").exitCode, 0u);  // middle click (refused), right click
    probe.pumpUntil(2, 3000);
    probe.pump(300);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
    probe.clear();
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP}));
    ExitThroughTray(main, program);
}

// A reply shorter than an event leaves the last event's bytes in the program's buffer: it is
// no gesture, and the last one does not run again.
TEST_F(ShellFaults, AShortReplyRunsNothingNotEvenTheLastGesture) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    CentreCursorOnProbe();
    ASSERT_EQ(Touchsim(L"push 0x8002").exitCode, 0u);  // right click
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
    probe.clear();
    ASSERT_EQ(Touchsim(L"short 1").exitCode, 0u);
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    probe.pump(1000);
    EXPECT_TRUE(Buttons().empty()) << "a short reply ran a gesture";
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);  // middle click
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP}));
    ExitThroughTray(main, program);
}

TEST_F(ShellFaults, AFloodOf8000QueuedGesturesRunsInOrderWhileTheWindowAnswers) {
    RunningProgram program;
    HWND main = StartShown(program);
    ASSERT_NE(main, nullptr);
    CentreCursorOnProbe();
    // 8000 announcements pending at once, the semaphore's maximum: middle and right clicks.
    ASSERT_EQ(Touchsim(L"push --burst --times 4000 0x8004 0x8002").exitCode, 0u);
    const std::size_t expected = 4 * 4000;
    int answers = 0, unanswered = 0;
    for (int round = 0; round < 3000 && probe.received.size() < expected; ++round) {
        probe.pump(20);
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result))
            ++answers;
        else
            ++unanswered;
    }
    probe.pump(300);
    EXPECT_EQ(unanswered, 0) << "the settings window stopped answering during the flood";
    EXPECT_GT(answers, 0);
    const auto buttons = Buttons();
    ASSERT_EQ(buttons.size(), expected);
    const UINT cycle[4] = {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};
    std::size_t firstWrong = buttons.size();
    for (std::size_t i = 0; i < buttons.size() && firstWrong == buttons.size(); ++i)
        if (buttons[i] != cycle[i % 4]) firstWrong = i;
    EXPECT_EQ(firstWrong, buttons.size()) << "out of order at message " << firstWrong;
    EXPECT_NE(Touchsim(L"status").output.find("queued=0"), std::string::npos);
    ExitThroughTray(main, program);
}

}  // namespace
}  // namespace mv::wintest

namespace mv::wintest {
namespace {

constexpr UINT kBatteryTimer = 1283;

std::string BatteryWriteRequest() {
    return "register-write op=0x00000001 target=0x000102ba b6 00 00 text=\"MORVI 5G Wireless Device\"";
}
std::string BatteryReadRequest(const char* answer) {
    return std::string("register-read op=0x00010003 target=0x000101ba b6 00 00 -> ") + answer +
           " text=\"MORVI 5G Wireless Device\"";
}

// The battery timer's message, handled before this returns (the timer itself fires every two
// minutes); the requests it caused.
std::vector<std::string> BatteryCheck(HWND main) {
    Touchsim(L"clear");
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(main, WM_TIMER, kBatteryTimer, 0, SMTO_NORMAL, 10000, &result), 0);
    return TouchsimRequests();
}

std::wstring ShippedText(std::string_view key) {
    wchar_t dist[MAX_PATH] = {};
    GetEnvironmentVariableW(L"MV_DIST_DIR", dist, MAX_PATH);
    loadTextCatalogue(FromWide((std::wstring(dist) + L"\\language.xml").c_str()));
    return ToWide(tr(key));
}

// The battery watch of the running program, with a stand-in tray that records the balloon.
// The balloons among the tray's notifications (the tooltip's updates are notifications too).
std::vector<TrayNotification> Balloons(const StandInTray& tray) {
    std::vector<TrayNotification> balloons;
    for (const auto& n : tray.notifications())
        if (n.flags & NIF_INFO) balloons.push_back(n);
    return balloons;
}

TEST_F(Shell, ALowBatteryWarnsOncePerConnectionAndThePollGoesOn) {
    StandInTray tray;
    ASSERT_EQ(FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr), tray.handle()) << "the stand-in is not first";
    ASSERT_EQ(Touchsim(L"battery 541").exitCode, 0u);
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(tray.waitFor(1, 5000)) << "no icon added";

    // 541 is above the threshold: read, no balloon.
    EXPECT_EQ(BatteryCheck(main), (std::vector<std::string>{BatteryWriteRequest(), BatteryReadRequest("01 02 1d")}));
    // A failed read (status byte 0) warns of nothing either.
    ASSERT_EQ(Touchsim(L"battery 100 0").exitCode, 0u);
    EXPECT_EQ(BatteryCheck(main), (std::vector<std::string>{BatteryWriteRequest(), BatteryReadRequest("00 00 64")}));
    probe.pump(300);
    EXPECT_TRUE(Balloons(tray).empty()) << "a balloon without a low reading";

    // 540 warns, with the balloon of the tray icon.
    ASSERT_EQ(Touchsim(L"battery 540").exitCode, 0u);
    EXPECT_EQ(BatteryCheck(main), (std::vector<std::string>{BatteryWriteRequest(), BatteryReadRequest("01 02 1c")}));
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return !Balloons(tray).empty(); })) << "no balloon";
    const TrayNotification balloon = Balloons(tray)[0];
    EXPECT_EQ(balloon.message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(balloon.window, main);
    EXPECT_EQ(balloon.id, 128u);
    EXPECT_EQ(balloon.flags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(balloon.infoTitle, L"Morvi Corvel");
    EXPECT_EQ(balloon.info, ShippedText("tc_lowpower_notice"));
    EXPECT_FALSE(balloon.info.empty());
    EXPECT_EQ(balloon.infoFlags, static_cast<DWORD>(NIIF_WARNING));
    EXPECT_EQ(balloon.timeout, 5000u);

    // After the warning the poll goes on (for the tooltip), and warns no more on this connection.
    EXPECT_EQ(BatteryCheck(main), (std::vector<std::string>{BatteryWriteRequest(), BatteryReadRequest("01 02 1c")}))
        << "the battery is read at each poll after the warning too";
    probe.pump(300);
    EXPECT_EQ(Balloons(tray).size(), 1u) << "a second warning on one connection";

    // The next open warns again.
    ASSERT_EQ(Touchsim(L"arrive 2000").exitCode, 0u);
    EXPECT_EQ(BatteryCheck(main), (std::vector<std::string>{BatteryWriteRequest(), BatteryReadRequest("01 02 1c")}));
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return Balloons(tray).size() == 2; }))
        << "no balloon after the receiver came back";

    Touchsim(L"battery 1000");
    ExitThroughTray(main, program);
}

// Removing the receiver changes nothing: the handle stays open, gestures and the battery
// checks go on, nothing is sent.
TEST_F(Shell, ARemovalNotificationChangesNothing) {
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    Touchsim(L"clear");
    ASSERT_EQ(Touchsim(L"remove 2000").exitCode, 0u);
    ASSERT_EQ(Touchsim(L"remove 1002 --lower").exitCode, 0u);
    probe.pump(500);
    EXPECT_TRUE(TouchsimRequests().empty());
    EXPECT_EQ(TouchsimClientProcess(), program.processId());
    EXPECT_EQ(BatteryCheck(main), (std::vector<std::string>{BatteryWriteRequest(), BatteryReadRequest("01 03 e8")}));

    CentreCursorOnProbe();
    ASSERT_EQ(Touchsim(L"push 0x8004").exitCode, 0u);
    probe.pumpUntil(2, 3000);
    EXPECT_EQ(Buttons(), (std::vector<UINT>{WM_MBUTTONDOWN, WM_MBUTTONUP}));
    ExitThroughTray(main, program);
}

// The system command Close (the taskbar's Close) gets the default processing, which ends in
// the window's own WM_CLOSE: the window hides and the program runs on. Alt+F4 typed on the
// keyboard leaves it shown.
// The window's place is the user's: kept in HKCU when it hides, put back at the next start;
// a malformed stored place leaves the window centred as on a first start.
TEST_F(Shell, TheWindowOpensWhereItWasLastAndAMalformedPlaceIsIgnored) {
    const wchar_t* userKey = L"Software\\Morvi\\MVSET\\Corvel";
    RegDeleteKeyValueW(HKEY_CURRENT_USER, userKey, L"WindowPlace");
    RECT centred{};
    {
        RunningProgram program;
        HWND main = StartShown(program);
        ASSERT_NE(main, nullptr);
        GetWindowRect(main, &centred);
        SetWindowPos(main, nullptr, 37, 29, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return !IsWindowVisible(main); }));
        ExitThroughTray(main, program);
    }
    std::int32_t place[2] = {};
    DWORD size = sizeof place;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, userKey, L"WindowPlace", RRF_RT_REG_BINARY, nullptr, place, &size), 0);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(place[0], 37);
    EXPECT_EQ(place[1], 29);
    {
        RunningProgram program;
        HWND main = StartShown(program);
        ASSERT_NE(main, nullptr);
        RECT shown{};
        GetWindowRect(main, &shown);
        EXPECT_EQ(shown.left, 37);
        EXPECT_EQ(shown.top, 29);
        ExitThroughTray(main, program);
    }
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, userKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr), 0);
    const BYTE shortPlace[3] = {1, 2, 3};
    RegSetValueExW(k, L"WindowPlace", 0, REG_BINARY, shortPlace, sizeof shortPlace);
    RegCloseKey(k);
    {
        RunningProgram program;
        HWND main = StartShown(program);
        ASSERT_NE(main, nullptr);
        RECT shown{};
        GetWindowRect(main, &shown);
        EXPECT_EQ(shown.left, centred.left) << "centred as on a first start";
        EXPECT_EQ(shown.top, centred.top);
        ExitThroughTray(main, program);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, userKey, L"WindowPlace");
}

// A program that is never opened holds no control of the settings window: the window is
// made at its first show, whole.
// Whether `dll` is loaded in the process (its base name, any case).
bool ModuleLoaded(DWORD processId, const wchar_t* dll) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Module32FirstW(snapshot, &entry); more && !found; more = Module32NextW(snapshot, &entry))
        found = lstrcmpiW(entry.szModule, dll) == 0;
    CloseHandle(snapshot);
    return found;
}

TEST_F(Shell, TheSettingsWindowIsMadeAtItsFirstShow) {
    RunningProgram program;
    ASSERT_TRUE(program.started());
    HWND main = WaitForMainWindow(probe, program.processId());
    ASSERT_NE(main, nullptr);
    probe.pump(3000);
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(GetWindow(main, GW_CHILD), nullptr) << "the controls were made before any show";
    // What only the window needs is loaded with it.
    ASSERT_TRUE(ModuleLoaded(program.processId(), L"user32.dll")) << "the program's modules cannot be read";
    for (const wchar_t* dll : {L"comctl32.dll", L"gdiplus.dll", L"ole32.dll", L"comdlg32.dll"})
        EXPECT_FALSE(ModuleLoaded(program.processId(), dll)) << dll << " loaded before any show";
    PostMessageW(main, 0x4CA, 0, 0);
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return IsWindowVisible(main) != FALSE; }));
    int controls = 0;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++controls;
    EXPECT_GE(controls, 29) << "seven buttons, three tabs, 17 tiles, the picture and the profile selector";
    EXPECT_TRUE(ModuleLoaded(program.processId(), L"gdiplus.dll"));
    ExitThroughTray(main, program);
}

TEST_F(Shell, TheCloseCommandHidesTheWindowAndAltF4LeavesItShown) {
    RunningProgram program;
    HWND main = StartShown(program);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(PumpUntil(probe, 4000, [&] { return !IsWindowVisible(main); })) << "SC_CLOSE left the window shown";
    EXPECT_EQ(WaitForSingleObject(program.process(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    PostMessageW(main, 0x4CA, 0, 0);
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return IsWindowVisible(main) != FALSE; }));
    SetForegroundWindow(main);
    ASSERT_TRUE(PumpUntil(probe, 2000, [&] { return GetForegroundWindow() == main; }));
    ASSERT_TRUE(Xdotool(L"key alt+F4"));
    probe.pump(1500);
    EXPECT_TRUE(IsWindowVisible(main)) << "Alt+F4 hid the window";
    ExitThroughTray(main, program);
}

}  // namespace
}  // namespace mv::wintest

namespace mv::wintest {
namespace {

// The About item of the system menu opens the About box with its Chinese texts; its OK button,
// clicked with the pointer, closes it.
TEST_F(Shell, TheAboutBoxShowsItsTexts) {
    RunningProgram program;
    HWND main = StartShown(program);
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_SYSCOMMAND, 16, 0);
    std::vector<HWND> dialogs;
    ASSERT_TRUE(PumpUntil(probe, 5000, [&] { return (dialogs = VisibleDialogsOf(program.processId(), {main})).size() == 1; }))
        << "no About box";
    HWND about = dialogs[0];
    wchar_t caption[64] = {};
    GetWindowTextW(about, caption, 64);
    EXPECT_STREQ(caption, L"\x5173\x4E8E MorviCorvelConfig");
    std::vector<std::wstring> texts;
    HWND ok = nullptr;
    int icons = 0;
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t text[128] = {};
        GetWindowTextW(child, text, 128);
        if (SendMessageW(child, STM_GETICON, 0, 0)) ++icons;  // the program icon, titled by its ordinal
        else if (text[0]) texts.push_back(text);
        if (GetDlgCtrlID(child) == IDOK) ok = child;
    }
    EXPECT_EQ(icons, 1);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"MorviCorvelConfig\xFF0C" L"1.0 \x7248", L"\x7248\x6743\x6240\x6709 (C) Morvi",
                                                L"\x786E\x5B9A"}));
    ASSERT_NE(ok, nullptr);
    RECT r{};
    GetWindowRect(ok, &r);
    ASSERT_TRUE(PointerClick((r.left + r.right) / 2, (r.top + r.bottom) / 2, 1));
    EXPECT_TRUE(PumpUntil(probe, 4000, [&] { return !IsWindow(about) || !IsWindowVisible(about); }))
        << "OK did not close the About box";
    EXPECT_TRUE(IsWindowVisible(main));
    ExitThroughTray(main, program);
}

}  // namespace
}  // namespace mv::wintest
