// Running the real program and the stand-in driver's control tool from a Windows test.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "win/probe_window.h"

namespace mv::wintest {

inline constexpr wchar_t kProgramTitle[] = L"Morvi Corvel Config";

// dist\MorviCorvelConfig.exe (MV_DIST_DIR), started on construction, killed if still running.
class RunningProgram {
public:
    RunningProgram();
    // MorviCorvelConfig.exe of another program folder (a build to compare with).
    explicit RunningProgram(const std::wstring& folder);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    bool started() const { return started_; }
    HANDLE process() const { return pi_.hProcess; }
    DWORD processId() const { return pi_.dwProcessId; }
    // Waits for the process to end; its exit code, or ~0u after the time-out.
    DWORD waitExit(DWORD ms);

private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
};

// The top-level window with the program title if `processId` owns it, else null.
HWND MainWindowOf(DWORD processId);
// The program's top-level window with the program title, pumping `probe` meanwhile.
HWND WaitForMainWindow(ProbeWindow& probe, DWORD processId, DWORD ms = 10000);

struct ToolResult {
    DWORD exitCode = ~0u;
    std::string output;  // stdout and stderr
};
// Runs `command` and collects its output.
ToolResult RunTool(const std::wstring& command, DWORD ms = 60000);

// touchsim.exe ARGS (MV_TOUCHSIM holds its Windows path).
ToolResult Touchsim(const std::wstring& arguments);
// The lines of `touchsim log` after `touchsim clear`, without the read requests.
std::vector<std::string> TouchsimRequests();
// The "opened=1 pid=N ..." state: the process that holds the stand-in's client slot.
DWORD TouchsimClientProcess();

// The texts of the shell's tray tooltips, as tray_tips.exe (MV_TRAY_TIPS) reads them, a line
// break inside one written as \n.
std::vector<std::string> TrayTips();

// Whether the shell has an icon 128 of `window` (NIM_MODIFY succeeds only for one).
bool TrayIconPresent(HWND window);

// The visible dialog windows (#32770) of `process` other than `except`: its menus and dialogs.
std::vector<HWND> VisibleDialogsOf(DWORD process, std::initializer_list<HWND> except);

// Puts the pointer in the middle of the probe, activates it and forgets what it received;
// whether it has the foreground and the focus.
bool CentreCursorOn(ProbeWindow& probe);

// Runs the probe's messages until `done` or `ms` passed.
template <class Predicate>
bool PumpUntil(ProbeWindow& probe, DWORD ms, Predicate done) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (done()) return true;
        probe.pump(50);
    }
    return done();
}

}  // namespace mv::wintest
