#include "win/program_support.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace mv::wintest {

namespace {

std::wstring EnvPath(const wchar_t* name, const wchar_t* fallback) {
    wchar_t value[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(name, value, MAX_PATH)) return fallback;
    return value;
}

}  // namespace

RunningProgram::RunningProgram() : RunningProgram(EnvPath(L"MV_DIST_DIR", L".")) {}

RunningProgram::RunningProgram(const std::wstring& folder) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + folder + L"\\MorviCorvelConfig.exe\"";
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
}

RunningProgram::~RunningProgram() {
    if (!started_) return;
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(pi_.hProcess, 9);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

DWORD RunningProgram::waitExit(DWORD ms) {
    if (!started_ || WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return ~0u;
    DWORD code = ~0u;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

HWND MainWindowOf(DWORD processId) {
    HWND w = FindWindowW(nullptr, kProgramTitle);
    DWORD owner = 0;
    if (w) GetWindowThreadProcessId(w, &owner);
    return (w && owner == processId) ? w : nullptr;
}

HWND WaitForMainWindow(ProbeWindow& probe, DWORD processId, DWORD ms) {
    HWND found = nullptr;
    PumpUntil(probe, ms, [&] { return (found = MainWindowOf(processId)) != nullptr; });
    return found;
}

ToolResult RunTool(const std::wstring& command, DWORD ms) {
    ToolResult result;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring line = command;
    const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return result;
    }
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) result.output.append(buffer, got);
    CloseHandle(readEnd);
    if (WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &result.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return result;
}

ToolResult Touchsim(const std::wstring& arguments) {
    return RunTool(L"\"" + EnvPath(L"MV_TOUCHSIM", L"touchsim.exe") + L"\" " + arguments);
}

std::vector<std::string> TouchsimRequests() {
    std::vector<std::string> lines;
    std::istringstream in(Touchsim(L"log").output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.rfind("read", 0) == 0) continue;
        lines.push_back(line);
    }
    return lines;
}

DWORD TouchsimClientProcess() {
    const std::string status = Touchsim(L"status").output;
    unsigned opened = 0, pid = 0;
    if (std::sscanf(status.c_str(), "opened=%u pid=%u", &opened, &pid) != 2 || !opened) return 0;
    return pid;
}

std::vector<std::string> TrayTips() {
    std::vector<std::string> lines;
    std::istringstream in(RunTool(L"\"" + EnvPath(L"MV_TRAY_TIPS", L"tray_tips.exe") + L"\"").output);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

bool TrayIconPresent(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = 128;
    data.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::vector<HWND> VisibleDialogsOf(DWORD process, std::initializer_list<HWND> except) {
    std::vector<HWND> found;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        if (owner != process || !IsWindowVisible(w) || std::wstring(cls) != L"#32770") continue;
        if (std::find(except.begin(), except.end(), w) == except.end()) found.push_back(w);
    }
    return found;
}

bool CentreCursorOn(ProbeWindow& probe) {
    RECT r;
    GetWindowRect(probe.handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const bool active = probe.activate();
    probe.clear();
    return active;
}

}  // namespace mv::wintest
