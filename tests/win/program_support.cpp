#include "win/program_support.h"

#include <shellapi.h>
#include <tlhelp32.h>

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

std::wstring ProgramPath() { return EnvPath(L"MV_DIST_DIR", L".") + L"\\MorviCorvelConfig.exe"; }

RunningProgram::RunningProgram() : RunningProgram(ProgramPath()) {}

RunningProgram::RunningProgram(const std::wstring& exePath, bool suspended, const std::wstring& arguments) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + exePath + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, suspended ? CREATE_SUSPENDED : 0,
                              nullptr, nullptr, &si, &pi_);
}

void RunningProgram::resume() {
    if (started_) ResumeThread(pi_.hThread);
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

DWORD ExitThroughTrayCommand(HWND main, RunningProgram& program, DWORD ms) {
    PostMessageW(main, WM_COMMAND, 0x6001, 0);
    return program.waitExit(ms);
}

std::vector<HWND> ProgramMainWindows() {
    std::vector<HWND> found;
    for (HWND w = FindWindowExW(nullptr, nullptr, kProgramClass, nullptr); w;
         w = FindWindowExW(nullptr, w, kProgramClass, nullptr))
        found.push_back(w);
    return found;
}

HWND MainWindowOf(DWORD processId) {
    for (HWND w : ProgramMainWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId) return w;
    }
    return nullptr;
}

ProgramCopy::ProgramCopy(const std::string* languageXml, const std::wstring& folderName) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + folderName + L"." + std::to_wstring(GetCurrentProcessId());
    const std::wstring dist = EnvPath(L"MV_DIST_DIR", L".");
    ok_ = CreateDirectoryW(folder_.c_str(), nullptr) && CreateDirectoryW((folder_ + L"\\skins").c_str(), nullptr) &&
          CopyFileW(ProgramPath().c_str(), exe().c_str(), FALSE);
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileW((dist + L"\\skins\\*").c_str(), &entry);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &entry)) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        ok_ = ok_ && CopyFileW((dist + L"\\skins\\" + entry.cFileName).c_str(),
                               (folder_ + L"\\skins\\" + entry.cFileName).c_str(), FALSE);
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    if (languageXml) {
        HANDLE file = CreateFileW((folder_ + L"\\language.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                  nullptr);
        DWORD written = 0;
        ok_ = ok_ && file != INVALID_HANDLE_VALUE &&
              WriteFile(file, languageXml->data(), static_cast<DWORD>(languageXml->size()), &written, nullptr) &&
              written == languageXml->size();
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
}

ProgramCopy::~ProgramCopy() {
    SHFILEOPSTRUCTW operation{};
    const std::wstring from = folder_ + L'\0';  // double-terminated
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&operation);
}

HWND WaitForMainWindow(ProbeWindow& probe, DWORD processId, DWORD ms, const wchar_t* title) {
    HWND found = nullptr;
    PumpUntil(probe, ms, [&] {
        found = MainWindowOf(processId);
        wchar_t caption[128] = {};
        if (found) GetWindowTextW(found, caption, 128);
        return found && std::wstring(caption) == title;
    });
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

namespace {
constexpr char kDeviceTextField[] = " text=\"MORVI 5G Wireless Device\"";
}

std::string OpenRequest(unsigned semaphore, bool refused) {
    char line[64];
    std::snprintf(line, sizeof line, "open semaphore=0x%x", semaphore);
    return std::string(line) + kDeviceTextField + " out=0" + (refused ? " refused" : "");
}

std::string ModeRequest(std::uint32_t flags) {
    char line[64];
    std::snprintf(line, sizeof line, "mode 0x%08x word=0x00070601", static_cast<unsigned>(flags));
    return std::string(line) + kDeviceTextField;
}

std::string KeysRequest(std::initializer_list<std::uint32_t> entries) {
    std::string line = "keys 0x00000200:";
    auto entry = entries.begin();
    for (int i = 0; i < 12; ++i) {
        char field[16];
        std::snprintf(field, sizeof field, " %08x", entry != entries.end() ? static_cast<unsigned>(*entry++) : 0u);
        line += field;
    }
    return line + kDeviceTextField;
}

std::vector<std::string> AllDefaultSettingsRequests() {
    std::vector<std::string> lines{ModeRequest(0)};
    for (int i = 0; i < 8; ++i) lines.push_back(KeysRequest());
    lines.push_back(ModeRequest(0x180));
    return lines;
}

unsigned OpenedSemaphore(const std::string& line) {
    unsigned semaphore = 0;
    return std::sscanf(line.c_str(), "open semaphore=0x%x", &semaphore) == 1 ? semaphore : 0;
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

namespace {
std::vector<HWND> DialogsOf(DWORD process, std::initializer_list<HWND> except, bool hiddenToo) {
    std::vector<HWND> found;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        if (owner != process || (!hiddenToo && !IsWindowVisible(w)) || std::wstring(cls) != L"#32770") continue;
        if (std::find(except.begin(), except.end(), w) == except.end()) found.push_back(w);
    }
    return found;
}
}  // namespace

std::vector<HWND> VisibleDialogsOf(DWORD process, std::initializer_list<HWND> except) {
    return DialogsOf(process, except, false);
}

std::vector<HWND> AllDialogsOf(DWORD process, std::initializer_list<HWND> except) {
    return DialogsOf(process, except, true);
}

bool CentreCursorOn(ProbeWindow& probe) {
    RECT r;
    GetWindowRect(probe.handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const bool active = probe.activate();
    probe.clear();
    return active;
}

std::set<DWORD> ProcessesNamed(const wchar_t* image) {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, image) == 0) ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

}  // namespace mv::wintest
