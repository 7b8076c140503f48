// The pointer settings and restore-defaults dialogs under Wine: layout from their
// skins, what each button does, the pointer settings through fake and real seams,
// and the confirmation posted to the owner.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "app/messages.h"
#include "support/fake_registry.h"
#include "ui/default_config_win.h"
#include "ui/pointer_setting_win.h"
#include "win32/win32_registry.h"

namespace mv {
namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

constexpr COLORREF kNormal = RGB(230, 236, 244);
constexpr COLORREF kOver = RGB(40, 52, 70);
constexpr COLORREF kDown = RGB(20, 110, 210);
COLORREF SpeedColour(int n) { return RGB(20 * n, 200, 40); }  // pointer_speed_n.png

void SavePng(const std::wstring& path, int w, int h, COLORREF c) {
    static const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;  // made before, maybe in use
    GpBitmap* bitmap = nullptr;
    ASSERT_EQ(GdipCreateBitmapFromScan0(w, h, 0, PixelFormat24bppRGB, nullptr, &bitmap), Ok);
    GpGraphics* g = nullptr;
    GdipGetImageGraphicsContext(bitmap, &g);
    GdipGraphicsClear(g, 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    GdipDeleteGraphics(g);
    EXPECT_EQ(GdipSaveImageToFile(bitmap, path.c_str(), &png, nullptr), Ok);
    GdipDisposeImage(bitmap);
}

// A program directory with its own skins: solid sheets of known colours.
std::wstring SkinDirectory(int dialogW, int dialogH, bool withSheets = true) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"mv_dialog_skins_" + std::to_wstring(dialogW) + L"x" +
                       std::to_wstring(dialogH) + (withSheets ? L"" : L"_none") + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    CreateDirectoryW((dir + L"skins").c_str(), nullptr);
    if (!withSheets) return dir;
    for (const wchar_t* prefix : {L"pointer_setting_", L"default_config_"}) {
        SavePng(dir + L"skins\\" + prefix + L"normal.png", dialogW, dialogH, kNormal);
        SavePng(dir + L"skins\\" + prefix + L"over.png", dialogW, dialogH, kOver);
        SavePng(dir + L"skins\\" + prefix + L"down.png", dialogW, dialogH, kDown);
    }
    for (int n = 1; n <= 10; ++n)
        SavePng(dir + L"skins\\pointer_speed_" + std::to_wstring(n) + L".png", 189, 21, SpeedColour(n));
    return dir;
}

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!fw::PreTranslate(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        Sleep(2);
    } while (GetTickCount() - start < ms);
}

// The main window's stand-in: records the confirmations it receives.
class Owner : public fw::CWnd {
public:
    Owner() { CreateEx(0, nullptr, L"owner", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0); }
    struct Received {
        WPARAM wParam;
        LPARAM lParam;
        bool dialogVisible;
    };
    std::vector<Received> restores;
    HWND dialog = nullptr;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_RESTORE_DEFAULTS) {
            restores.push_back({wParam, lParam, ::IsWindowVisible(dialog) != FALSE});
            return 0;
        }
        return fw::CWnd::WindowProc(message, wParam, lParam);
    }
};

RECT ChildRect(HWND parent, HWND child) {
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

COLORREF PixelOf(HWND window, int x, int y) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

void Click(HWND button) {
    // A press and release over the button from the keyboard-less path: the button notifies its parent.
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump(20);
}

TEST(DefaultConfig, SizedFromItsSheetCentredAndLaidOut) {
    GdiplusSession gdiplus;
    Owner owner;
    CDefaultConfig dialog;
    dialog.SetProgramDirectory(SkinDirectory(260, 165));
    ASSERT_TRUE(dialog.Create(owner));
    dialog.SetOwnerWindow(owner);
    EXPECT_FALSE(dialog.IsWindowVisible());

    RECT rc{};
    GetWindowRect(dialog, &rc);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXFULLSCREEN) - 260) / 2);
    EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYFULLSCREEN) - 165) / 2);
    EXPECT_EQ(rc.right - rc.left, 260);
    EXPECT_EQ(rc.bottom - rc.top, 165);

    const struct {
        HWND button;
        RECT rect;
    } expected[] = {{dialog.closeButton(), {244, 7, 259, 22}},
                    {dialog.okButton(), {132, 126, 191, 155}},
                    {dialog.cancelButton(), {195, 126, 253, 155}},
                    {dialog.messageLabel(), {60, 50, 250, 100}}};
    for (const auto& e : expected) {
        ASSERT_TRUE(IsWindow(e.button));
        const RECT r = ChildRect(dialog, e.button);
        EXPECT_EQ(r.left, e.rect.left);
        EXPECT_EQ(r.top, e.rect.top);
        EXPECT_EQ(r.right, e.rect.right);
        EXPECT_EQ(r.bottom, e.rect.bottom);
        EXPECT_EQ(GetDlgCtrlID(e.button), 0);
        EXPECT_TRUE(GetWindowLongW(e.button, GWL_STYLE) & WS_VISIBLE);
    }
    EXPECT_TRUE(GetWindowLongW(dialog.messageLabel(), GWL_STYLE) & BS_MULTILINE);

    dialog.ShowWindow(SW_SHOW);
    Pump(50);
    EXPECT_EQ(PixelOf(dialog, 10, 140), kNormal);   // the dialog's own background
    EXPECT_EQ(PixelOf(dialog, 135, 150), kNormal);  // the OK button's normal picture
}

TEST(DefaultConfig, OkHidesThenPostsOneRestoreToTheOwner) {
    GdiplusSession gdiplus;
    Owner owner;
    CDefaultConfig dialog;
    dialog.SetProgramDirectory(SkinDirectory(260, 165));
    ASSERT_TRUE(dialog.Create(owner));
    dialog.SetOwnerWindow(owner);
    owner.dialog = dialog;

    dialog.ShowWindow(SW_SHOW);
    Pump(20);
    Click(dialog.okButton());
    Pump(50);
    EXPECT_FALSE(dialog.IsWindowVisible());
    ASSERT_EQ(owner.restores.size(), 1u);
    EXPECT_EQ(owner.restores[0].wParam, 0u);
    EXPECT_EQ(owner.restores[0].lParam, 0);
    EXPECT_FALSE(owner.restores[0].dialogVisible);

    // Without SetOwnerWindow the window it was created under hears it, not the thread's queue.
    CDefaultConfig unowned;
    unowned.SetProgramDirectory(SkinDirectory(260, 165));
    ASSERT_TRUE(unowned.Create(owner));
    unowned.ShowWindow(SW_SHOW);
    Click(unowned.okButton());
    Pump(50);
    EXPECT_EQ(owner.restores.size(), 2u);
}

TEST(DefaultConfig, CancelCloseAndTheLabelPostNothing) {
    GdiplusSession gdiplus;
    Owner owner;
    CDefaultConfig dialog;
    dialog.SetProgramDirectory(SkinDirectory(260, 165));
    ASSERT_TRUE(dialog.Create(owner));
    dialog.SetOwnerWindow(owner);
    const HWND first = dialog.GetSafeHwnd();

    for (HWND button : {dialog.cancelButton(), dialog.closeButton()}) {
        dialog.ShowWindow(SW_SHOW);
        Pump(20);
        Click(button);
        EXPECT_FALSE(dialog.IsWindowVisible());
    }
    dialog.ShowWindow(SW_SHOW);
    Click(dialog.messageLabel());
    EXPECT_TRUE(dialog.IsWindowVisible());
    // Commands from elsewhere (Escape, Enter) change nothing either.
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    Pump(50);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_TRUE(owner.restores.empty());
    EXPECT_EQ(dialog.GetSafeHwnd(), first);
}

TEST(DefaultConfig, MissingSheetsGiveAnEmptyWindowAndNoCrash) {
    GdiplusSession gdiplus;
    Owner owner;
    CDefaultConfig dialog;
    dialog.SetProgramDirectory(SkinDirectory(1, 1, false));
    ASSERT_TRUE(dialog.Create(owner));
    dialog.ShowWindow(SW_SHOW);
    Pump(30);
    RECT rc{};
    GetWindowRect(dialog, &rc);
    EXPECT_EQ(rc.right - rc.left, 0);
    EXPECT_EQ(rc.bottom - rc.top, 0);
    Click(dialog.okButton());
    EXPECT_FALSE(dialog.IsWindowVisible());
}

std::vector<std::uint8_t> Sz(const std::u16string& text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : text) bytes.insert(bytes.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

struct PointerFixture {
    GdiplusSession gdiplus;
    test::FakeRegistry registry;
    Owner owner;
    CPointerSeting dialog{registry, registry};
    PointerFixture(const std::u16string& sensitivity, const std::u16string& speed) {
        registry.put(RegistryRoot::CurrentUser, kMouseKeyPath, u"MouseSensitivity", kRegSz, Sz(sensitivity));
        registry.put(RegistryRoot::CurrentUser, kMouseKeyPath, u"MouseSpeed", kRegSz, Sz(speed));
        dialog.SetProgramDirectory(SkinDirectory(259, 154));
        SetCursorPos(0, 0);  // keep the release point of simulated clicks off the slider
        EXPECT_TRUE(dialog.Create(owner));
        dialog.SetMainWindow(owner);
        dialog.ShowWindow(SW_SHOW);
        Pump(30);
        registry.log.clear();
    }
    int left() {
        RECT rc{};
        GetWindowRect(dialog, &rc);
        return rc.left;
    }
    // A drag seen by the dialog (screen x), then a click on the slider.
    void pressSliderAt(int dialogX) {
        SendMessageW(dialog, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(left() + dialogX, 300));
        Click(dialog.speedSlider());
    }
    COLORREF slider() { return PixelOf(dialog, 100, 57); }
};

TEST(PointerSeting, StartsFromTheRegistryAndShowsTheStep) {
    PointerFixture f(u"10", u"1");
    EXPECT_EQ(f.dialog.settings().step(), 5);
    EXPECT_EQ(f.slider(), SpeedColour(6));  // pointer_speed_6.png
    EXPECT_EQ(PixelOf(f.dialog, 200, 100), kDown) << "precision on: the toggle is latched";
    EXPECT_EQ(f.dialog.settings().dialogLeft(), (GetSystemMetrics(SM_CXFULLSCREEN) - 259) / 2);
    const RECT slider = ChildRect(f.dialog, f.dialog.speedSlider());
    EXPECT_EQ(slider.left, 36);
    EXPECT_EQ(slider.top, 47);
    EXPECT_EQ(slider.right, 225);
    EXPECT_EQ(slider.bottom, 68);
    const RECT toggle = ChildRect(f.dialog, f.dialog.precisionToggle());
    EXPECT_EQ(toggle.left, 36);
    EXPECT_EQ(toggle.bottom, 116);

    PointerFixture off(u"1", u"0");
    EXPECT_EQ(off.dialog.settings().step(), 0);
    EXPECT_EQ(off.slider(), SpeedColour(1));
    EXPECT_EQ(PixelOf(off.dialog, 200, 100), kNormal);
}

TEST(PointerSeting, SliderTogglesOkAndCancel) {
    PointerFixture f(u"10", u"0");
    f.pressSliderAt(225);  // code 18: one step up
    EXPECT_EQ(f.dialog.settings().step(), 6);
    EXPECT_EQ(f.slider(), SpeedColour(7));
    f.pressSliderAt(36);  // code 0: one step down
    EXPECT_EQ(f.dialog.settings().step(), 5);
    EXPECT_EQ(f.slider(), SpeedColour(6));

    // Cancel applies nothing but keeps the moved values for the next OK.
    f.pressSliderAt(225);
    Click(f.dialog.cancelButton());
    EXPECT_FALSE(f.dialog.IsWindowVisible());
    EXPECT_TRUE(f.registry.log.empty());

    f.dialog.ShowWindow(SW_SHOW);
    Click(f.dialog.precisionToggle());
    EXPECT_TRUE(f.dialog.settings().precision());
    EXPECT_EQ(PixelOf(f.dialog, 200, 100), kDown);
    Click(f.dialog.okButton());
    EXPECT_FALSE(f.dialog.IsWindowVisible());
    EXPECT_EQ(f.registry.log, (std::vector<std::string>{"speed 20", "mouse 6 10 1"}));

    f.dialog.ShowWindow(SW_SHOW);
    Click(f.dialog.precisionToggle());
    Click(f.dialog.closeButton());
    EXPECT_FALSE(f.dialog.IsWindowVisible());
    f.registry.log.clear();
    f.dialog.ShowWindow(SW_SHOW);
    Click(f.dialog.okButton());
    EXPECT_EQ(f.registry.log, (std::vector<std::string>{"speed 20", "mouse 0 0 0"}));
}

TEST(PointerSeting, AClickWithoutADragUsesWhereItWasReleased) {
    PointerFixture f(u"10", u"1");
    RECT rc{};
    GetWindowRect(f.dialog, &rc);
    SetForegroundWindow(f.dialog);
    // A stale drag far left, then a real click near the slider's right end.
    SendMessageW(f.dialog, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rc.left, 300));
    SetCursorPos(rc.left + 220, rc.top + 57);
    Pump(30);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Pump(30);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    Pump(100);
    EXPECT_EQ(f.dialog.settings().speedCode(), 18);
    EXPECT_EQ(f.dialog.settings().step(), 6);
    SetCursorPos(0, 0);
}

TEST(PointerSeting, RealSeamsReadTheUsersMouseKeyAndSetTheSystemAcceleration) {
    GdiplusSession gdiplus;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Mouse", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    wchar_t oldSensitivity[16] = L"10", oldSpeed[16] = L"1";
    DWORD size = sizeof oldSensitivity;
    RegQueryValueExW(key, L"MouseSensitivity", nullptr, nullptr, reinterpret_cast<BYTE*>(oldSensitivity), &size);
    size = sizeof oldSpeed;
    RegQueryValueExW(key, L"MouseSpeed", nullptr, nullptr, reinterpret_cast<BYTE*>(oldSpeed), &size);
    RegSetValueExW(key, L"MouseSensitivity", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"14"), 6);
    RegSetValueExW(key, L"MouseSpeed", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"0"), 4);

    Owner owner;
    CPointerSeting dialog;
    dialog.SetProgramDirectory(SkinDirectory(259, 154));
    ASSERT_TRUE(dialog.Create(owner));
    EXPECT_EQ(dialog.settings().registrySpeed(), 14);
    EXPECT_EQ(dialog.settings().step(), 7);
    EXPECT_FALSE(dialog.settings().precision());
    dialog.ShowWindow(SW_SHOW);
    Pump(20);
    SetCursorPos(0, 0);
    Click(dialog.precisionToggle());
    Click(dialog.okButton());
    EXPECT_FALSE(dialog.IsWindowVisible());

    // Wine keeps no SPI_SETMOUSESPEED value (it reads back 0), so the speed itself is
    // checked through the fake seam; the acceleration reaches the system.
    int mouse[3] = {-1, -1, -1};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSE, 0, mouse, 0));
    EXPECT_EQ(mouse[0], 6);
    EXPECT_EQ(mouse[1], 10);
    EXPECT_EQ(mouse[2], 1);
    wchar_t stored[16] = {};
    size = sizeof stored;
    RegQueryValueExW(key, L"MouseSpeed", nullptr, nullptr, reinterpret_cast<BYTE*>(stored), &size);
    EXPECT_STREQ(stored, L"1");

    RegSetValueExW(key, L"MouseSensitivity", 0, REG_SZ, reinterpret_cast<const BYTE*>(oldSensitivity),
                   static_cast<DWORD>((wcslen(oldSensitivity) + 1) * 2));
    RegSetValueExW(key, L"MouseSpeed", 0, REG_SZ, reinterpret_cast<const BYTE*>(oldSpeed),
                   static_cast<DWORD>((wcslen(oldSpeed) + 1) * 2));
    RegCloseKey(key);
}

}  // namespace
}  // namespace mv
