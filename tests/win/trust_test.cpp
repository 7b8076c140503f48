// The trust boundary of an elevated program under Wine, where every process is elevated and
// has a linked limited token: launches go as the user, DLLs come from system32 only.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "framework/messages.h"
#include "win/program_support.h"
#include "win32/user_launcher.h"
#include "win32/win32_platform.h"

namespace mv::wintest {
namespace {

std::wstring BuildFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::string FirstLine(const std::wstring& file) {
    std::ifstream in(std::string(file.begin(), file.end()));
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::set<DWORD> NotepadProcesses() { return ProcessesNamed(L"notepad.exe"); }

// Waits for a notepad that was not running before; ends it. Whether one came.
bool NewNotepadCame(const std::set<DWORD>& before) {
    for (int i = 0; i < 100; ++i) {
        for (DWORD id : NotepadProcesses()) {
            if (before.count(id)) continue;
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
                TerminateProcess(process, 0);
                CloseHandle(process);
            }
            return true;
        }
        Sleep(100);
    }
    return false;
}

// trust_probe.exe ARGS; its one-line answer.
std::string Probe(const std::wstring& arguments, const wchar_t* outName) {
    const std::wstring out = TempFile(outName);
    DeleteFileW(out.c_str());
    const ToolResult run = RunTool(L"\"" + BuildFolder() + L"\\trust_probe.exe\" " + arguments.substr(0, arguments.find(L' ')) +
                                   L" \"" + out + L"\"" + arguments.substr(arguments.find(L' ')));
    EXPECT_NE(run.exitCode, ~0u) << run.output;
    return FirstLine(out);
}

TEST(UserLaunch, WithoutADesktopShellAProgramStartsWithTheLimitedToken) {
    const std::set<DWORD> before = NotepadProcesses();
    const LaunchAbilities abilities = ReadLaunchAbilities();
    ASSERT_TRUE(abilities.elevated) << "Wine runs every process elevated";
    ASSERT_TRUE(abilities.linkedToken);
    EXPECT_EQ(Probe(L"launch notepad.exe", L"mv-launch.txt"), "route=1 started=1 elevated=1 linked=1");
    EXPECT_TRUE(NewNotepadCame(before));
}

TEST(UserLaunch, AWebAddressGoesToTheShellsAssociation) {
    // The prefix's handler of http: addresses becomes notepad for this test.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    wchar_t previous[1024] = {};
    DWORD size = sizeof previous;
    const bool had = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous), &size) == 0;
    const wchar_t command[] = L"\"C:\\windows\\system32\\notepad.exe\" \"%1\"";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command), sizeof command);
    const std::set<DWORD> before = NotepadProcesses();
    EXPECT_EQ(Probe(L"launch http://example.org/mv", L"mv-web.txt"), "route=1 started=1 elevated=1 linked=1");
    EXPECT_TRUE(NewNotepadCame(before));
    if (had) RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous), size);
    RegCloseKey(key);
}

TEST(UserLaunch, TheLauncherWorksApartAndReportsAFileThatIsNotThere) {
    ProbeWindow probe;
    UserLauncher launcher;
    launcher.SetReportWindow(probe.handle(), WM_LAUNCH_REPORT);
    const std::set<DWORD> before = NotepadProcesses();
    launcher.Launch(u"C:\\no\\such\\program.exe");
    launcher.Launch(u"notepad.exe");
    ASSERT_TRUE(launcher.WaitIdle(30000));
    std::vector<LaunchReport> reports = launcher.TakeReports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].target, u"C:\\no\\such\\program.exe");
    EXPECT_FALSE(reports[0].started);
    EXPECT_EQ(reports[1].route, LaunchRoute::LimitedToken);
    EXPECT_TRUE(reports[1].started);
    EXPECT_TRUE(NewNotepadCame(before));
    int heard = 0;
    MSG msg;
    for (int i = 0; i < 30 && heard < 2; ++i, Sleep(100))
        while (PeekMessageW(&msg, probe.handle(), WM_LAUNCH_REPORT, WM_LAUNCH_REPORT, PM_REMOVE)) ++heard;
    EXPECT_EQ(heard, 2) << "the window hears of each launch";
    EXPECT_TRUE(launcher.TakeReports().empty());
}

// Wine gives every token the same integrity label (a process of the limited token reads as
// high as ours) and keeps no COM unmarshaling policy (Set succeeds, Query answers 0): what can
// be seen here is the reading of the label and the policy call; the decisions are tested natively.
TEST(Integrity, OurOwnWindowIsAtOurLevelAndAWindowThatIsGoneIsNot) {
    ProbeWindow probe;
    Win32Desktop desktop;
    EXPECT_TRUE(desktop.windowAtOurIntegrity(reinterpret_cast<WindowHandle>(probe.handle())));
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(desktop.windowAtOurIntegrity(reinterpret_cast<WindowHandle>(gone)));
    EXPECT_FALSE(desktop.windowAtOurIntegrity(0));
}

TEST(Integrity, TheStrongUnmarshalingPolicyIsAskedFor) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    EXPECT_TRUE(SetStrongUnmarshaling());
    CoUninitialize();
}

TEST(PlantedDlls, LibrariesBesideTheProgramAreNeverLoaded) {
    const std::wstring planted = BuildFolder() + L"\\planted.dll";
    const std::string english = [] {
        const std::wstring exe = ProgramPath();
        const std::wstring language = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"language.xml";
        std::ifstream in(std::string(language.begin(), language.end()), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    ProgramCopy copy(&english, L"mvplanted");
    ASSERT_TRUE(copy.ok());
    for (const wchar_t* name : {L"gdiplus.dll", L"oleacc.dll"})
        ASSERT_TRUE(CopyFileW(planted.c_str(), (copy.folder() + L"\\" + name).c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((BuildFolder() + L"\\trust_probe.exe").c_str(), (copy.folder() + L"\\trust_probe.exe").c_str(), FALSE));

    // The program starts (GDI+ among the first things it uses) and shows its main window.
    ProbeWindow probe;
    RunningProgram program(copy.exe());
    ASSERT_TRUE(program.started());
    HWND main = WaitForMainWindow(probe, program.processId());
    EXPECT_NE(main, nullptr);
    // The scroll action's oleacc, loaded from a process in the same folder.
    const std::wstring out = copy.folder() + L"\\load.txt";
    RunTool(L"\"" + copy.folder() + L"\\trust_probe.exe\" load \"" + out + L"\"");
    const std::string loaded = FirstLine(out);
    EXPECT_NE(loaded.find("\\system32\\oleacc.dll"), std::string::npos) << loaded;
    for (const wchar_t* marker : {L"\\gdiplus.dll.loaded", L"\\oleacc.dll.loaded"})
        EXPECT_EQ(GetFileAttributesW((copy.folder() + marker).c_str()), INVALID_FILE_ATTRIBUTES)
            << std::string(marker, marker + wcslen(marker)) << " was loaded";
    if (main) ExitThroughTrayCommand(main, program);
}

}  // namespace
}  // namespace mv::wintest
