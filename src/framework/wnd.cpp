#include "framework/wnd.h"

#include <commctrl.h>

#include <map>

namespace mv::fw {

namespace {

constexpr wchar_t kObjectProperty[] = L"MvFrameworkObject";
constexpr wchar_t kWindowClass[] = L"MvFrameworkWindow";
constexpr wchar_t kBareWindowClass[] = L"MvFrameworkBareWindow";

// The object that the next window created on this thread belongs to.
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_createHook = nullptr;

std::map<HMENU, CMenu*>& Menus() {
    static std::map<HMENU, CMenu*> menus;
    return menus;
}
thread_local CMenu* t_tracking = nullptr;
CWinApp* g_app = nullptr;

}  // namespace

// ---- CWnd

CWnd::~CWnd() {
    if (hwnd_ && ::IsWindow(hwnd_)) {
        HWND h = hwnd_;
        Detach();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
}

void CWnd::attach(HWND hwnd) {
    hwnd_ = hwnd;
    ::SetPropW(hwnd, kObjectProperty, this);
}

const wchar_t* CWnd::WindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        return ::RegisterClassExW(&wc);
    }();
    return atom ? kWindowClass : nullptr;
}

const wchar_t* CWnd::BareWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kBareWindowClass;
        return ::RegisterClassExW(&wc);
    }();
    return atom ? kBareWindowClass : nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (!hwnd || hwnd_) return false;
    attach(hwnd);
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticProc)));
    PreSubclassWindow();
    return true;
}

HWND CWnd::Detach() {
    HWND h = hwnd_;
    if (h) {
        if (original_ && ::IsWindow(h)) ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        ::RemovePropW(h, kObjectProperty);
    }
    hwnd_ = nullptr;
    original_ = nullptr;
    return h;
}

namespace {
LRESULT CALLBACK CreateHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* object = t_creating;
        t_creating = nullptr;
        object->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_createHook, code, wParam, lParam);
}

// Attaches `object` to the first window created while it lives, before that window's first message.
// Scopes nest: a window may create children while it handles WM_CREATE.
class CreationScope {
public:
    explicit CreationScope(CWnd* object) : previousObject_(t_creating), previousHook_(t_createHook) {
        t_creating = object;
        t_createHook = ::SetWindowsHookExW(WH_CBT, CreateHook, nullptr, ::GetCurrentThreadId());
    }
    ~CreationScope() {
        if (t_createHook) ::UnhookWindowsHookEx(t_createHook);
        t_createHook = previousHook_;
        t_creating = previousObject_;
    }
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    CWnd* previousObject_;
    HHOOK previousHook_;
};
}  // namespace

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                    HWND parent, UINT id) {
    if (hwnd_) return false;
    const wchar_t* cls = className ? className : WindowClass();
    HWND created = nullptr;
    {
        CreationScope scope(this);
        created = ::CreateWindowExW(exStyle, cls, title ? title : L"", style, rect.left, rect.top,
                                    rect.right - rect.left, rect.bottom - rect.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                    nullptr);
    }
    if (!created) {
        hwnd_ = nullptr;
        original_ = nullptr;
        return false;
    }
    return true;
}

bool CWnd::DestroyWindow() { return hwnd_ && ::DestroyWindow(hwnd_); }

LRESULT CALLBACK CWnd::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* self = FromHandle(hwnd);
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->route(message, wParam, lParam);
}

LRESULT CWnd::route(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        const LRESULT result = Default(message, wParam, lParam);
        Detach();
        PostNcDestroy();
        return result;
    }
    if (message == WM_SHOWWINDOW && !wParam) {
        // A window being hidden gives up a capture held inside it: a hidden control that kept
        // it (a button that hid its dialog) would take the program's next clicks.
        HWND capture = ::GetCapture();
        if (capture && (capture == hwnd_ || ::IsChild(hwnd_, capture))) ::ReleaseCapture();
    }
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    if (original_) return ::CallWindowProcW(original_, hwnd_, message, wParam, lParam);
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType == ODT_MENU) {
            CMenu* menu = CMenu::FromHandle(reinterpret_cast<HMENU>(dis->hwndItem));
            if (!menu) menu = CMenu::Tracking();
            if (menu) {
                menu->DrawItem(dis);
                return TRUE;
            }
        } else if (CWnd* control = FromHandle(dis->hwndItem)) {
            control->DrawItem(dis);
            return TRUE;
        }
    } else if (message == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType == ODT_MENU && CMenu::Tracking()) {
            CMenu::Tracking()->MeasureItem(mis);
            return TRUE;
        }
    }
    return Default(message, wParam, lParam);
}

bool CWnd::PreTranslateMessage(MSG*) { return false; }

// ---- CDialog

bool CDialog::Create(HWND parent) {
    if (hwnd_) return false;
    HWND created = nullptr;
    {
        CreationScope scope(this);
        if (templateId_ == 0) {
            // An empty popup without caption or controls: the window lays itself out.
            alignas(4) static const WORD kEmptyPopup[] = {
                LOWORD(WS_POPUP | WS_CLIPCHILDREN), HIWORD(WS_POPUP | WS_CLIPCHILDREN),  // style
                0, 0,                                                                     // extended style
                0, 0, 0, 0, 0,  // no controls; x, y, cx, cy
                0, 0, 0,        // no menu, the standard class, no title
            };
            created = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr),
                                                   reinterpret_cast<const DLGTEMPLATE*>(kEmptyPopup), parent,
                                                   &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
        } else {
            created = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
        }
    }
    return created != nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<CDialog*>(lParam);
    return self ? self->OnInitDialog() : TRUE;
}

bool CDialog::PreTranslateMessage(MSG* msg) { return hwnd_ && ::IsDialogMessageW(hwnd_, msg); }

int CDialog::RunModalLoop() {
    loopEnded_ = false;
    MSG msg;
    while (!loopEnded_ && hwnd_ && ::IsWindow(hwnd_)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return loopResult_;
}

void CDialog::EndModalLoop(int result) {
    loopResult_ = result;
    loopEnded_ = true;
    if (hwnd_) ::PostMessageW(hwnd_, WM_NULL, 0, 0);
}

// ---- controls

bool CButton::Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id) {
    return CreateEx(0, L"BUTTON", text, style, rect, parent, id);
}

bool CStatic::Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id) {
    return CreateEx(0, L"STATIC", text, style, rect, parent, id);
}

bool CToolTipCtrl::Create(HWND owner) {
    const RECT none{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    if (!CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, none, owner, 0))
        return false;
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

bool CToolTipCtrl::AddTool(HWND tool, const std::wstring& text) {
    text_ = text;
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text_.data();
    return ::SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTipCtrl::UpdateTipText(HWND tool, const std::wstring& text) {
    text_ = text;
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text_.data();
    ::SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

bool CToolTipCtrl::AddTool(HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text) {
    text_ = text;
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.uId = id;
    info.rect = rect;
    info.lpszText = text_.data();
    return ::SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTipCtrl::UpdateTipText(HWND window, UINT_PTR id, const std::wstring& text) {
    text_ = text;
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.uId = id;
    info.lpszText = text_.data();
    ::SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

int CToolTipCtrl::GetToolCount() const {
    return hwnd_ ? static_cast<int>(::SendMessageW(hwnd_, TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

void CToolTipCtrl::SetDelayTime(DWORD which, int milliseconds) {
    ::SendMessageW(hwnd_, TTM_SETDELAYTIME, which, MAKELPARAM(milliseconds, 0));
}

void CToolTipCtrl::SetTipTextColor(COLORREF colour) { ::SendMessageW(hwnd_, TTM_SETTIPTEXTCOLOR, colour, 0); }

void CToolTipCtrl::RelayEvent(MSG* msg) { ::SendMessageW(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }

void CToolTipCtrl::Activate(bool active) { ::SendMessageW(hwnd_, TTM_ACTIVATE, active, 0); }

// ---- CMenu

CMenu::~CMenu() { DestroyMenu(); }

bool CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

bool CMenu::Attach(HMENU menu) {
    if (!menu || menu_) return false;
    menu_ = menu;
    Menus()[menu] = this;
    return true;
}

HMENU CMenu::Detach() {
    HMENU m = menu_;
    if (m) Menus().erase(m);
    menu_ = nullptr;
    return m;
}

bool CMenu::DestroyMenu() {
    HMENU m = Detach();
    return m && ::DestroyMenu(m);
}

bool CMenu::AppendMenu(UINT flags, UINT_PTR id, const void* item) {
    return ::AppendMenuW(menu_, flags, id, static_cast<const wchar_t*>(item)) != FALSE;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner) {
    CMenu* previous = t_tracking;
    t_tracking = this;
    const BOOL result = ::TrackPopupMenu(menu_, flags, x, y, 0, owner, nullptr);
    t_tracking = previous;
    return result;
}

CMenu* CMenu::FromHandle(HMENU menu) {
    const auto it = Menus().find(menu);
    return it == Menus().end() ? nullptr : it->second;
}

CMenu* CMenu::Tracking() { return t_tracking; }

// ---- application and loop

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}
CWinApp* CWinApp::Current() { return g_app; }

int CWinApp::Run(HINSTANCE instance) {
    instance_ = instance;
    if (InitInstance()) exitCode_ = PumpMessages();
    return ExitInstance();
}

bool PreTranslate(MSG* msg) {
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = CWnd::FromHandle(h))
            if (w->PreTranslateMessage(msg)) return true;
    }
    return false;
}

int PumpMessages() {
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        if (!PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

}  // namespace mv::fw
