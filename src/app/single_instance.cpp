#include "app/single_instance.h"

#include "app/main_window.h"
#include "framework/messages.h"

namespace mv {

namespace {

constexpr DWORD kPollMs = 50;

std::wstring ImageOf(DWORD processId) {
    std::wstring image;
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
        wchar_t path[MAX_PATH * 2] = {};
        DWORD length = MAX_PATH * 2;
        if (QueryFullProcessImageNameW(process, 0, path, &length)) image.assign(path, length);
        CloseHandle(process);
    }
    return image;
}

struct Search {
    const std::wstring* title;
    HWND titled = nullptr;
    HWND any = nullptr;
    bool foreign = false;  // a window of our class in another executable's process
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    wchar_t cls[64] = {};
    if (!GetClassNameW(window, cls, 64) || lstrcmpW(cls, CMorviCorvelConfigDlg::kWindowClass) != 0) return TRUE;
    if (!WindowOfThisProgram(window)) {
        search.foreign = true;
        return TRUE;
    }
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    if (!search.titled && *search.title == caption) search.titled = window;
    if (!search.any) search.any = window;
    return TRUE;
}

Search FindWindows(const std::wstring& title) {
    Search search{&title};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search;
}

// Asks the running instance to show itself, and lets it take the foreground: the right to
// do so is this process's (the user just started it), and passes on only when given.
void Activate(HWND running) {
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    if (processId) AllowSetForegroundWindow(processId);
    PostMessageW(running, WM_ACTIVATE_INSTANCE, 0, 0);
}

// Shows the running instance; false when it has no main window.
bool ActivateRunning(const std::wstring& title) {
    HWND running = FindRunningMainWindow(title);
    if (running) Activate(running);
    return running != nullptr;
}

template <typename Fn>
Fn Kernel32(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

// The mutex in a namespace bounded by the Administrators group, which no unelevated process
// can make or open; null where the system has no private namespaces.
HANDLE NamespacedMutex(HANDLE& space) {
    using CreateBoundaryFn = HANDLE(WINAPI*)(LPCWSTR, ULONG);
    using AddSidFn = BOOL(WINAPI*)(HANDLE*, PSID);
    using CreateNamespaceFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR);
    using OpenNamespaceFn = HANDLE(WINAPI*)(LPVOID, LPCWSTR);
    using DeleteBoundaryFn = VOID(WINAPI*)(HANDLE);
    const auto createBoundary = Kernel32<CreateBoundaryFn>("CreateBoundaryDescriptorW");
    const auto addSid = Kernel32<AddSidFn>("AddSIDToBoundaryDescriptor");
    const auto createNamespace = Kernel32<CreateNamespaceFn>("CreatePrivateNamespaceW");
    const auto openNamespace = Kernel32<OpenNamespaceFn>("OpenPrivateNamespaceW");
    const auto deleteBoundary = Kernel32<DeleteBoundaryFn>("DeleteBoundaryDescriptor");
    if (!createBoundary || !addSid || !createNamespace || !openNamespace || !deleteBoundary) return nullptr;
    HANDLE boundary = createBoundary(kInstanceNamespace, 0);
    if (!boundary) return nullptr;
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    HANDLE mutex = nullptr;
    if (CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size) &&
        addSid(&boundary, administrators)) {
        space = createNamespace(nullptr, boundary, kInstanceNamespace);
        if (!space) space = openNamespace(boundary, kInstanceNamespace);
        if (space) mutex = CreateMutexW(nullptr, FALSE, kNamespacedMutexName);
    }
    deleteBoundary(boundary);
    return mutex;
}

}  // namespace

bool WindowOfThisProgram(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId()) return true;
    wchar_t own[MAX_PATH * 2] = {};
    const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH * 2);
    const std::wstring other = ImageOf(processId);
    return length > 0 && !other.empty() && CompareStringOrdinal(own, static_cast<int>(length), other.c_str(),
                                                                static_cast<int>(other.size()), TRUE) == CSTR_EQUAL;
}

HWND FindRunningMainWindow(const std::wstring& title) {
    const Search search = FindWindows(title);
    return search.titled ? search.titled : search.any;
}

SingleInstance::SingleInstance() {
    mutex_ = NamespacedMutex(namespace_);
    if (!mutex_) mutex_ = CreateMutexW(nullptr, FALSE, kInstanceMutexName);
}

SingleInstance::~SingleInstance() {
    Release();
    if (mutex_) CloseHandle(mutex_);
    if (namespace_) {
        using CloseNamespaceFn = BOOLEAN(WINAPI*)(HANDLE, ULONG);
        if (const auto close = Kernel32<CloseNamespaceFn>("ClosePrivateNamespace")) close(namespace_, 0);
    }
}

bool SingleInstance::Claim(const std::wstring& title, DWORD waitMs) {
    // Without a usable mutex (refused by the system) the window search alone decides.
    if (!mutex_) return !ActivateRunning(title);
    const DWORD start = GetTickCount();
    for (;;) {
        // The wait doubles as the pause between searches; it returns at once when the running
        // instance ends (an abandoned mutex passes to this process as well).
        const DWORD result = WaitForSingleObject(mutex_, kPollMs);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            owned_ = true;
            return true;
        }
        if (result == WAIT_FAILED) return !ActivateRunning(title);
        const Search running = FindWindows(title);
        if (running.titled || running.any) {
            Activate(running.titled ? running.titled : running.any);
            return false;
        }
        // The plain name held, and only another executable shows our class: a squatter.
        if (running.foreign && namespace_ == nullptr) return true;
        if (GetTickCount() - start >= waitMs) return false;  // it never made its window
    }
}

void SingleInstance::Release() {
    if (owned_) ReleaseMutex(mutex_);
    owned_ = false;
}

}  // namespace mv
