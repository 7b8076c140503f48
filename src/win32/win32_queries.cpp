// Window-tree queries, the process list, debugger output and the embedded
// browser document behind the portable seams.
#include <windows.h>
#include <mshtml.h>
#include <oleacc.h>
#include <tlhelp32.h>

#include <vector>

#include "win32/win32_platform.h"
#include "win32/on_demand_dlls.h"

namespace mv {

namespace {
HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }
WindowHandle W(HWND h) { return reinterpret_cast<WindowHandle>(h); }

struct EnumContext {
    const std::function<bool(WindowHandle)>* visit;
};

BOOL CALLBACK EnumProc(HWND window, LPARAM context) {
    return (*reinterpret_cast<EnumContext*>(context)->visit)(W(window)) ? TRUE : FALSE;
}

template <typename T>
void Release(T*& p) {
    if (p) p->Release();
    p = nullptr;
}
}  // namespace

// ---- desktop

WindowHandle Win32Desktop::parent(WindowHandle window) { return W(GetParent(H(window))); }
WindowHandle Win32Desktop::firstChild(WindowHandle window) { return W(GetWindow(H(window), GW_CHILD)); }
WindowHandle Win32Desktop::nextSibling(WindowHandle window) { return W(GetWindow(H(window), GW_HWNDNEXT)); }
WindowHandle Win32Desktop::previousSibling(WindowHandle window) { return W(GetWindow(H(window), GW_HWNDPREV)); }

WindowHandle Win32Desktop::childAfter(WindowHandle parent, WindowHandle after) {
    return W(FindWindowExW(H(parent), H(after), nullptr, nullptr));
}

bool Win32Desktop::windowRect(WindowHandle window, Rect& rect) {
    RECT r{};
    if (!GetWindowRect(H(window), &r)) return false;
    rect = {r.left, r.top, r.right, r.bottom};
    return true;
}

WindowHandle Win32Desktop::childWindowFromPoint(WindowHandle window, Point screenPoint) {
    POINT p{screenPoint.x, screenPoint.y};
    ScreenToClient(H(window), &p);
    return W(ChildWindowFromPoint(H(window), p));
}

bool Win32Desktop::enumChildWindows(WindowHandle window, const std::function<bool(WindowHandle)>& visit) {
    EnumContext context{&visit};
    return EnumChildWindows(H(window), EnumProc, reinterpret_cast<LPARAM>(&context)) != FALSE;
}

std::u16string Win32Desktop::windowText(WindowHandle window) {
    wchar_t text[260] = {};
    if (GetWindowTextW(H(window), text, 260) <= 0) return {};
    return FromWide(text);
}

WindowHandle Win32Desktop::findWindow(const std::u16string& className) {
    return W(FindWindowW(ToWide(className).c_str(), nullptr));
}

bool Win32Desktop::mouseButtonsSwapped() { return GetSystemMetrics(SM_SWAPBUTTON) != 0; }

namespace {
// The integrity level (the mandatory label's last sub-authority) of a process's token; -1 when
// it cannot be read.
long IntegrityOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return -1;
    long level = -1;
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
    std::vector<BYTE> buffer(size ? size : 1);
    if (size && GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
        const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
        const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
        if (count > 0) level = static_cast<long>(*GetSidSubAuthority(label->Label.Sid, count - 1u));
    }
    CloseHandle(token);
    return level;
}
}  // namespace

bool SetStrongUnmarshaling() {
    IGlobalOptions* options = nullptr;
    if (FAILED(ondemand::CoCreateInstance(CLSID_GlobalOptions, nullptr, CLSCTX_INPROC_SERVER, IID_IGlobalOptions,
                                reinterpret_cast<void**>(&options))) ||
        !options)
        return false;
    const bool set = SUCCEEDED(options->Set(COMGLB_UNMARSHALING_POLICY, COMGLB_UNMARSHALING_POLICY_STRONG));
    options->Release();
    return set;
}

namespace {
struct UiThreadCom {
    DWORD thread = 0;  // the user-interface thread; 0: not marked
    bool tried = false;
    bool initialised = false;
};
UiThreadCom uiCom;
}  // namespace

void MarkUiThread() { uiCom = {GetCurrentThreadId(), false, false}; }

bool EnsureUiThreadCom() {
    if (uiCom.thread == 0 || uiCom.thread != GetCurrentThreadId()) return false;
    if (!uiCom.tried) {
        uiCom.tried = true;
        uiCom.initialised =
            SUCCEEDED(ondemand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
        if (uiCom.initialised) SetStrongUnmarshaling();
    }
    return uiCom.initialised;
}

void EndUiThreadCom() {
    if (uiCom.initialised && uiCom.thread == GetCurrentThreadId()) ondemand::CoUninitialize();
    uiCom = {};
}

bool Win32Desktop::windowAtOurIntegrity(WindowHandle window) {
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(H(window), &processId) || processId == 0) return false;
    const long ours = IntegrityOf(GetCurrentProcess());
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return false;
    const long theirs = IntegrityOf(process);
    CloseHandle(process);
    return ours >= 0 && theirs >= ours;
}

// ---- system

void Win32System::debugOutput(const std::u16string& text) { OutputDebugStringW(ToWide(text).c_str()); }

std::optional<std::vector<std::u16string>> Win32System::runningProcessNames() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    if (!Process32FirstW(snapshot, &entry)) {
        CloseHandle(snapshot);
        return std::nullopt;
    }
    std::vector<std::u16string> names;
    do {
        entry.szExeFile[MAX_PATH - 1] = 0;
        names.push_back(FromWide(entry.szExeFile));
    } while (Process32NextW(snapshot, &entry));
    CloseHandle(snapshot);
    return names;
}

bool Win32System::comInitialize() {
    EnsureUiThreadCom();
    return SUCCEEDED(ondemand::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}
void Win32System::comUninitialize() { ondemand::CoUninitialize(); }

std::uint32_t Win32System::registerWindowMessage(const std::u16string& name) {
    return RegisterWindowMessageW(ToWide(name).c_str());
}

bool Win32System::sendMessageTimeout(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam, std::uint32_t flags, std::uint32_t timeoutMs,
                                     std::uintptr_t& result) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(H(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam), flags,
                             timeoutMs, &answer))
        return false;
    result = static_cast<std::uintptr_t>(answer);
    return true;
}

DocumentScroll Win32System::scrollHtmlDocument(ModuleHandle oleacc, std::uintptr_t lresult, std::int32_t dx,
                                               std::int32_t dy) {
    using ObjectFromLresultFn = HRESULT(WINAPI*)(LRESULT, REFIID, WPARAM, void**);
    const auto objectFromLresult = reinterpret_cast<ObjectFromLresultFn>(
        reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(oleacc), "ObjectFromLresult")));
    if (!objectFromLresult || !EnsureUiThreadCom()) return DocumentScroll::Unavailable;

    IHTMLDocument2* document = nullptr;
    if (FAILED(objectFromLresult(static_cast<LRESULT>(lresult), IID_IHTMLDocument2, 0,
                                 reinterpret_cast<void**>(&document))) ||
        !document)
        return DocumentScroll::Unavailable;
    IDispatch* script = nullptr;
    IHTMLWindow2* window = nullptr;
    DocumentScroll outcome = DocumentScroll::Unavailable;
    if (SUCCEEDED(document->get_Script(&script)) && script &&
        SUCCEEDED(script->QueryInterface(IID_IHTMLWindow2, reinterpret_cast<void**>(&window))) && window)
        outcome = window->scrollBy(dx, dy) == S_OK ? DocumentScroll::Scrolled : DocumentScroll::Refused;
    Release(window);
    Release(script);
    Release(document);
    return outcome;
}

}  // namespace mv
