// Our small window-class layer: a C++ object per window handle, messages routed
// to a virtual WindowProc, modeless dialogs from resource templates, a modal
// loop, and reflection of owner-draw requests to the control or menu object.
#pragma once

#include <windows.h>

#include <string>

namespace mv::fw {

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }
    static CWnd* FromHandle(HWND hwnd);

    // Creates a window of a class registered with our window procedure (or of a
    // system class, which is then subclassed).
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, const RECT& rect,
                  HWND parent, UINT id);
    // Routes an existing window's messages through this object.
    bool SubclassWindow(HWND hwnd);
    HWND Detach();
    bool DestroyWindow();

    // Our registered class for plain windows.
    static const wchar_t* WindowClass();
    // A class with the default attributes: no class style, cursor, brush or icon.
    static const wchar_t* BareWindowClass();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by the message loop before dispatch; true when the message was handled.
    virtual bool PreTranslateMessage(MSG* msg);
    // Owner-draw hooks, reflected from the parent's WM_DRAWITEM / WM_MEASUREITEM.
    virtual void DrawItem(DRAWITEMSTRUCT*) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT*) {}
    // Called after WM_NCDESTROY, when the handle is gone.
    virtual void PostNcDestroy() {}
    // Called once the object is attached to its window, before the window's first message
    // when the window is created through this layer.
    virtual void PreSubclassWindow() {}

    // The processing of the window's original procedure (or DefWindowProc).
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    bool ShowWindow(int command) { return ::ShowWindow(hwnd_, command) != FALSE; }
    bool IsWindowVisible() const { return hwnd_ && ::IsWindowVisible(hwnd_); }
    void Invalidate(bool erase = true) { ::InvalidateRect(hwnd_, nullptr, erase); }
    UINT_PTR SetTimer(UINT_PTR id, UINT ms) { return ::SetTimer(hwnd_, id, ms, nullptr); }
    bool KillTimer(UINT_PTR id) { return ::KillTimer(hwnd_, id) != FALSE; }
    void SetWindowText(const std::wstring& text) { ::SetWindowTextW(hwnd_, text.c_str()); }

protected:
    static LRESULT CALLBACK StaticProc(HWND, UINT, WPARAM, LPARAM);
    void attach(HWND hwnd);
    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;

private:
    LRESULT route(UINT message, WPARAM wParam, LPARAM lParam);
};

// A modeless dialog created from a dialog template resource, or, with template 0, an
// empty popup dialog that lays out its own controls.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : templateId_(templateId) {}
    bool Create(HWND parent);
    virtual BOOL OnInitDialog() { return TRUE; }
    // Runs this thread's messages until the dialog is destroyed or EndModalLoop is called.
    int RunModalLoop();
    void EndModalLoop(int result);
    bool PreTranslateMessage(MSG* msg) override;

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    UINT templateId_;
    bool loopEnded_ = false;
    int loopResult_ = 0;
};

// A system control wrapped by a CWnd.
class CButton : public CWnd {
public:
    bool Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id);
};

class CStatic : public CWnd {
public:
    bool Create(const wchar_t* text, DWORD style, const RECT& rect, HWND parent, UINT id);
};

class CToolTipCtrl : public CWnd {
public:
    bool Create(HWND owner);
    bool AddTool(HWND tool, const std::wstring& text);
    void UpdateTipText(HWND tool, const std::wstring& text);
    // A tool given by window and id that covers `rect` of that window's client area.
    bool AddTool(HWND window, UINT_PTR id, const RECT& rect, const std::wstring& text);
    void UpdateTipText(HWND window, UINT_PTR id, const std::wstring& text);
    int GetToolCount() const;
    void SetDelayTime(DWORD which, int milliseconds);
    void SetTipTextColor(COLORREF colour);
    void RelayEvent(MSG* msg);
    void Activate(bool active);

private:
    std::wstring text_;
};

// A menu whose owner-drawn items are drawn by the object it is attached to.
class CMenu {
public:
    CMenu() = default;
    virtual ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    bool CreatePopupMenu();
    bool Attach(HMENU menu);
    HMENU Detach();
    bool DestroyMenu();
    HMENU GetSafeHmenu() const { return menu_; }
    bool AppendMenu(UINT flags, UINT_PTR id, const void* item);
    // TrackPopupMenu; the owner reflects WM_DRAWITEM / WM_MEASUREITEM to this object.
    BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner);

    virtual void DrawItem(DRAWITEMSTRUCT*) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT*) {}

    static CMenu* FromHandle(HMENU menu);
    // The menu being tracked, which receives the owner-draw requests of menu items.
    static CMenu* Tracking();

private:
    HMENU menu_ = nullptr;
};

// The application object: start-up, the loop, shutdown.
class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return exitCode_; }
    // InitInstance; the message loop when it returns TRUE; then ExitInstance.
    int Run(HINSTANCE instance);
    HINSTANCE instance() const { return instance_; }
    static CWinApp* Current();
    CWnd* mainWindow = nullptr;

protected:
    int exitCode_ = 0;

private:
    HINSTANCE instance_ = nullptr;
};

// Runs the message loop of this thread until WM_QUIT, with PreTranslateMessage.
int PumpMessages();
// Passes `msg` through PreTranslateMessage of the target window and its parents.
bool PreTranslate(MSG* msg);

}  // namespace mv::fw
