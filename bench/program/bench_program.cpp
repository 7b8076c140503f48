// bench_program.exe: the real program (dist\MorviCorvelConfig.exe, MV_DIST_DIR) with the
// stand-in driver installed in the prefix, measured side by side in one run:
//   start-up        process start to main window, tray icon and driver opened
//   latency         semaphore released to the injected middle button arriving in a probe window,
//                   for the program with the gesture feedback off and on, and for the floor:
//                   the same steps with nothing of ours between them (this process opens the
//                   stand-in, a thread waits on the semaphore and reads the event, posts it to a
//                   window thread, which injects the click); taken in turns, printed with ratios
//   profiles        the same without profiles and with ten, the foreground program's deciding
//   flood           8000 pending gestures: time to run them and the settings window's answers
//   idle            CPU time and wake-ups over a period, driver open (feedback off, feedback on
//                   after a label has faded, gestures paused) and driver absent
//   memory          hidden, shown with the animation, over menu cycles and gesture selections;
//                   hidden as a ratio to a bare tray program, alone and with the two threads
//   answers         the settings window's answer times: the function menu opening, closing
//                   when a gesture is selected and when a function is picked, and a gesture
//                   selection; with --baseline, the same actions on another build in the same
//                   run, side by side
//   scale           start-up and the answer times with the display at 192 DPI (200 %) beside
//                   96 DPI, taken in turns (the prefix's LogPixels, which each new process
//                   reads, is set for each turn and put back after), with their ratios
// Options: --starts N  --events N  --cycles N  --idle-seconds N  --answers N  --baseline FOLDER
//          --only NAME (start-up, latency, profiles, flood, memory, answers, idle, scale)
//
// CPU time, wake-ups and resident private memory come from Linux (Z:\proc): Wine answers
// another process's CPU times and private bytes with zero.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "touchsim_protocol.h"
#include "ui/display_scale.h"
#include "win/program_support.h"

using namespace mv::wintest;

namespace {

constexpr WPARAM kExitCommand = 0x6001;
constexpr UINT kShowMessage = 0x4CA;
// Long enough hidden for the program to let go of what only its window needs (30 s).
constexpr DWORD kHiddenReleaseMs = 32000;
constexpr UINT kFunctionChosen = 0x501;
constexpr DWORD kMiddleClick = 0x8004, kRightClick = 0x8002;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Summary {
    double p50 = 0, p99 = 0, max = 0, mean = 0;
};

Summary Summarize(std::vector<double> values) {
    Summary s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    auto at = [&](double q) { return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))]; };
    s.p50 = at(0.50);
    s.p99 = at(0.99);
    s.max = values.back();
    double sum = 0;
    for (double v : values) sum += v;
    s.mean = sum / static_cast<double>(values.size());
    return s;
}

// ---- the stand-in's control device

bool Control(DWORD code, const void* in, DWORD inLength, void* out, DWORD outLength) {
    HANDLE control = CreateFileW(TS_CONTROL_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (control == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    const BOOL ok = DeviceIoControl(control, code, const_cast<void*>(in), inLength, out, outLength, &got, nullptr);
    CloseHandle(control);
    return ok != FALSE;
}

ts_client Client() {
    ts_client client{};
    if (!Control(TS_CTL_CLIENT, nullptr, 0, &client, sizeof client)) client = {};
    return client;
}

bool Queue(const std::vector<std::uint32_t>& codes) {
    ts_client client{};
    return Control(TS_CTL_PUSH, codes.data(), static_cast<DWORD>(codes.size() * 4), &client, sizeof client);
}

bool SetPresent(bool present) {
    const std::uint32_t value = present ? 1 : 0;
    return Control(TS_CTL_PRESENT, &value, sizeof value, nullptr, 0);
}

// The semaphore the program handed to the driver, duplicated into this process.
HANDLE ClientSemaphore(DWORD processId) {
    const ts_client client = Client();
    if (!client.opened || client.process_id != processId) return nullptr;
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, processId);
    if (!process) return nullptr;
    HANDLE semaphore = nullptr;
    DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(client.semaphore)),
                    GetCurrentProcess(), &semaphore, SEMAPHORE_MODIFY_STATE, FALSE, 0);
    CloseHandle(process);
    return semaphore;
}

// ---- the Linux view of the program's process

std::string ReadWholeFile(const std::wstring& path) {
    std::string text;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return text;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, got);
    std::fclose(f);
    return text;
}

// The Linux process id of the running `image` of this Wine prefix, or empty (other prefixes
// on the machine may run one too).
std::wstring UnixProcessOfProgram(const char* image = "MorviCorvelConfig.exe") {
    wchar_t prefix[MAX_PATH] = {};
    GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    std::string ours = "WINEPREFIX=";
    for (const wchar_t* c = prefix; *c; ++c) ours += static_cast<char>(*c);
    ours += '\0';
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::wstring pid;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::string command = ReadWholeFile(L"Z:\\proc\\" + name + L"\\cmdline");
        std::replace(command.begin(), command.end(), '\0', ' ');
        if (command.find(image) == std::string::npos) continue;
        if (prefix[0] && ReadWholeFile(L"Z:\\proc\\" + name + L"\\environ").find(ours) == std::string::npos) continue;
        pid = name;
    } while (pid.empty() && FindNextFileW(search, &found));
    FindClose(search);
    return pid;
}

long long Field(const std::string& text, const char* name) {
    const auto at = text.find(name);
    return at == std::string::npos ? -1 : std::atoll(text.c_str() + at + std::strlen(name));
}

struct LinuxUsage {
    double cpuMs = 0;             // on-CPU time of all threads
    long long wakeups = 0;        // voluntary context switches of all threads
    long long rssAnonKb = -1;     // resident private memory
    int threads = 0;
};

LinuxUsage ReadUsage(const std::wstring& pid) {
    LinuxUsage usage;
    if (pid.empty()) return usage;
    const std::wstring base = L"Z:\\proc\\" + pid;
    usage.rssAnonKb = Field(ReadWholeFile(base + L"\\status"), "RssAnon:");
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((base + L"\\task\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return usage;
    do {
        const std::wstring tid = found.cFileName;
        if (tid.empty() || tid[0] == L'.') continue;
        const std::wstring task = base + L"\\task\\" + tid;
        usage.cpuMs += std::atof(ReadWholeFile(task + L"\\schedstat").c_str()) / 1e6;
        const long long voluntary = Field(ReadWholeFile(task + L"\\status"), "voluntary_ctxt_switches:");
        if (voluntary > 0) usage.wakeups += voluntary;
        ++usage.threads;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return usage;
}

double WorkingSetKb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.WorkingSetSize) / 1024.0;
}

// ---- driving the program

void PumpOwn() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// Waits until `done`, pumping this thread, polling every millisecond.
template <class Predicate>
bool Poll(DWORD ms, Predicate done) {
    const double end = NowMs() + ms;
    while (NowMs() < end) {
        if (done()) return true;
        PumpOwn();
        Sleep(1);
    }
    return done();
}

struct Started {
    HWND main = nullptr;
    bool linked = false;
};

Started WaitForProgram(RunningProgram& program, bool expectLink) {
    Started s;
    Poll(15000, [&] { return (s.main = MainWindowOf(program.processId())) != nullptr; });
    if (s.main && expectLink) s.linked = Poll(15000, [&] { return Client().process_id == program.processId(); });
    return s;
}

void Exit(RunningProgram& program, HWND main) {
    if (main) PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    program.waitExit(10000);
}

bool Answers(HWND window, double* ms = nullptr) {
    const double t0 = NowMs();
    DWORD_PTR result = 0;
    const bool ok = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
    if (ms) *ms = NowMs() - t0;
    return ok;
}

bool ShowSettings(HWND main) {
    PostMessageW(main, kShowMessage, 0, 0);
    return Poll(5000, [&] { return IsWindowVisible(main) != FALSE; });
}

struct ChildSearch {
    HWND main;
    POINT corner;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM data) {
    auto* s = reinterpret_cast<ChildSearch*>(data);
    if (GetParent(child) != s->main) return TRUE;
    RECT r;
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(s->main, &p);
    if (p.x != s->corner.x || p.y != s->corner.y) return TRUE;
    s->found = child;
    return FALSE;
}

// The main window's child control whose client-area corner is at (x, y).
HWND ChildAt(HWND main, int x, int y) {
    ChildSearch search{main, {x, y}, nullptr};
    EnumChildWindows(main, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Command(HWND main, HWND source) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(source), BN_CLICKED),
                               reinterpret_cast<LPARAM>(source), SMTO_NORMAL, 5000, &result) != 0;
}

// ---- the measurements

int gFailures = 0;

void Failed(const char* what) {
    std::printf("FAILED: %s\n", what);
    ++gFailures;
}

struct StartUpSamples {
    std::vector<double> window, tray, linked;
    // The settings window asked for: as soon as the driver is open, and once the start has
    // settled (3 s after it); the time until it is shown and has answered.
    std::vector<double> showAtOnce, showSettled;
};

// Process start to the main window, the tray icon and the driver opened, `starts` times, for
// the program of `folder` (empty: this build); every start also times the first show.
bool MeasureStartUp(ProbeWindow& probe, int starts, StartUpSamples& samples, const std::wstring& folder = L"") {
    for (int i = 0; i < starts; ++i) {
        const double t0 = NowMs();
        std::unique_ptr<RunningProgram> made = folder.empty() ? std::make_unique<RunningProgram>()
                                                              : std::make_unique<RunningProgram>(folder + L"\\MorviCorvelConfig.exe");
        RunningProgram& program = *made;
        if (!program.started()) {
            Failed("the program did not start");
            return false;
        }
        HWND main = nullptr;
        if (!Poll(15000, [&] { return (main = MainWindowOf(program.processId())) != nullptr; })) {
            Failed("no main window");
            return false;
        }
        samples.window.push_back(NowMs() - t0);
        if (!Poll(15000, [&] { return TrayIconPresent(main); })) {
            Failed("no tray icon");
            return false;
        }
        samples.tray.push_back(NowMs() - t0);
        if (!Poll(15000, [&] { return Client().process_id == program.processId(); })) {
            Failed("the driver was not opened");
            return false;
        }
        samples.linked.push_back(NowMs() - t0);
        const bool atOnce = i % 2 == 0;
        if (!atOnce) probe.pump(static_cast<DWORD>(std::max(0.0, 3000 - (NowMs() - t0))));
        const double asked = NowMs();
        if (!ShowSettings(main) || !Answers(main)) {
            Failed("the settings window did not show");
            return false;
        }
        (atOnce ? samples.showAtOnce : samples.showSettled).push_back(NowMs() - asked);
        Exit(program, main);
        probe.pump(200);
    }
    return true;
}

// With a baseline, its starts and this build's in turns, side by side.
void StartUp(ProbeWindow& probe, int starts, const std::wstring& baseline) {
    StartUpSamples ours, theirs;
    const int rounds = baseline.empty() ? 1 : 2;
    for (int round = 0; round < rounds; ++round) {
        if (!baseline.empty() && !MeasureStartUp(probe, starts / rounds, theirs, baseline)) return;
        if (!MeasureStartUp(probe, starts / rounds, ours)) return;
    }
    struct Row {
        const char* what;
        const std::vector<double>& before;
        const std::vector<double>& after;
    } rows[] = {{"main window", theirs.window, ours.window},
                {"tray icon", theirs.tray, ours.tray},
                {"driver opened", theirs.linked, ours.linked},
                {"first show, asked at once", theirs.showAtOnce, ours.showAtOnce},
                {"first show, asked after 3 s", theirs.showSettled, ours.showSettled}};
    std::printf("start-up (%zu starts; ms from the process start, the show from its request):\n", ours.window.size());
    for (const Row& r : rows) {
        const Summary b = Summarize(r.before), a = Summarize(r.after);
        if (baseline.empty())
            std::printf("  %-30s this build p50 %6.0f max %6.0f\n", r.what, a.p50, a.max);
        else
            std::printf("  %-30s compared build p50 %6.0f max %6.0f | this build p50 %6.0f max %6.0f | p50 ratio %.2f\n",
                        r.what, b.p50, b.max, a.p50, a.max, b.p50 > 0 ? a.p50 / b.p50 : 0.0);
    }
}

// ---- the floor of the gesture path: the stand-in's steps with nothing of ours between them

constexpr UINT kFloorEvent = WM_APP + 1;

void PutLe32(unsigned char* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(v >> (8 * i));
}

// A client of the stand-in as bare as it gets: the open request hands over a semaphore, a
// thread waits on it and reads one event per release, posts the code to a window thread,
// which injects a middle click for 0x8004.
class FloorClient {
public:
    bool Open() {
        device_ = CreateFileW(L"\\\\.\\mvtouch", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
        if (device_ == INVALID_HANDLE_VALUE) return false;
        semaphore_ = CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, nullptr);
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ui_ = CreateThread(nullptr, 0, UiThread, this, 0, nullptr);
        WaitForSingleObject(ready_, 5000);
        if (!window_) return false;
        unsigned char request[TS_REQUEST_SIZE] = {};
        PutLe32(request, 1);
        std::memcpy(request + 108, TS_DEVICE_TEXT, sizeof TS_DEVICE_TEXT);
        PutLe32(request + 160, static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(semaphore_)));
        DWORD got = 0;
        if (!DeviceIoControl(device_, TS_IOCTL_WRITE, request, sizeof request, nullptr, 0, &got, nullptr)) return false;
        reader_ = CreateThread(nullptr, 0, ReaderThread, this, 0, nullptr);
        return reader_ != nullptr;
    }
    HANDLE semaphore() const { return semaphore_; }
    void Close() {
        stop_ = true;
        if (reader_) {
            ReleaseSemaphore(semaphore_, 1, nullptr);
            WaitForSingleObject(reader_, 5000);
            CloseHandle(reader_);
        }
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (ui_) {
            WaitForSingleObject(ui_, 5000);
            CloseHandle(ui_);
        }
        for (HANDLE h : {device_, semaphore_, ready_})
            if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == kFloorEvent && wp == kMiddleClick) {
            INPUT in[2] = {};
            in[0].type = in[1].type = INPUT_MOUSE;
            in[0].mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
            in[1].mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
            SendInput(2, in, sizeof(INPUT));
            return 0;
        }
        if (m == WM_CLOSE) {
            DestroyWindow(w);
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(w, m, wp, lp);
    }
    static DWORD WINAPI UiThread(void* self) {
        auto* c = static_cast<FloorClient*>(self);
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"MvBenchFloor";
        RegisterClassW(&wc);
        c->window_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetEvent(c->ready_);
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
        return 0;
    }
    static DWORD WINAPI ReaderThread(void* self) {
        auto* c = static_cast<FloorClient*>(self);
        while (WaitForSingleObject(c->semaphore_, INFINITE) == WAIT_OBJECT_0 && !c->stop_) {
            unsigned char event[TS_EVENT_SIZE] = {};
            std::memcpy(event + 4, TS_DEVICE_TEXT, sizeof TS_DEVICE_TEXT);
            DWORD got = 0;
            if (!DeviceIoControl(c->device_, TS_IOCTL_READ, event, sizeof event, event, sizeof event, &got, nullptr))
                continue;
            const std::uint32_t code = event[0] | event[1] << 8 | event[2] << 16 | static_cast<std::uint32_t>(event[3]) << 24;
            PostMessageW(c->window_, kFloorEvent, code, 0);
        }
        return 0;
    }

    HANDLE device_ = INVALID_HANDLE_VALUE, semaphore_ = nullptr, ready_ = nullptr, ui_ = nullptr, reader_ = nullptr;
    HWND window_ = nullptr;
    volatile bool stop_ = false;
};

// Release to button-down in the probe for `events` middle clicks through `semaphore`, after a
// warm-up; the samples are added to `samples`, the clicks that never came counted.
int MeasureClicks(ProbeWindow& probe, HANDLE semaphore, int events, std::vector<double>& samples) {
    CentreCursorOn(probe);
    int lost = 0;
    const int warmUp = 10;
    for (int i = 0; i < warmUp + events; ++i) {
        if (!Queue({kMiddleClick})) {
            Failed("latency: the driver refused the event");
            break;
        }
        bool down = false, up = false;
        double arrived = 0;
        const double t0 = NowMs();
        ReleaseSemaphore(semaphore, 1, nullptr);
        while (!up && NowMs() - t0 < 2000) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            MSG m;
            while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                if (m.message == WM_MBUTTONDOWN && !down) {
                    arrived = NowMs();
                    down = true;
                }
                if (m.message == WM_MBUTTONUP) up = true;
                DispatchMessageW(&m);
            }
        }
        if (!down) ++lost;
        if (down && i >= warmUp) samples.push_back(arrived - t0);
        Sleep(up ? 0 : 50);
    }
    return lost;
}

void SetFeedbackChoice(bool on) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET\\Corvel", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != 0)
        return;
    const DWORD value = on ? 1 : 0;
    RegSetValueExW(key, L"GestureFeedback", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

// One block of the program's clicks with the feedback on or off.
int ProgramClicks(ProbeWindow& probe, bool feedback, int events, std::vector<double>& samples) {
    SetFeedbackChoice(feedback);
    RunningProgram program;
    const Started s = WaitForProgram(program, true);
    if (!s.linked) {
        Failed("latency: the program did not open the driver");
        return 0;
    }
    HANDLE semaphore = ClientSemaphore(program.processId());
    if (!semaphore) {
        Failed("latency: no semaphore");
        Exit(program, s.main);
        return 0;
    }
    const int lost = MeasureClicks(probe, semaphore, events, samples);
    CloseHandle(semaphore);
    Exit(program, s.main);
    return lost;
}

int FloorClicks(ProbeWindow& probe, int events, std::vector<double>& samples) {
    FloorClient floor;
    int lost = 0;
    if (floor.Open())
        lost = MeasureClicks(probe, floor.semaphore(), events, samples);
    else
        Failed("latency: the floor client could not open the stand-in");
    floor.Close();
    return lost;
}

void Latency(ProbeWindow& probe, int events) {
    std::vector<double> floor, off, on;
    int lost = 0;
    constexpr int kRounds = 4;  // in turns, so that all three see the same machine
    const int block = std::max(1, events / kRounds);
    for (int round = 0; round < kRounds; ++round) {
        lost += FloorClicks(probe, block, floor);
        lost += ProgramClicks(probe, false, block, off);
        lost += ProgramClicks(probe, true, block, on);
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET");
    const Summary f = Summarize(floor), a = Summarize(off), b = Summarize(on);
    std::printf("gesture latency (release to button-down in the probe, %zu events each, in turns):\n", off.size());
    std::printf("  floor (the stand-in's steps alone)  p50 %7.3f ms  p99 %7.3f ms  max %7.3f ms  mean %7.3f ms\n", f.p50,
                f.p99, f.max, f.mean);
    std::printf("  program, feedback off               p50 %7.3f ms  p99 %7.3f ms  max %7.3f ms  mean %7.3f ms\n", a.p50,
                a.p99, a.max, a.mean);
    std::printf("  program, feedback on                p50 %7.3f ms  p99 %7.3f ms  max %7.3f ms  mean %7.3f ms\n", b.p50,
                b.p99, b.max, b.mean);
    auto ratio = [](double x, double y) { return y > 0 ? x / y : 0.0; };
    std::printf("  ratio to the floor: feedback off p50 %.2f p99 %.2f; feedback on p50 %.2f p99 %.2f; "
                "on/off p50 %.3f p99 %.3f; lost %d\n",
                ratio(a.p50, f.p50), ratio(a.p99, f.p99), ratio(b.p50, f.p50), ratio(b.p99, f.p99), ratio(b.p50, a.p50),
                ratio(b.p99, a.p99), lost);
    if (lost) Failed("latency: gestures were lost");
}

// Stores `count` profiles, the first for this benchmark's own program (the probe's, in front
// during the measurement) overriding the measured gesture with the same middle click, so
// that both paths inject the same input; 0 removes them.
void StoreProfiles(int count) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET\\Corvel\\Profiles");
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const wchar_t* name = wcsrchr(self, L'\\') ? wcsrchr(self, L'\\') + 1 : self;
    std::vector<std::uint8_t> image(19488, 0);
    const std::uint8_t defaults[17] = {0xA1, 2, 9, 10, 16, 17, 0xA3, 37, 0xA4, 85, 33, 3, 5, 4, 88, 89, 0xA2};
    for (int n = 0; n < 17; ++n) image[16 + 526 * n + 1] = defaults[n];
    const DWORD overrides = 1u << 11;
    for (int i = 0; i < count; ++i) {
        std::wstring key = L"Software\\Morvi\\MVSET\\Corvel\\Profiles\\";
        key += i == 0 ? std::wstring(name) : L"other" + std::to_wstring(i) + L".exe";
        HKEY k = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr)) continue;
        RegSetValueExW(k, L"ButtonSetting", 0, REG_BINARY, image.data(), static_cast<DWORD>(image.size()));
        RegSetValueExW(k, L"Overrides", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&overrides), sizeof overrides);
        RegCloseKey(k);
    }
}

// The gesture path without profiles and with ten (the foreground program's among them, so
// the foreground lookup and the profile's record both run), taken in turns in one run.
void ProfileLatency(ProbeWindow& probe, int events) {
    std::vector<double> off, on;
    int lost = 0;
    const int rounds = 4;
    for (int round = 0; round < 2 * rounds; ++round) {
        const bool profiles = round % 2 == 1;
        StoreProfiles(profiles ? 10 : 0);
        RunningProgram program;
        const Started s = WaitForProgram(program, true);
        if (!s.linked) return Failed("profiles: the program did not open the driver");
        HANDLE semaphore = ClientSemaphore(program.processId());
        if (!semaphore) return Failed("profiles: no semaphore");
        lost += MeasureClicks(probe, semaphore, events / rounds, profiles ? on : off);
        CloseHandle(semaphore);
        Exit(program, s.main);
        probe.pump(200);
    }
    StoreProfiles(0);
    const Summary a = Summarize(off), b = Summarize(on);
    std::printf("gesture latency without profiles (%zu events): p50 %.3f ms, p99 %.3f ms, mean %.3f ms\n", off.size(),
                a.p50, a.p99, a.mean);
    std::printf("gesture latency with 10 profiles, the foreground program's deciding (%zu events): p50 %.3f ms, "
                "p99 %.3f ms, mean %.3f ms\n",
                on.size(), b.p50, b.p99, b.mean);
    std::printf("profiles on / off: p50 %.3f, p99 %.3f, mean %.3f\n", b.p50 / a.p50, b.p99 / a.p99, b.mean / a.mean);
    if (lost) Failed("profiles: gestures were lost");
}


void Flood(ProbeWindow& probe) {
    RunningProgram program;
    const Started s = WaitForProgram(program, true);
    if (!s.linked || !ShowSettings(s.main)) return Failed("flood: the program did not start");
    HANDLE semaphore = ClientSemaphore(program.processId());
    if (!semaphore) return Failed("flood: no semaphore");
    CentreCursorOn(probe);
    constexpr int kPairs = 4000;
    std::vector<std::uint32_t> codes;
    for (int i = 0; i < kPairs; ++i) codes.insert(codes.end(), {kMiddleClick, kRightClick});
    if (!Queue(codes)) return Failed("flood: the driver refused the events");
    const std::size_t expected = 4 * kPairs;
    std::vector<double> answers;
    int unanswered = 0;
    const double t0 = NowMs();
    ReleaseSemaphore(semaphore, static_cast<LONG>(codes.size()), nullptr);
    CloseHandle(semaphore);
    double last = t0;
    while (probe.received.size() < expected && NowMs() - last < 5000) {
        const std::size_t before = probe.received.size();
        probe.pump(10);
        double ms = 0;
        if (Answers(s.main, &ms))
            answers.push_back(ms);
        else
            ++unanswered;
        if (probe.received.size() != before) last = NowMs();
    }
    const double total = last - t0;
    const UINT cycle[4] = {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP};
    std::size_t inOrder = 0;
    while (inOrder < probe.received.size() && probe.received[inOrder].message == cycle[inOrder % 4]) ++inOrder;
    const Summary a = Summarize(answers);
    std::printf("flood (%d gestures pending at once): all run in %.0f ms (%.3f ms each), %zu of %zu messages "
                "in order; settings window answered %zu times: p50 %.2f ms, p99 %.2f ms, max %.2f ms, "
                "%d unanswered\n",
                2 * kPairs, total, total / (2 * kPairs), inOrder, expected, answers.size(), a.p50, a.p99, a.max,
                unanswered);
    if (inOrder != expected || probe.received.size() != expected) Failed("flood: gestures lost or out of order");
    Exit(program, s.main);
}

enum class IdleSetup { Plain, FeedbackShown, Paused };

void IdlePhase(ProbeWindow& probe, const char* label, bool driverPresent, int seconds, IdleSetup setup = IdleSetup::Plain) {
    if (!driverPresent) SetPresent(false);
    SetFeedbackChoice(setup == IdleSetup::FeedbackShown);
    RunningProgram program;
    const Started s = WaitForProgram(program, driverPresent);
    if (!s.main || (driverPresent && !s.linked)) {
        SetPresent(true);
        return Failed("idle: the program did not start");
    }
    if (setup == IdleSetup::FeedbackShown) {
        // One gesture shows the label; the measurement starts after it has faded.
        HANDLE semaphore = ClientSemaphore(program.processId());
        std::vector<double> ignored;
        if (!semaphore || MeasureClicks(probe, semaphore, 1, ignored) != 0) Failed("idle: the gesture did not run");
        if (semaphore) CloseHandle(semaphore);
    }
    if (setup == IdleSetup::Paused) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(s.main, WM_COMMAND, 0x6002, 0, SMTO_NORMAL, 5000, &result);
    }
    Sleep(5000);  // start-up work done, a label faded
    const std::wstring pid = UnixProcessOfProgram();
    const LinuxUsage before = ReadUsage(pid);
    Sleep(static_cast<DWORD>(seconds) * 1000);
    const LinuxUsage after = ReadUsage(pid);
    const double perMinute = 60.0 / seconds;
    if (pid.empty())
        Failed("idle: the program's Linux process was not found");
    else
        std::printf("idle, %s (%d s): CPU %.2f ms per minute, %.1f wake-ups per minute over %d threads\n", label,
                    seconds, (after.cpuMs - before.cpuMs) * perMinute,
                    static_cast<double>(after.wakeups - before.wakeups) * perMinute, after.threads);
    Exit(program, s.main);
    SetPresent(true);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET");
}

void PrintMemory(const char* label, HANDLE process, const std::wstring& pid) {
    std::printf("memory, %s: resident private %lld KiB, working set %.0f KiB\n", label, ReadUsage(pid).rssAnonKb,
                WorkingSetKb(process));
}

// The resident private memory of a bare tray program (tray_floor.exe, beside this one, with
// `arguments`) under the same Wine, 3 s after its start; 0 when it did not run.
long long FloorKb(const std::wstring& arguments) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"tray_floor.exe";
    RunningProgram floor(path, false, arguments);
    if (!floor.started()) return 0;
    Sleep(3000);
    const long long kb = ReadUsage(UnixProcessOfProgram("tray_floor.exe")).rssAnonKb;
    if (HWND window = FindWindowW(L"MvTrayFloor", nullptr)) PostMessageW(window, WM_CLOSE, 0, 0);
    floor.waitExit(5000);
    return kb;
}

// The bare tray program, and the same with the two threads the program cannot do without (its
// reader and the system's thread for device notifications), which Wine gives about 1 MiB of
// resident stack each.
struct Floors {
    long long bareKb = 0, threadsKb = 0;
};

// The resident private memory of the program of `folder` (empty: this build) while hidden,
// as a ratio to the floor: a while after the start, never shown, then shown once and hidden a
// while. Leaves the program running (its window hidden) for the caller, or ends it.
struct HiddenMemory {
    long long neverShownKb = 0, shownOnceKb = 0;
};

bool MeasureHiddenMemory(ProbeWindow& probe, const std::wstring& folder, const Floors& floors, HiddenMemory& m,
                         RunningProgram* keep, Started* kept) {
    std::unique_ptr<RunningProgram> made;
    if (!keep)
        made = folder.empty() ? std::make_unique<RunningProgram>()
                              : std::make_unique<RunningProgram>(folder + L"\\MorviCorvelConfig.exe");
    RunningProgram& program = keep ? *keep : *made;
    const Started s = WaitForProgram(program, true);
    if (!s.linked) return Failed("memory: the program did not start"), false;
    const char* build = folder.empty() ? "this build" : "the baseline";
    Sleep(3000);
    const std::wstring pid = UnixProcessOfProgram();
    std::printf("memory, %s, hidden, 3 s after the start: resident private %lld KiB\n", build,
                ReadUsage(pid).rssAnonKb);
    probe.pump(kHiddenReleaseMs);
    const auto againstFloor = [&](const char* label) {
        const long long kb = ReadUsage(pid).rssAnonKb;
        const auto ratio = [&](long long floor) {
            return floor > 0 ? static_cast<double>(kb) / static_cast<double>(floor) : 0.0;
        };
        std::printf("memory, %s, %s: resident private %lld KiB, %.2f times the bare tray program's %lld KiB, "
                    "%.2f times its %lld KiB with the two threads\n",
                    build, label, kb, ratio(floors.bareKb), floors.bareKb, ratio(floors.threadsKb), floors.threadsKb);
        return kb;
    };
    m.neverShownKb = againstFloor("hidden, never shown, after a while");
    if (!ShowSettings(s.main)) return Failed("memory: the window did not show"), false;
    probe.pump(3000);
    PrintMemory("window shown, animation playing", program.process(), pid);
    PostMessageW(s.main, WM_CLOSE, 0, 0);  // hides it
    probe.pump(kHiddenReleaseMs + 2000);
    m.shownOnceKb = againstFloor("shown once, then hidden for a while");
    if (kept) *kept = s;
    else Exit(program, s.main);
    return true;
}

void Memory(ProbeWindow& probe, int cycles, const std::wstring& baseline) {
    const Floors floors{FloorKb(L""), FloorKb(L"--threads")};
    if (floors.bareKb <= 0 || floors.threadsKb <= 0) Failed("memory: the bare tray program did not run");
    std::printf("memory, the floor: a bare tray program %lld KiB; with a reader thread and a device notification "
                "%lld KiB\n",
                floors.bareKb, floors.threadsKb);
    HiddenMemory theirs, ours;
    if (!baseline.empty() && !MeasureHiddenMemory(probe, baseline, floors, theirs, nullptr, nullptr)) return;
    RunningProgram program;
    Started s;
    if (!MeasureHiddenMemory(probe, L"", floors, ours, &program, &s)) return;
    if (!baseline.empty())
        std::printf("memory, hidden, this build beside the baseline: never shown %lld vs %lld KiB (%.2f), shown once "
                    "%lld vs %lld KiB (%.2f)\n",
                    ours.neverShownKb, theirs.neverShownKb,
                    static_cast<double>(ours.neverShownKb) / static_cast<double>(std::max(1LL, theirs.neverShownKb)),
                    ours.shownOnceKb, theirs.shownOnceKb,
                    static_cast<double>(ours.shownOnceKb) / static_cast<double>(std::max(1LL, theirs.shownOnceKb)));
    const std::wstring pid = UnixProcessOfProgram();
    const double asked = NowMs();
    if (!ShowSettings(s.main) || !Answers(s.main)) return Failed("memory: the window did not show again");
    std::printf("memory: the window shown again with its pictures loaded anew in %.0f ms\n", NowMs() - asked);
    probe.pump(1000);

    HWND function = ChildAt(s.main, 41, 363);
    HWND tiles[2] = {ChildAt(s.main, 51, 133), ChildAt(s.main, 169, 133)};
    if (!function || !tiles[0] || !tiles[1]) return Failed("memory: controls not found");

    int menuMisses = 0;
    Command(s.main, tiles[1]);  // a gesture with a function menu
    auto menuCycle = [&] {
        Command(s.main, function);
        if (!Poll(1000, [&] { return VisibleDialogsOf(program.processId(), {s.main}).size() == 1; })) ++menuMisses;
        Command(s.main, tiles[1]);  // any other command closes the menu
        if (!Poll(1000, [&] { return VisibleDialogsOf(program.processId(), {s.main}).empty(); })) ++menuMisses;
        PumpOwn();
    };
    for (int i = 0; i < 20; ++i) menuCycle();
    probe.pump(500);
    const long long menuStart = ReadUsage(pid).rssAnonKb;
    const double menuStartSet = WorkingSetKb(program.process());
    for (int i = 0; i < cycles; ++i) menuCycle();
    probe.pump(500);
    const long long menuEnd = ReadUsage(pid).rssAnonKb;
    const double menuEndSet = WorkingSetKb(program.process());
    std::printf("memory, %d function menu open/close cycles: resident private %lld -> %lld KiB (%+lld), "
                "working set %+.0f KiB, %d cycles without the menu as expected\n",
                cycles, menuStart, menuEnd, menuEnd - menuStart, menuEndSet - menuStartSet, menuMisses);
    if (menuMisses) Failed("memory: the menu did not open or close");

    for (int i = 0; i < 20; ++i) Command(s.main, tiles[i % 2]);
    probe.pump(500);
    const long long selectStart = ReadUsage(pid).rssAnonKb;
    const double selectStartSet = WorkingSetKb(program.process());
    for (int i = 0; i < cycles; ++i) {
        Command(s.main, tiles[i % 2]);  // each selection restarts that gesture's animation
        Sleep(2);
        PumpOwn();
    }
    probe.pump(1000);
    const long long selectEnd = ReadUsage(pid).rssAnonKb;
    const double selectEndSet = WorkingSetKb(program.process());
    std::printf("memory, %d gesture selections: resident private %lld -> %lld KiB (%+lld), working set %+.0f KiB\n",
                cycles, selectStart, selectEnd, selectEnd - selectStart, selectEndSet - selectStartSet);
    if (!Answers(s.main)) Failed("memory: the window stopped answering");
    Exit(program, s.main);
}

// The answer times of one build, gathered over several runs of it.
struct AnswerSamples {
    std::vector<double> open, closeBySelection, closeByPick, selection;
    int misses = 0;
    SIZE window{};  // the settings window's size, as last shown
};

// The same actions on any build: the window shown and slot 1 (a gesture with a function
// menu) selected; the function menu opened and closed by selecting slot 1 again, opened and
// closed by picking "Cut"; gestures 0 and 1 selected in turn. Each time is the time until the
// window has answered the command; the menu's appearance and disappearance are checked after.
// `dpi` is the display's, for which the program lays the window out.
bool MeasureAnswers(const std::wstring& folder, int count, AnswerSamples& a, int dpi = 96) {
    RunningProgram program(folder + L"\\MorviCorvelConfig.exe");
    const Started s = WaitForProgram(program, true);
    if (!s.linked || !ShowSettings(s.main)) return false;
    Sleep(1500);
    RECT shown{};
    GetWindowRect(s.main, &shown);
    a.window = SIZE{shown.right - shown.left, shown.bottom - shown.top};
    const auto at = [&](int x, int y) { return ChildAt(s.main, mv::ScaleToDpi(x, dpi), mv::ScaleToDpi(y, dpi)); };
    const HWND function = at(41, 363);
    const HWND tiles[2] = {at(51, 133), at(169, 133)};
    if (!function || !tiles[0] || !tiles[1]) return false;
    const DWORD pid = program.processId();
    auto timed = [](auto&& action) {
        const double t0 = NowMs();
        action();
        return NowMs() - t0;
    };
    auto menuShown = [&](std::size_t levels) {
        return Poll(1000, [&] { return VisibleDialogsOf(pid, {s.main}).size() == levels; });
    };
    auto pick = [&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(s.main, kFunctionChosen, 0, (177 << 16) | 64, SMTO_NORMAL, 5000, &result);
    };
    Command(s.main, tiles[1]);
    for (int round = 0; round < count + 10; ++round) {
        const bool kept = round >= 10;  // the first ones make the menu and fill the caches
        double ms = timed([&] { Command(s.main, function); });
        if (!menuShown(1)) ++a.misses;
        if (kept) a.open.push_back(ms);
        ms = timed([&] { Command(s.main, tiles[1]); });
        if (!menuShown(0)) ++a.misses;
        if (kept) a.closeBySelection.push_back(ms);
        Command(s.main, function);
        if (!menuShown(1)) ++a.misses;
        ms = timed(pick);
        if (!menuShown(0)) ++a.misses;
        if (kept) a.closeByPick.push_back(ms);
        PumpOwn();
    }
    for (int i = 0; i < count + 10; ++i) {
        const double ms = timed([&] { Command(s.main, tiles[i % 2]); });  // restarts that gesture's animation
        if (i >= 10) a.selection.push_back(ms);
        Sleep(20);
        PumpOwn();
    }
    const bool answering = Answers(s.main);
    Exit(program, s.main);
    return answering;
}

void AnswerTimes(const std::wstring& baseline, int count) {
    wchar_t dist[MAX_PATH] = {};
    GetEnvironmentVariableW(L"MV_DIST_DIR", dist, MAX_PATH);
    const std::wstring current = dist;
    AnswerSamples today, ours;
    // Taken in turns, so that both builds see the same machine.
    for (int round = 0; round < 2; ++round) {
        if (!baseline.empty() && !MeasureAnswers(baseline, count / 2, today))
            return Failed("answers: the build to compare with did not start or answer");
        if (!MeasureAnswers(current, count / 2, ours)) return Failed("answers: the program did not start or answer");
    }
    if (today.misses + ours.misses) Failed("answers: the menu did not open or close");
    struct Row {
        const char* what;
        const std::vector<double>& before;
        const std::vector<double>& after;
    } rows[] = {{"function menu opens", today.open, ours.open},
                {"menu closes, a gesture selected", today.closeBySelection, ours.closeBySelection},
                {"menu closes, a function picked", today.closeByPick, ours.closeByPick},
                {"gesture selection", today.selection, ours.selection}};
    std::printf("answers of the settings window (%zu of each, ms until the window has answered):\n", ours.open.size());
    for (const Row& r : rows) {
        const Summary b = Summarize(r.before), a = Summarize(r.after);
        if (baseline.empty())
            std::printf("  %-32s this build p50 %6.1f max %6.1f\n", r.what, a.p50, a.max);
        else
            std::printf("  %-32s compared build p50 %6.1f max %6.1f | this build p50 %6.1f max %6.1f | p50 ratio %.3f\n",
                        r.what, b.p50, b.max, a.p50, a.max, b.p50 > 0 ? a.p50 / b.p50 : 0.0);
    }
}

// The display's DPI for the processes started from now on (the prefix's LogPixels); 0 removes it.
void SetDisplayDpi(DWORD dpi) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (dpi)
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    else
        RegDeleteValueW(key, L"LogPixels");
    RegCloseKey(key);
}

DWORD DisplayDpiSetting() {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

// Start-up and the answer times at 192 DPI beside 96 DPI, in turns, and their ratios.
void ScaleComparison(ProbeWindow& probe, int starts, int count) {
    wchar_t dist[MAX_PATH] = {};
    GetEnvironmentVariableW(L"MV_DIST_DIR", dist, MAX_PATH);
    const DWORD before = DisplayDpiSetting();
    constexpr int kDpis[2] = {96, 192};
    StartUpSamples started[2];
    AnswerSamples answered[2];
    bool ok = true;
    for (int round = 0; round < 2 && ok; ++round)
        for (int i = 0; i < 2 && ok; ++i) {
            SetDisplayDpi(kDpis[i]);
            ok = MeasureStartUp(probe, std::max(1, starts / 2), started[i]) &&
                 MeasureAnswers(dist, std::max(1, count / 2), answered[i], kDpis[i]);
            if (!ok) Failed("scale: the program did not start or answer");
        }
    SetDisplayDpi(before);
    if (!ok) return;
    if (answered[0].misses + answered[1].misses) Failed("scale: the menu did not open or close");
    std::printf("display scale, 192 DPI beside 96 DPI (taken in turns; settings window %ldx%ld and %ldx%ld):\n",
                answered[0].window.cx, answered[0].window.cy, answered[1].window.cx, answered[1].window.cy);
    struct Row {
        const char* what;
        const std::vector<double>& at96;
        const std::vector<double>& at192;
    } rows[] = {{"start-up: main window", started[0].window, started[1].window},
                {"start-up: tray icon", started[0].tray, started[1].tray},
                {"start-up: driver opened", started[0].linked, started[1].linked},
                {"function menu opens", answered[0].open, answered[1].open},
                {"menu closes, a gesture selected", answered[0].closeBySelection, answered[1].closeBySelection},
                {"menu closes, a function picked", answered[0].closeByPick, answered[1].closeByPick},
                {"gesture selection", answered[0].selection, answered[1].selection}};
    for (const Row& r : rows) {
        const Summary a = Summarize(r.at96), b = Summarize(r.at192);
        std::printf("  %-32s 96 DPI p50 %7.1f max %7.1f | 192 DPI p50 %7.1f max %7.1f | p50 ratio %.2f\n", r.what,
                    a.p50, a.max, b.p50, b.max, a.p50 > 0 ? b.p50 / a.p50 : 0.0);
    }
}

int Option(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wcscmp(argv[i], name) == 0) return std::max(1, _wtoi(argv[i + 1]));
    return fallback;
}

std::wstring TextOption(int argc, wchar_t** argv, const wchar_t* name) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::wcscmp(argv[i], name) == 0) return argv[i + 1];
    return {};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int starts = Option(argc, argv, L"--starts", 10);
    const int events = Option(argc, argv, L"--events", 1000);
    const int cycles = Option(argc, argv, L"--cycles", 1000);
    const int idleSeconds = Option(argc, argv, L"--idle-seconds", 60);
    const int answers = Option(argc, argv, L"--answers", 200);
    const std::wstring baseline = TextOption(argc, argv, L"--baseline");
    const std::wstring only = TextOption(argc, argv, L"--only");
    ts_client client{};
    if (!Control(TS_CTL_CLIENT, nullptr, 0, &client, sizeof client)) {
        std::printf("FAILED: the stand-in driver is not installed in this prefix\n");
        return 1;
    }
    SetPresent(true);
    const std::uint32_t noFailures = 0;
    Control(TS_CTL_FAIL, &noFailures, sizeof noFailures, nullptr, 0);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Morvi\\MVSET");  // every run starts from the defaults

    ProbeWindow probe;
    auto timed = [](const char* name, auto&& run) {
        const double t0 = NowMs();
        run();
        std::fprintf(stderr, "(%s took %.1f s)\n", name, (NowMs() - t0) / 1000);
        std::fflush(stdout);
    };
    auto wanted = [&](const wchar_t* name) { return only.empty() || only == name; };
    if (wanted(L"start-up")) timed("start-up", [&] { StartUp(probe, starts, baseline); });
    if (wanted(L"latency")) timed("latency", [&] { Latency(probe, events); });
    if (wanted(L"profiles")) timed("profiles", [&] { ProfileLatency(probe, events); });
    if (wanted(L"flood")) timed("flood", [&] { Flood(probe); });
    if (wanted(L"memory")) timed("memory", [&] { Memory(probe, cycles, baseline); });
    if (wanted(L"answers")) timed("answers", [&] { AnswerTimes(baseline, answers); });
    if (wanted(L"scale")) timed("scale", [&] { ScaleComparison(probe, starts, answers); });
    if (wanted(L"idle")) {
        timed("idle", [&] { IdlePhase(probe, "driver open, window hidden, feedback off", true, idleSeconds); });
        timed("idle", [&] {
            IdlePhase(probe, "driver open, window hidden, feedback on, a label shown and faded", true, idleSeconds,
                      IdleSetup::FeedbackShown);
        });
        timed("idle", [&] { IdlePhase(probe, "driver open, window hidden, gestures paused", true, idleSeconds, IdleSetup::Paused); });
        timed("idle", [&] { IdlePhase(probe, "driver absent (retrying every 500 ms)", false, idleSeconds); });
    }
    std::fflush(stdout);
    return gFailures == 0 ? 0 : 1;
}
