// Running the real program and the stand-in driver's control tool from a Windows test.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "win/probe_window.h"

namespace mv::wintest {

inline constexpr wchar_t kProgramTitle[] = L"Morvi Corvel Config";
// The class of the program's main window, which only the program registers.
inline constexpr wchar_t kProgramClass[] = L"MorviCorvelConfig";

// dist\MorviCorvelConfig.exe: MV_DIST_DIR holds the folder's Windows path.
std::wstring ProgramPath();

// dist\MorviCorvelConfig.exe (MV_DIST_DIR), started on construction, killed if still running.
class RunningProgram {
public:
    RunningProgram();
    // The program at `exePath` with `arguments`; a suspended one starts running at resume().
    explicit RunningProgram(const std::wstring& exePath, bool suspended = false, const std::wstring& arguments = L"");
    void resume();
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

// The tray menu's exit command, posted: the program ends by itself. Its exit code, ~0u when
// it did not end within `ms`.
DWORD ExitThroughTrayCommand(HWND main, RunningProgram& program, DWORD ms = 10000);

// The ids of the running processes of an image ("notepad.exe"), any case.
std::set<DWORD> ProcessesNamed(const wchar_t* image);

// The program's main window (its class, any title) if `processId` owns one, else null.
HWND MainWindowOf(DWORD processId);
// Every top-level window of the program's class, of any process.
std::vector<HWND> ProgramMainWindows();

// A copy of the program in a new folder under the temporary folder, with the skins, and with
// `languageXml` as its language.xml (no such file when it is null). Removed at the end.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::string* languageXml, const std::wstring& folderName = L"mvcopy");
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;
    bool ok() const { return ok_; }
    const std::wstring& folder() const { return folder_; }
    std::wstring exe() const { return folder_ + L"\\MorviCorvelConfig.exe"; }

private:
    std::wstring folder_;
    bool ok_ = false;
};
// The program's main window once its title is `title`, which the program sets in the window's
// initialisation just before it adds the tray icon; pumps `probe` meanwhile.
HWND WaitForMainWindow(ProbeWindow& probe, DWORD processId, DWORD ms = 10000, const wchar_t* title = kProgramTitle);

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

// Whole lines of `touchsim log` for the program's requests: every field and the device text,
// and no stray byte (the log would name it).
std::string OpenRequest(unsigned semaphore, bool refused = false);
std::string ModeRequest(std::uint32_t flags);
std::string KeysRequest(std::initializer_list<std::uint32_t> entries = {});
// SendDeviceSettings with every slot at its default: mode 0, the empty list eight times, mode 0x180.
std::vector<std::string> AllDefaultSettingsRequests();
// The semaphore of an "open ..." line; 0 for another line.
unsigned OpenedSemaphore(const std::string& line);
// The texts of the shell's tray tooltips, as tray_tips.exe (MV_TRAY_TIPS) reads them, a line
// break inside one written as \n.
std::vector<std::string> TrayTips();

// Whether the shell has an icon 128 of `window` (NIM_MODIFY succeeds only for one).
bool TrayIconPresent(HWND window);

// The visible dialog windows (#32770) of `process` other than `except`: its menus and dialogs.
std::vector<HWND> VisibleDialogsOf(DWORD process, std::initializer_list<HWND> except);
// The same, hidden ones too.
std::vector<HWND> AllDialogsOf(DWORD process, std::initializer_list<HWND> except);

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
