// The pointer settings and restore-defaults dialogs under Wine: layout from their
// skins, what each button and key does (real pointer and keyboard input), moving them
// by their background, the pointer settings through fake and real seams, and the
// confirmation posted to the owner.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <thread>
#include <vector>

#include "framework/messages.h"
#include "i18n/text_catalogue.h"
#include "support/fake_registry.h"
#include "ui/default_config_win.h"
#include "ui/pointer_setting_win.h"
#include "win/skin_fixtures.h"
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

using wintest::Pump;

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
    // A command without a control is no OK; a close request (WM_CLOSE, Alt+F4) cancels.
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    Pump(50);
    EXPECT_TRUE(dialog.IsWindowVisible());
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    Pump(50);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(owner.restores.empty());
    EXPECT_EQ(dialog.GetSafeHwnd(), first);
}

void Key(WORD key) {
    keybd_event(static_cast<BYTE>(key), 0, 0, 0);
    keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
    Pump(100);
}

// Shows the dialog as the main window does and waits until it has the keyboard.
bool ShowActive(HWND dialog) {
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    for (int i = 0; i < 40 && GetForegroundWindow() != dialog; ++i) Pump(25);
    return GetForegroundWindow() == dialog;
}

TEST(DefaultConfig, EscapeCancelsAndEnterConfirms) {
    GdiplusSession gdiplus;
    Owner owner;
    CDefaultConfig dialog;
    dialog.SetProgramDirectory(SkinDirectory(260, 165));
    ASSERT_TRUE(dialog.Create(owner));
    dialog.SetOwnerWindow(owner);
    owner.dialog = dialog;

    ASSERT_TRUE(ShowActive(dialog));
    Key(VK_ESCAPE);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(owner.restores.empty());

    ASSERT_TRUE(ShowActive(dialog));
    Key(VK_RETURN);
    EXPECT_FALSE(dialog.IsWindowVisible());
    ASSERT_EQ(owner.restores.size(), 1u);
    EXPECT_FALSE(owner.restores[0].dialogVisible);
}

TEST(DefaultConfig, APressOnTheBackgroundMovesTheDialog) {
    GdiplusSession gdiplus;
    Owner owner;
    CDefaultConfig dialog;
    dialog.SetProgramDirectory(SkinDirectory(260, 165));
    ASSERT_TRUE(dialog.Create(owner));
    ASSERT_TRUE(ShowActive(dialog));
    RECT before{};
    GetWindowRect(dialog, &before);
    // (20, 140) is neither a button nor the label. The move runs a loop of its own inside
    // the press, so the pointer is driven from another thread meanwhile.
    wintest::MoveMouse(before.left + 20, before.top + 140);
    std::thread hand([&] {
        Sleep(300);
        for (int step = 1; step <= 5; ++step)
            wintest::MoveMouse(before.left + 20 + 8 * step, before.top + 140 + 5 * step);
        wintest::LeftUp();
    });
    wintest::LeftDown();
    hand.join();
    Pump(100);
    RECT after{};
    GetWindowRect(dialog, &after);
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 25);
    EXPECT_EQ(after.right - after.left, 260);
    EXPECT_TRUE(dialog.IsWindowVisible());
    wintest::MoveMouse(0, 0);
}

TEST(DefaultConfig, TheLongQuestionWrapsInsideTheLabel) {
    GdiplusSession gdiplus;
    Owner owner;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"mv_question_lang.xml";
    {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const char xml[] = "<l><config><tc_return_default>Restore the default gestures, pointer speed and pointer "
                           "acceleration?</tc_return_default></config></l>";
        DWORD written = 0;
        WriteFile(f, xml, sizeof xml - 1, &written, nullptr);
        CloseHandle(f);
    }
    loadTextCatalogue(std::u16string(path.begin(), path.end()));
    CDefaultConfig dialog;
    dialog.SetProgramDirectory(SkinDirectory(260, 165));
    ASSERT_TRUE(dialog.Create(owner));
    dialog.ShowWindow(SW_SHOW);
    Pump(50);
    const RECT text = wintest::PixelBounds(dialog.messageLabel(), RGB(80, 92, 107));
    // The program's English texts again, from the source tree beside the build folder.
    const std::wstring english = ExecutableDirectory() + L"..\\..\\lang\\en\\language.xml";
    loadTextCatalogue(std::u16string(english.begin(), english.end()));
    // Two lines or more (one line of the 12-pixel font is at most 13 high), every one inside
    // the label (190 x 50), none cut at its edges.
    EXPECT_GT(text.bottom - text.top, 15) << "one line only";
    EXPECT_GT(text.left, 0);
    EXPECT_LT(text.right, 190);
    EXPECT_GT(text.top, 0);
    EXPECT_LT(text.bottom, 50);
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
        put(sensitivity, speed);
        dialog.SetProgramDirectory(SkinDirectory(259, 154));
        wintest::MoveMouse(0, 0);
        EXPECT_TRUE(dialog.Create(owner));
        dialog.SetMainWindow(owner);
        EXPECT_TRUE(ShowActive(dialog));
        registry.log.clear();
    }
    void put(const std::u16string& sensitivity, const std::u16string& speed) {
        registry.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSensitivity", kRegSz, Sz(sensitivity));
        registry.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSpeed", kRegSz, Sz(speed));
    }
    POINT screen(int dialogX, int dialogY) {
        RECT rc{};
        GetWindowRect(dialog, &rc);
        return {rc.left + dialogX, rc.top + dialogY};
    }
    // A real click at a point of the dialog.
    void clickAt(int dialogX, int dialogY) {
        const POINT p = screen(dialogX, dialogY);
        wintest::MoveMouse(p.x, p.y);
        wintest::LeftDown();
        wintest::LeftUp();
    }
    // Notch n of the slider, which starts at dialog x 36.
    void clickNotch(int n) { clickAt(36 + SliderXOfNotch(n), 57); }
    COLORREF slider() { return PixelOf(dialog, 100, 57); }
    // What reached the system since the log was cleared (the reads of each showing left out).
    std::vector<std::string> applied() {
        std::vector<std::string> out;
        for (const std::string& line : registry.log)
            if (line.rfind("speed ", 0) == 0 || line.rfind("mouse ", 0) == 0) out.push_back(line);
        return out;
    }
};

TEST(PointerSeting, StartsFromTheRegistryAndShowsTheStep) {
    PointerFixture f(u"10", u"1");
    EXPECT_EQ(f.dialog.settings().step(), 5);
    EXPECT_EQ(f.slider(), SpeedColour(6));  // pointer_speed_6.png
    EXPECT_EQ(PixelOf(f.dialog, 200, 100), kDown) << "precision on: the toggle is latched";
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

TEST(PointerSeting, EveryNotchClickedAppliesOnOkTheSpeedItShows) {
    PointerFixture f(u"1", u"1");
    for (int notch = kSpeedNotches - 1; notch >= 0; --notch) {
        ASSERT_TRUE(ShowActive(f.dialog));
        f.clickNotch(notch);
        EXPECT_EQ(f.slider(), SpeedColour(notch + 1)) << notch;
        f.registry.log.clear();
        f.clickAt(160, 140);  // OK
        EXPECT_FALSE(f.dialog.IsWindowVisible());
        ASSERT_FALSE(f.applied().empty());
        EXPECT_EQ(f.applied().front(), "speed " + std::to_string(SpeedForNotch(notch))) << notch;
        // What Windows would store, read back at the next showing: the same notch.
        const std::string stored = std::to_string(SpeedForNotch(notch));
        f.put(std::u16string(stored.begin(), stored.end()), u"1");
    }
}

TEST(PointerSeting, TheKnobFollowsADragAndOneClickAtTheEndGoesToTheEnd) {
    PointerFixture f(u"1", u"0");
    // From the first notch one click at the right end: the last notch, speed 20.
    f.clickAt(222, 57);
    EXPECT_EQ(f.dialog.settings().step(), 9);
    EXPECT_EQ(f.slider(), SpeedColour(10));

    // Held down on notch 2 and moved to notch 7: the knob follows before the release.
    POINT p = f.screen(36 + SliderXOfNotch(2), 57);
    wintest::MoveMouse(p.x, p.y);
    wintest::LeftDown();
    for (int x = SliderXOfNotch(2); x <= SliderXOfNotch(7); x += 6) {
        p = f.screen(36 + x, 57);
        wintest::MoveMouse(p.x, p.y);
    }
    p = f.screen(36 + SliderXOfNotch(7), 57);
    wintest::MoveMouse(p.x, p.y);
    EXPECT_EQ(f.dialog.settings().step(), 7) << "while the button is held";
    EXPECT_EQ(f.slider(), SpeedColour(8));
    wintest::LeftUp();
    EXPECT_EQ(f.dialog.settings().step(), 7);
    f.registry.log.clear();
    f.clickAt(160, 140);  // OK
    EXPECT_EQ(f.applied(), (std::vector<std::string>{"speed 14", "mouse 0 0 0"}));
}

TEST(PointerSeting, EachShowingReadsTheSettingsAgainAndCancelKeepsNothing) {
    PointerFixture f(u"4", u"0");
    EXPECT_EQ(f.dialog.settings().step(), 2);
    f.clickNotch(8);
    f.clickAt(60, 106);  // the precision toggle
    EXPECT_TRUE(f.dialog.settings().precision());
    f.clickAt(225, 140);  // cancel
    EXPECT_FALSE(f.dialog.IsWindowVisible());
    EXPECT_TRUE(f.applied().empty()) << "cancel applies nothing";

    // Meanwhile the defaults were restored: speed 10, acceleration on.
    f.put(u"10", u"1");
    ASSERT_TRUE(ShowActive(f.dialog));
    EXPECT_EQ(f.dialog.settings().step(), 5);
    EXPECT_EQ(f.slider(), SpeedColour(6));
    EXPECT_EQ(PixelOf(f.dialog, 200, 100), kDown) << "acceleration on";
    f.clickAt(160, 140);  // an untouched OK keeps the restored settings
    EXPECT_EQ(f.applied(), (std::vector<std::string>{"speed 10", "mouse 6 10 1"}));

    // The moved-but-cancelled values are not what the next showing shows.
    f.put(u"4", u"0");
    ASSERT_TRUE(ShowActive(f.dialog));
    EXPECT_EQ(f.slider(), SpeedColour(3));
    EXPECT_EQ(PixelOf(f.dialog, 200, 100), kNormal);
}

TEST(PointerSeting, EscapeCancelsAndEnterAppliesWhatIsShown) {
    PointerFixture f(u"10", u"1");
    f.clickNotch(3);
    Key(VK_ESCAPE);
    EXPECT_FALSE(f.dialog.IsWindowVisible());
    EXPECT_TRUE(f.applied().empty());

    ASSERT_TRUE(ShowActive(f.dialog));
    f.clickNotch(3);
    Key(VK_RETURN);
    EXPECT_FALSE(f.dialog.IsWindowVisible());
    EXPECT_EQ(f.applied(), (std::vector<std::string>{"speed 6", "mouse 6 10 1"}));
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

    // The untouched speed and the acceleration reach the system, and the speed is stored
    // where the dialog reads it the next time (Wine 8 stores the uiParam of SPI_SETMOUSESPEED).
    int speed = -1;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0));
    EXPECT_EQ(speed, 14);
    wchar_t sensitivity[16] = {};
    size = sizeof sensitivity;
    RegQueryValueExW(key, L"MouseSensitivity", nullptr, nullptr, reinterpret_cast<BYTE*>(sensitivity), &size);
    EXPECT_STREQ(sensitivity, L"14");
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
