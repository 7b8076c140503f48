// touchsim.exe: control tool of the stand-in touch driver touchsim.sys.
//
//   touchsim install [SYS]        register and start the driver in this Wine prefix
//   touchsim status               the client that opened the device, and queued events
//   touchsim push [--burst] [--times N] CODE…
//                                 queue event codes (the list N times over), then release the
//                                 client's semaphore once per code (--burst: one release by the
//                                 whole count, so that every announcement is pending before the
//                                 reader wakes)
//   touchsim battery VALUE [ST]   the battery register's answer (status byte ST, default 1)
//   touchsim fail N               refuse the next N requests of the program
//   touchsim short N              answer the next N reads short (2 bytes claimed, none written)
//   touchsim drop                 forget the queued events (no client read them)
//   touchsim log [FIRST]          print the requests received, decoded, one a line
//   touchsim clear                forget the logged requests
//   touchsim unplug | plug        pull the receiver out (\\.\mvtouch does not open and every
//                                 request fails) or plug it back in
//   touchsim arrive PID [--lower] [--title T]
//                                 send the program's main window (or the window titled T) a
//                                 DBT_DEVICEARRIVAL for a USB interface whose name holds
//                                 USB#Vid_F0CA&Pid_PID
//   touchsim arrive-name NAME [--title T]   the same with a whole interface name
//   touchsim remove PID [--lower] [--title T]
//                                 the same as arrive with DBT_DEVICEREMOVECOMPLETE
//
// The driver records the client's process id and semaphore handle at the open request; the
// release happens here, in user mode, through a duplicate of that handle.
#include <windows.h>
#include <dbt.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <initializer_list>
#include <string>
#include <vector>

#include "touchsim_protocol.h"

namespace {

constexpr wchar_t kServiceName[] = L"touchsim";
constexpr wchar_t kMainWindowClass[] = L"MorviCorvelConfig";

int Fail(const char* what) {
    std::fprintf(stderr, "touchsim: %s (error %lu)\n", what, GetLastError());
    return 1;
}

HANDLE OpenControl() {
    return CreateFileW(TS_CONTROL_PATH, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

bool Control(DWORD code, const void* in, DWORD inLength, void* out, DWORD outLength, DWORD* returned = nullptr) {
    HANDLE control = OpenControl();
    if (control == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    const BOOL ok = DeviceIoControl(control, code, const_cast<void*>(in), inLength, out, outLength, &got, nullptr);
    CloseHandle(control);
    if (returned) *returned = got;
    return ok != FALSE;
}

bool ParseNumber(const wchar_t* text, unsigned long& value) {
    wchar_t* end = nullptr;
    errno = 0;
    value = std::wcstoul(text, &end, 0);
    return end != text && *end == 0 && errno == 0;
}

std::wstring Directory(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

int Install(int argc, wchar_t** argv) {
    std::wstring sys;
    if (argc > 2) {
        wchar_t full[MAX_PATH];
        if (!GetFullPathNameW(argv[2], MAX_PATH, full, nullptr)) return Fail("bad driver path");
        sys = full;
    } else {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        sys = Directory(self) + L"touchsim.sys";
    }
    if (GetFileAttributesW(sys.c_str()) == INVALID_FILE_ATTRIBUTES) return Fail("driver file not found");
    if (HANDLE control = OpenControl(); control != INVALID_HANDLE_VALUE) {
        CloseHandle(control);
        std::printf("touchsim: driver running\n");
        return 0;
    }

    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return Fail("cannot open the service manager");
    SC_HANDLE service = CreateServiceW(manager, kServiceName, kServiceName, SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                       SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, sys.c_str(), nullptr, nullptr,
                                       nullptr, nullptr, nullptr);
    if (!service && GetLastError() == ERROR_SERVICE_EXISTS) service = OpenServiceW(manager, kServiceName, SERVICE_ALL_ACCESS);
    if (!service) {
        CloseServiceHandle(manager);
        return Fail("cannot create the driver service");
    }
    // Right after the prefix boots, the service database can still be locked and the first
    // start can time out while winedevice comes up.
    bool started = false;
    for (int attempt = 0; attempt < 60 && !started; ++attempt) {
        started = StartServiceW(service, 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING;
        const DWORD error = started ? 0 : GetLastError();
        if (!started && error != ERROR_SERVICE_DATABASE_LOCKED && error != ERROR_SERVICE_REQUEST_TIMEOUT) break;
        if (!started) Sleep(500);
    }
    if (!started) {
        CloseServiceHandle(service);
        CloseServiceHandle(manager);
        return Fail("cannot start the driver");
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    for (int i = 0; i < 100; ++i) {
        HANDLE control = OpenControl();
        if (control != INVALID_HANDLE_VALUE) {
            CloseHandle(control);
            std::printf("touchsim: driver running\n");
            return 0;
        }
        Sleep(100);
    }
    return Fail("driver started but its control device does not open");
}

bool Client(ts_client& client) { return Control(TS_CTL_CLIENT, nullptr, 0, &client, sizeof client); }

int Status() {
    ts_client client{};
    if (!Client(client)) return Fail("driver not running");
    std::printf("opened=%u pid=%u semaphore=0x%x queued=%u\n", client.opened, client.process_id, client.semaphore,
                client.queued);
    return 0;
}

int Push(int argc, wchar_t** argv) {
    bool burst = false;
    unsigned long times = 1;
    std::vector<std::uint32_t> codes;
    for (int i = 2; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--burst") == 0) {
            burst = true;
            continue;
        }
        if (std::wcscmp(argv[i], L"--times") == 0) {
            if (i + 1 >= argc || !ParseNumber(argv[i + 1], times) || times == 0 || times > TS_QUEUE_CAPACITY) {
                std::fprintf(stderr, "touchsim: --times needs a count from 1 to %u\n", TS_QUEUE_CAPACITY);
                return 2;
            }
            ++i;
            continue;
        }
        unsigned long code = 0;
        if (!ParseNumber(argv[i], code) || code > 0xFFFFFFFFul) {
            std::fprintf(stderr, "touchsim: bad code %ls\n", argv[i]);
            return 2;
        }
        codes.push_back(static_cast<std::uint32_t>(code));
    }
    if (codes.empty()) return 2;
    if (codes.size() * times > TS_QUEUE_CAPACITY) {
        std::fprintf(stderr, "touchsim: more than %u codes\n", TS_QUEUE_CAPACITY);
        return 2;
    }
    const std::vector<std::uint32_t> once = codes;
    for (unsigned long t = 1; t < times; ++t) codes.insert(codes.end(), once.begin(), once.end());

    ts_client client{};
    if (!Client(client)) return Fail("driver not running");
    if (!client.opened) {
        std::fprintf(stderr, "touchsim: no client has opened the device\n");
        return 1;
    }
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, client.process_id);
    if (!process) return Fail("cannot open the client process");
    HANDLE semaphore = nullptr;
    const BOOL duplicated =
        DuplicateHandle(process, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(client.semaphore)),
                        GetCurrentProcess(), &semaphore, SEMAPHORE_MODIFY_STATE, FALSE, 0);
    CloseHandle(process);
    if (!duplicated) return Fail("cannot duplicate the client's semaphore");

    // Queue everything first, then announce: the reader may wake at the first release.
    if (!Control(TS_CTL_PUSH, codes.data(), static_cast<DWORD>(codes.size() * 4), &client, sizeof client)) {
        CloseHandle(semaphore);
        return Fail("driver refused the events");
    }
    bool released = true;
    if (burst) {
        released = ReleaseSemaphore(semaphore, static_cast<LONG>(codes.size()), nullptr) != FALSE;
    } else {
        for (std::size_t i = 0; i < codes.size() && released; ++i)
            released = ReleaseSemaphore(semaphore, 1, nullptr) != FALSE;
    }
    CloseHandle(semaphore);
    return released ? 0 : Fail("cannot release the client's semaphore");
}

int Battery(int argc, wchar_t** argv) {
    unsigned long value = 0, status = 1;
    if (argc < 3 || !ParseNumber(argv[2], value) || value > 0xFFFF || (argc > 3 && !ParseNumber(argv[3], status)) ||
        status > 0xFF)
        return 2;
    ts_battery battery{static_cast<unsigned>(status), static_cast<unsigned>(value)};
    return Control(TS_CTL_BATTERY, &battery, sizeof battery, nullptr, 0) ? 0 : Fail("driver not running");
}

int CountNext(int argc, wchar_t** argv, DWORD code) {
    unsigned long n = 0;
    if (argc < 3 || !ParseNumber(argv[2], n)) return 2;
    const std::uint32_t count = static_cast<std::uint32_t>(n);
    return Control(code, &count, sizeof count, nullptr, 0) ? 0 : Fail("driver not running");
}

std::uint32_t Le32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// The device text field as sent, printable; "!" marks a missing NUL within 50 bytes.
std::string Text(const unsigned char* field) {
    std::string text;
    for (int i = 0; i < 50; ++i) {
        if (field[i] == 0) return text;
        text += (field[i] >= 0x20 && field[i] < 0x7F) ? static_cast<char>(field[i]) : '?';
    }
    return text + "!";
}

// " stray@N" for the first non-zero byte outside the fields a request may use.
std::string Stray(const unsigned char* data, std::size_t size, std::initializer_list<std::pair<int, int>> fields) {
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) continue;
        bool inField = false;
        for (const auto& [offset, length] : fields)
            if (static_cast<int>(i) >= offset && static_cast<int>(i) < offset + length) inField = true;
        if (!inField) return " stray@" + std::to_string(i);
    }
    return {};
}

std::string Decode(const ts_log_entry& e) {
    char line[512];
    const unsigned char* d = e.data;
    const char* refused = e.status ? " refused" : "";
    if (e.ioctl == TS_IOCTL_READ) {
        if (e.in_length != TS_EVENT_SIZE) {
            std::snprintf(line, sizeof line, "read length=%u%s", e.in_length, refused);
        } else if (e.status) {
            std::snprintf(line, sizeof line, "read text=\"%s\" refused", Text(d + 4).c_str());
        } else {
            std::snprintf(line, sizeof line, "read text=\"%s\" -> 0x%08x%s", Text(d + 4).c_str(), Le32(e.answer),
                          Stray(d, TS_EVENT_SIZE, {{0, 4}, {4, 50}}).c_str());
        }
        return line;
    }
    if (e.ioctl != TS_IOCTL_WRITE || e.in_length != TS_REQUEST_SIZE) {
        std::snprintf(line, sizeof line, "ioctl 0x%x length=%u%s", e.ioctl, e.in_length, refused);
        return line;
    }
    const std::string text = Text(d + 108);
    switch (Le32(d)) {
        case 1:
            std::snprintf(line, sizeof line, "open semaphore=0x%x text=\"%s\" out=%u%s%s", Le32(d + 160), text.c_str(),
                          e.out_length, Stray(d, TS_REQUEST_SIZE, {{0, 4}, {108, 50}, {160, 4}}).c_str(), refused);
            break;
        case 20:
            std::snprintf(line, sizeof line, "mode 0x%08x word=0x%08x text=\"%s\"%s%s", Le32(d + 4), Le32(d + 8),
                          text.c_str(), Stray(d, TS_REQUEST_SIZE, {{0, 12}, {108, 50}}).c_str(), refused);
            break;
        case 128: {
            std::string keys;
            for (int i = 0; i < 12; ++i) {
                char entry[16];
                std::snprintf(entry, sizeof entry, " %08x", Le32(d + 60 + 4 * i));
                keys += entry;
            }
            std::snprintf(line, sizeof line, "keys 0x%08x:%s text=\"%s\"%s%s", Le32(d + 56), keys.c_str(), text.c_str(),
                          Stray(d, TS_REQUEST_SIZE, {{0, 4}, {56, 52}, {108, 50}}).c_str(), refused);
            break;
        }
        case 8: {
            const std::uint32_t operation = Le32(d + 24);
            const std::string stray = Stray(d, TS_REQUEST_SIZE, {{0, 4}, {24, 11}, {108, 50}});
            if (operation == 0x00010003u && !e.status)
                std::snprintf(line, sizeof line,
                              "register-read op=0x%08x target=0x%08x %02x %02x %02x -> %02x %02x %02x text=\"%s\"%s",
                              operation, Le32(d + 28), d[32], d[33], d[34], e.answer[32], e.answer[33], e.answer[34],
                              text.c_str(), stray.c_str());
            else
                std::snprintf(line, sizeof line, "register-%s op=0x%08x target=0x%08x %02x %02x %02x text=\"%s\"%s%s",
                              operation == 0x00000001u ? "write" : "read", operation, Le32(d + 28), d[32], d[33], d[34],
                              text.c_str(), stray.c_str(), refused);
            break;
        }
        default:
            std::snprintf(line, sizeof line, "request %u text=\"%s\"%s", Le32(d), text.c_str(), refused);
    }
    return line;
}

int Log(int argc, wchar_t** argv) {
    unsigned long first = 0;
    if (argc > 2 && !ParseNumber(argv[2], first)) return 2;
    std::vector<unsigned char> buffer(sizeof(ts_log_header) + 64 * sizeof(ts_log_entry));
    for (;;) {
        const std::uint32_t from = static_cast<std::uint32_t>(first);
        DWORD got = 0;
        if (!Control(TS_CTL_LOG, &from, sizeof from, buffer.data(), static_cast<DWORD>(buffer.size()), &got) ||
            got < sizeof(ts_log_header))
            return Fail("driver not running");
        ts_log_header header;
        std::memcpy(&header, buffer.data(), sizeof header);
        if (got < sizeof header + header.count * sizeof(ts_log_entry)) return Fail("short log answer");
        for (unsigned i = 0; i < header.count; ++i) {
            ts_log_entry entry;
            std::memcpy(&entry, buffer.data() + sizeof header + i * sizeof entry, sizeof entry);
            std::printf("%s\n", Decode(entry).c_str());
        }
        first = header.first + header.count;
        if (header.count == 0 || first >= header.total) {
            if (header.dropped) std::printf("dropped %u\n", header.dropped);
            return 0;
        }
    }
}

int Present(bool present) {
    const std::uint32_t value = present ? 1 : 0;
    return Control(TS_CTL_PRESENT, &value, sizeof value, nullptr, 0) ? 0 : Fail("driver not running");
}

int Clear() { return Control(TS_CTL_CLEAR, nullptr, 0, nullptr, 0) ? 0 : Fail("driver not running"); }

int DeviceChange(int argc, wchar_t** argv, bool wholeName, WPARAM event) {
    if (argc < 3) return 2;
    std::wstring title;
    bool lower = false;
    for (int i = 3; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--lower") == 0) lower = true;
        else if (std::wcscmp(argv[i], L"--title") == 0 && i + 1 < argc) title = argv[++i];
        else return 2;
    }
    std::wstring name = wholeName ? std::wstring(argv[2])
                                  : L"\\\\?\\USB#Vid_F0CA&Pid_" + std::wstring(argv[2]) +
                                        L"#5&2a6b1c3d&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
    if (lower)
        for (auto& c : name) c = static_cast<wchar_t>(towlower(c));

    HWND window = title.empty() ? FindWindowW(kMainWindowClass, nullptr) : FindWindowW(nullptr, title.c_str());
    if (!window) {
        std::fprintf(stderr, "touchsim: no window %ls\n", title.empty() ? L"of the program" : title.c_str());
        return 1;
    }
    const std::size_t size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + (name.size() + 1) * sizeof(wchar_t);
    std::vector<unsigned char> buffer(size);
    auto* broadcast = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(buffer.data());
    broadcast->dbcc_size = static_cast<DWORD>(size);
    broadcast->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    broadcast->dbcc_classguid = GUID{0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
    std::memcpy(broadcast->dbcc_name, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(broadcast), SMTO_NORMAL, 10000,
                             &result))
        return Fail("the window did not answer WM_DEVICECHANGE");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: touchsim install|status|push|battery|fail|short|drop|log|clear|unplug|plug|arrive|arrive-name|remove ...\n");
        return 2;
    }
    const std::wstring command = argv[1];
    if (command == L"install") return Install(argc, argv);
    if (command == L"status") return Status();
    if (command == L"push") return Push(argc, argv);
    if (command == L"battery") return Battery(argc, argv);
    if (command == L"fail") return CountNext(argc, argv, TS_CTL_FAIL);
    if (command == L"short") return CountNext(argc, argv, TS_CTL_SHORT);
    if (command == L"drop") return Control(TS_CTL_DROP, nullptr, 0, nullptr, 0) ? 0 : Fail("driver not running");
    if (command == L"log") return Log(argc, argv);
    if (command == L"clear") return Clear();
    if (command == L"unplug") return Present(false);
    if (command == L"plug") return Present(true);
    if (command == L"arrive") return DeviceChange(argc, argv, false, DBT_DEVICEARRIVAL);
    if (command == L"arrive-name") return DeviceChange(argc, argv, true, DBT_DEVICEARRIVAL);
    if (command == L"remove") return DeviceChange(argc, argv, false, DBT_DEVICEREMOVECOMPLETE);
    std::fprintf(stderr, "touchsim: unknown command\n");
    return 2;
}
