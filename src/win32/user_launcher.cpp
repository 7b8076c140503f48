#include "win32/user_launcher.h"

#include <exdisp.h>
#include <objbase.h>
#include <servprov.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "win32/win32_platform.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace {

// Releases a COM interface at the end of its scope.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() {
        if (p_) p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T** out() { return &p_; }
    void** outVoid() { return reinterpret_cast<void**>(&p_); }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

class Handle {
public:
    explicit Handle(HANDLE h = nullptr) : h_(h) {}
    ~Handle() {
        if (h_) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE* out() { return &h_; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

// The desktop's shell as a dispatch object: the desktop window's view, its background
// object, and the Shell object behind that view. Null when the desktop has no shell.
HRESULT DesktopShellDispatch(IShellDispatch2** shell) {
    *shell = nullptr;
    ComRef<IShellWindows> windows;
    HRESULT hr = ondemand::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                  IID_IShellWindows, windows.outVoid());
    if (FAILED(hr)) return hr;
    VARIANT empty;
    ondemand::VariantInit(&empty);
    long found = 0;
    ComRef<IDispatch> desktop;
    hr = windows->FindWindowSW(&empty, &empty, SWC_DESKTOP, &found, SWFO_NEEDDISPATCH, desktop.out());
    if (hr != S_OK || !desktop) return FAILED(hr) ? hr : HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    ComRef<IServiceProvider> services;
    if (FAILED(hr = desktop->QueryInterface(IID_IServiceProvider, services.outVoid()))) return hr;
    ComRef<IShellBrowser> browser;
    if (FAILED(hr = services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.outVoid()))) return hr;
    ComRef<IShellView> view;
    if (FAILED(hr = browser->QueryActiveShellView(view.out()))) return hr;
    ComRef<IDispatch> background;
    if (FAILED(hr = view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.outVoid()))) return hr;
    ComRef<IShellFolderViewDual> folderView;
    if (FAILED(hr = background->QueryInterface(IID_IShellFolderViewDual, folderView.outVoid()))) return hr;
    ComRef<IDispatch> application;
    if (FAILED(hr = folderView->get_Application(application.out()))) return hr;
    return application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(shell));
}

bool TokenInformation(TOKEN_INFORMATION_CLASS what, void* data, DWORD size) {
    Handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.out())) return false;
    DWORD returned = 0;
    return GetTokenInformation(token.get(), what, data, size, &returned) != FALSE;
}

std::wstring SystemFile(const wchar_t* name) {
    wchar_t directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(directory, length) + L"\\" + name;
}

}  // namespace

LaunchAbilities ReadLaunchAbilities() {
    LaunchAbilities abilities;
    TOKEN_ELEVATION elevation{};
    // A token whose elevation cannot be read counts as elevated.
    abilities.elevated = !TokenInformation(TokenElevation, &elevation, sizeof elevation) || elevation.TokenIsElevated;
    TOKEN_LINKED_TOKEN linked{};
    if (TokenInformation(TokenLinkedToken, &linked, sizeof linked) && linked.LinkedToken) {
        abilities.linkedToken = true;
        CloseHandle(linked.LinkedToken);
    }
    return abilities;
}

namespace {
HRESULT ShellExecuteThrough(IShellDispatch2* shell, const std::u16string& target) {
    BSTR file = ondemand::SysAllocString(ToWide(target).c_str());
    BSTR verb = ondemand::SysAllocString(L"open");
    VARIANT empty, operation, show;
    ondemand::VariantInit(&empty);
    ondemand::VariantInit(&operation);
    ondemand::VariantInit(&show);
    operation.vt = VT_BSTR;
    operation.bstrVal = verb;
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const HRESULT hr = file && verb ? shell->ShellExecute(file, empty, empty, operation, show) : E_OUTOFMEMORY;
    ondemand::SysFreeString(file);
    ondemand::SysFreeString(verb);
    return hr;
}
}  // namespace

HRESULT ReachDesktopShell() {
    ComRef<IShellDispatch2> shell;
    return DesktopShellDispatch(shell.out());
}

HRESULT LaunchThroughDesktopShell(const std::u16string& target) {
    ComRef<IShellDispatch2> shell;
    const HRESULT hr = DesktopShellDispatch(shell.out());
    return FAILED(hr) ? hr : ShellExecuteThrough(shell.get(), target);
}

bool LaunchWithLinkedToken(const std::u16string& target) {
    TOKEN_LINKED_TOKEN linked{};
    if (!TokenInformation(TokenLinkedToken, &linked, sizeof linked) || !linked.LinkedToken) return false;
    Handle limited(linked.LinkedToken);
    Handle primary;
    if (!DuplicateTokenEx(limited.get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, primary.out()))
        return false;
    const std::wstring rundll32 = SystemFile(L"rundll32.exe");
    const auto command = ShellExecRunDllCommand(FromWide(rundll32.c_str()), target);
    if (!command) return false;
    std::wstring line = ToWide(*command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessAsUserW(primary.get(), rundll32.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool LaunchDirectly(const std::u16string& target) {
    const std::wstring file = ToWide(target);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

LaunchReport LaunchForUser(const std::u16string& target) {
    LaunchReport report;
    report.target = target;
    LaunchAbilities abilities = ReadLaunchAbilities();
    ComRef<IShellDispatch2> shell;
    // Without a shell window there is no desktop shell to ask (asking would wait for one).
    if (abilities.elevated && GetShellWindow()) abilities.desktopShell = SUCCEEDED(DesktopShellDispatch(shell.out()));
    report.route = ChooseLaunchRoute(abilities);
    // A file named by its full path that is not there fails here, whichever route would carry
    // it: the user learns it now, not from a shell dialog of another process or nothing.
    const std::wstring file = ToWide(target);
    const bool fullPath = file.size() > 2 && (file[1] == L':' || (file[0] == L'\\' && file[1] == L'\\'));
    if (fullPath && GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return report;
    switch (report.route) {
        case LaunchRoute::DesktopShell: report.started = SUCCEEDED(ShellExecuteThrough(shell.get(), target)); break;
        case LaunchRoute::LimitedToken: report.started = LaunchWithLinkedToken(target); break;
        case LaunchRoute::Direct: report.started = LaunchDirectly(target); break;
        case LaunchRoute::Refused: break;
    }
    return report;
}

struct UserLauncher::State {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<std::u16string> queue;
    std::vector<LaunchReport> reports;
    bool started = false;
    bool stopping = false;
    bool busy = false;
    HWND window = nullptr;
    UINT message = 0;

    static void Run(std::shared_ptr<State> state);
};

void UserLauncher::State::Run(std::shared_ptr<State> state) {
    const HRESULT com = ondemand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::unique_lock<std::mutex> lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] { return state->stopping || !state->queue.empty(); });
        if (state->stopping) break;
        const std::u16string target = state->queue.front();
        state->queue.pop_front();
        state->busy = true;
        lock.unlock();
        LaunchReport report = LaunchForUser(target);
        lock.lock();
        state->busy = false;
        state->reports.push_back(std::move(report));
        if (state->window) PostMessageW(state->window, state->message, 0, 0);
        state->idle.notify_all();
    }
    lock.unlock();
    if (SUCCEEDED(com)) ondemand::CoUninitialize();
}

UserLauncher::UserLauncher() : state_(std::make_shared<State>()) {}

UserLauncher::~UserLauncher() {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stopping = true;
        state_->window = nullptr;
    }
    state_->wake.notify_all();
}

void UserLauncher::SetReportWindow(HWND window, UINT message) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->window = window;
    state_->message = message;
}

void UserLauncher::Launch(const std::u16string& target) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->queue.push_back(target);
        if (!state_->started) {
            // The worker holds the state; a launch hanging in the shell ends with the process.
            std::thread(State::Run, state_).detach();
            state_->started = true;
        }
    }
    state_->wake.notify_one();
}

std::vector<LaunchReport> UserLauncher::TakeReports() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    std::vector<LaunchReport> reports;
    reports.swap(state_->reports);
    return reports;
}

bool UserLauncher::WaitIdle(DWORD milliseconds) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    return state_->idle.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                 [&] { return state_->queue.empty() && !state_->busy; });
}

}  // namespace mv
