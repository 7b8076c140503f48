// Start-up of the real program against the stand-in driver (tests/win/run-shell.sh): it starts
// without a language file or without a title, beside other windows that carry its title, and
// ten starts at one moment leave exactly one instance.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "win/program_support.h"
#include "win/tray_support.h"

namespace mv::wintest {
namespace {

class ShellStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Touchsim(L"fail 0").exitCode, 0u) << "stand-in driver not installed";
        ASSERT_EQ(Touchsim(L"plug").exitCode, 0u);
        ASSERT_TRUE(ProgramMainWindows().empty()) << "an instance is still running";
        Touchsim(L"clear");
    }

    // The program runs: its hidden main window, its icon in Wine's tray, the driver opened by
    // it and told the default settings. Ends it through the tray command.
    void ExpectRunningAndExit(RunningProgram& program, const std::wstring& title) {
        ASSERT_TRUE(program.started());
        HWND main = nullptr;
        ASSERT_TRUE(PumpUntil(probe, 20000, [&] { return (main = MainWindowOf(program.processId())) != nullptr; }))
            << "no main window; exit code " << program.waitExit(0);
        EXPECT_TRUE(PumpUntil(probe, 10000, [&] { return TouchsimClientProcess() == program.processId(); }))
            << "the driver was not opened";
        wchar_t caption[128] = {};
        GetWindowTextW(main, caption, 128);
        EXPECT_EQ(std::wstring(caption), title);
        EXPECT_TRUE(PumpUntil(probe, 5000, [&] { return TrayIconPresent(main) && WineTrayIcons().size() == 1; }))
            << "no tray icon";
        const auto requests = TouchsimRequests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests[0], OpenRequest(OpenedSemaphore(requests[0])));
        EXPECT_EQ(std::vector<std::string>(requests.begin() + 1, requests.end()), AllDefaultSettingsRequests());
        EXPECT_EQ(ExitThroughTrayCommand(main, program), 0u);
    }

    ProbeWindow probe;
};

// The shipped English file, which the cases below change.
std::string ShippedLanguageFile() {
    wchar_t dist[MAX_PATH] = {};
    GetEnvironmentVariableW(L"MV_DIST_DIR", dist, MAX_PATH);
    HANDLE file = CreateFileW((std::wstring(dist) + L"\\language.xml").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    std::string text;
    if (file == INVALID_HANDLE_VALUE) return text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}

TEST_F(ShellStart, WithoutALanguageFileTheProgramRunsWithEmptyTexts) {
    ProgramCopy copy(nullptr);
    ASSERT_TRUE(copy.ok());
    RunningProgram program(copy.exe());
    ExpectRunningAndExit(program, L"");
}

TEST_F(ShellStart, ALanguageFileWithoutTheTitleStartsTheProgramWithAnEmptyTitle) {
    std::string text = ShippedLanguageFile();
    const std::size_t start = text.find("<tc_mouse_title>");
    const std::size_t end = text.find("</tc_mouse_title>");
    ASSERT_TRUE(start != std::string::npos && end != std::string::npos);
    text.erase(start, end + std::string("</tc_mouse_title>").size() - start);
    ASSERT_EQ(text.find("tc_mouse_title"), std::string::npos);
    ProgramCopy copy(&text);
    ASSERT_TRUE(copy.ok());
    RunningProgram program(copy.exe());
    ExpectRunningAndExit(program, L"");
}

// Another program's window titled "Morvi Corvel Config" does not stop the start: a window of
// this test, and Explorer open on a folder of that name (the install folder's name).
TEST_F(ShellStart, WindowsOfOtherProgramsWithTheTitleDoNotStopTheStart) {
    {
        ProbeWindow namesake(L"MvNamesake", kProgramTitle);
        ASSERT_EQ(FindWindowW(nullptr, kProgramTitle), namesake.handle());
        RunningProgram program;
        ExpectRunningAndExit(program, kProgramTitle);
    }

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + kProgramTitle;
    CreateDirectoryW(folder.c_str(), nullptr);
    RunningProgram explorer(L"C:\\windows\\explorer.exe", false, L"\"" + folder + L"\"");
    ASSERT_TRUE(explorer.started());
    HWND folderWindow = nullptr;
    ASSERT_TRUE(PumpUntil(probe, 20000, [&] {
        folderWindow = FindWindowW(nullptr, kProgramTitle);
        return folderWindow && IsWindowVisible(folderWindow);
    })) << "Explorer showed no window titled after the folder";
    wchar_t cls[64] = {};
    GetClassNameW(folderWindow, cls, 64);
    EXPECT_STRNE(cls, kProgramClass);
    {
        Touchsim(L"clear");
        RunningProgram program;
        ExpectRunningAndExit(program, kProgramTitle);
    }
    PostMessageW(folderWindow, WM_CLOSE, 0, 0);
    explorer.waitExit(5000);
    RemoveDirectoryW(folder.c_str());
}

// Any process can take the instance mutex's plain name and make a window of our class and
// title before the program starts (this test does both): the program starts all the same,
// opens the driver, and a second start finds the program, not the squatter.
TEST_F(ShellStart, ASquatterOfTheInstanceNameAndWindowClassIsIgnored) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Local\\MorviCorvelConfig.Instance");
    ASSERT_NE(mutex, nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kProgramClass;
    RegisterClassExW(&wc);
    HWND squatter = CreateWindowExW(0, kProgramClass, kProgramTitle, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    wc.hInstance, nullptr);
    ASSERT_NE(squatter, nullptr);
    {
        RunningProgram program;
        ASSERT_TRUE(program.started());
        HWND main = nullptr;
        ASSERT_TRUE(PumpUntil(probe, 20000, [&] { return (main = MainWindowOf(program.processId())) != nullptr; }))
            << "the program did not start; exit code " << program.waitExit(0);
        EXPECT_TRUE(PumpUntil(probe, 10000, [&] { return TouchsimClientProcess() == program.processId(); }))
            << "the driver was not opened";
        // A second start goes to the program's window, and ends.
        RunningProgram second;
        EXPECT_EQ(second.waitExit(20000), 0u);
        EXPECT_TRUE(PumpUntil(probe, 5000, [&] { return IsWindowVisible(main) != FALSE; }))
            << "the second start did not reach the program";
        EXPECT_EQ(ExitThroughTrayCommand(main, program), 0u);
    }
    DestroyWindow(squatter);
    UnregisterClassW(kProgramClass, GetModuleHandleW(nullptr));
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

// Ten starts at one moment (the logon task and a double-click, many times over): one
// instance runs, with one tray icon and one driver client, and shows its window; the others
// end with code 0 without touching the driver.
TEST_F(ShellStart, TenSimultaneousStartsLeaveOneInstance) {
    constexpr int kStarts = 10;
    std::vector<std::unique_ptr<RunningProgram>> starts;
    for (int i = 0; i < kStarts; ++i) starts.push_back(std::make_unique<RunningProgram>(ProgramPath(), true));
    for (auto& start : starts) ASSERT_TRUE(start->started());
    for (auto& start : starts) start->resume();

    auto running = [&] {
        return std::count_if(starts.begin(), starts.end(),
                             [](const auto& p) { return WaitForSingleObject(p->process(), 0) == WAIT_TIMEOUT; });
    };
    // The later starts end once they have found the running one's window.
    EXPECT_TRUE(PumpUntil(probe, 120000, [&] { return running() <= 1 && !ProgramMainWindows().empty(); }))
        << running() << " instances still running";
    probe.pump(3000);
    EXPECT_EQ(running(), 1);
    RunningProgram* survivor = nullptr;
    for (auto& start : starts) {
        if (WaitForSingleObject(start->process(), 0) != WAIT_TIMEOUT) EXPECT_EQ(start->waitExit(0), 0u);
        else if (!survivor) survivor = start.get();
    }
    ASSERT_NE(survivor, nullptr);

    EXPECT_EQ(ProgramMainWindows().size(), 1u);
    HWND main = MainWindowOf(survivor->processId());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(PumpUntil(probe, 5000, [&] { return IsWindowVisible(main) != FALSE; }))
        << "the later starts did not show the running instance";
    EXPECT_TRUE(PumpUntil(probe, 5000, [&] { return WineTrayIcons().size() == 1; }))
        << WineTrayIcons().size() << " tray icons";
    EXPECT_TRUE(TrayIconPresent(main));
    EXPECT_TRUE(PumpUntil(probe, 10000, [&] { return TouchsimClientProcess() == survivor->processId(); }));
    const auto requests = TouchsimRequests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0], OpenRequest(OpenedSemaphore(requests[0])));
    EXPECT_EQ(std::vector<std::string>(requests.begin() + 1, requests.end()), AllDefaultSettingsRequests())
        << "more than one client talked to the driver";
    EXPECT_EQ(ExitThroughTrayCommand(main, *survivor), 0u);
}

}  // namespace
}  // namespace mv::wintest
