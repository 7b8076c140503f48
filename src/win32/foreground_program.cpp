#include "win32/foreground_program.h"

#include <algorithm>

#include "base/program_names.h"

namespace mv {

ForegroundProgram::~ForegroundProgram() {
    if (process_) CloseHandle(process_);
}

std::u16string ProcessImagePath(HANDLE process) {
    wchar_t path[MAX_PATH * 2];
    DWORD length = MAX_PATH * 2;
    if (!QueryFullProcessImageNameW(process, 0, path, &length)) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(path), length);
}

const std::u16string& ForegroundProgram::currentProgram() {
    // A window belongs to one process for its whole life, and its handle names no other
    // window while it exists: the same foreground window means the same program.
    HWND window = GetForegroundWindow();
    if (window && window == window_) return name_;
    window_ = window;
    DWORD id = 0;
    if (window) GetWindowThreadProcessId(window, &id);
    // Same process, still running: the name is still right (a process id is reused only
    // after the process ended).
    if (id && id == processId_ && process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) return name_;
    if (process_) CloseHandle(process_);
    process_ = nullptr;
    processId_ = id;
    name_.clear();
    if (!id) return name_;
    process_ = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
    if (!process_) process_ = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, id);
    if (process_) name_ = std::u16string(ProgramFileName(ProcessImagePath(process_)));
    return name_;
}

namespace {
struct Collect {
    DWORD except;
    std::vector<std::u16string> names;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
    auto* c = reinterpret_cast<Collect*>(data);
    if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) ||
        (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) || GetWindowTextLengthW(window) == 0)
        return TRUE;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    if (!id || id == c->except) return TRUE;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process) return TRUE;
    const std::u16string name(ProgramFileName(ProcessImagePath(process)));
    CloseHandle(process);
    if (ValidProgramName(name) &&
        std::none_of(c->names.begin(), c->names.end(), [&](const std::u16string& n) { return SameProgram(n, name); }))
        c->names.push_back(name);
    return TRUE;
}
}  // namespace

std::vector<std::u16string> ProgramsWithWindows(DWORD except) {
    Collect c{except, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&c));
    std::sort(c.names.begin(), c.names.end(), [](const std::u16string& a, const std::u16string& b) {
        return LessIgnoringAsciiCase(a, b);
    });
    return c.names;
}

}  // namespace mv
