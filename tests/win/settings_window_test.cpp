// The settings window's own behaviour under Wine, with the program's skins and English
// texts and real pointer and keyboard input: page switching with the tab caption shift
// and the gesture it selects, the enabling and the disabled look of the function button,
// the keyboard filter with and without the function menu, the names of codes no menu
// offers, and what closes the menu and hides the dialogs; a change of DPI and what follows it.
// SettingsWindowLook (run by the keyboard suite, in the language of MV_DIST_DIR's file): high
// contrast and Windows' "show animations" setting, each changed while the window shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/messages.h"
#include "i18n/text_catalogue.h"
#include "support/fake_registry.h"
#include "support/fake_session.h"
#include "ui/bmp_menu_model.h"
#include "ui/default_config_win.h"
#include "ui/display_scale.h"
#include "ui/pointer_setting_win.h"
#include "ui/settings_window_win.h"
#include "ui/system_look_win.h"
#include "ui/window_layout.h"
#include "win/skin_fixtures.h"
#include "win/tray_support.h"

namespace mv::wintest {
namespace {

namespace gp = Gdiplus::DllExports;

// Stands in for the main window, a dialog as it is: the wiring it gives the settings window.
class Host : public fw::CDialog {
public:
    Host() : CDialog(900) {}
    std::unique_ptr<test::SessionFakes> fakes = std::make_unique<test::SessionFakes>();
    SettingsWindow view{*this, fakes->session};
    const FunctionRecordArray& records() const { return fakes->session.settings().allPrograms.records; }
    // Changes a record of All programs as a stored setting would hold it.
    template <class Change>
    void Edit(int slot, Change change) {
        FunctionRecord record = records()[slot];
        change(record);
        fakes->session.StoreRecord(slot, record);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_PAINT: view.Paint(); return 0;
        case WM_COMMAND: view.OnCommand(wParam, lParam); return 0;
        case WM_FUNCTION_CHOSEN: view.OnFunctionChosen(lParam); return 0;
        case WM_SHOWWINDOW: view.OnVisibilityChanged(wParam != FALSE); break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) view.OnDeactivated();
            break;
        case WM_LBUTTONDOWN: view.CloseFunctionMenu(); break;
        case WM_LAYOUT_DPI: return view.dpi();
        case WM_DPICHANGED: view.ChangeDpi(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE: view.OnSystemLookChanged(message == WM_SYSCOLORCHANGE); break;
        case 0x02E4:  // WM_GETDPISCALEDSIZE
            *reinterpret_cast<SIZE*>(lParam) = view.WindowSizeAtDpi(static_cast<int>(wParam));
            return TRUE;
        default: break;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
    // The dialog manager moves the focus with the arrows and clicks the focused button with Space.
    bool PreTranslateMessage(MSG* msg) override {
        return view.PreTranslateMessage(msg) || CDialog::PreTranslateMessage(msg);
    }
};

COLORREF Faded(COLORREF c) {
    const double lum = 0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c);
    const int v = static_cast<int>((lum + 255.0) / 2.0 + 0.5);
    return RGB(v, v, v);
}

bool Near(COLORREF a, COLORREF b, int tolerance = 3) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGdiplus();
        dist = DistFolderWith(L"skins\\MorviCorvel_Main_Normal.png");
        ASSERT_FALSE(dist.empty()) << "MV_DIST_DIR must name the program folder with its skins";
        const std::wstring lang = dist + L"language.xml";
        loadTextCatalogue(std::u16string(lang.begin(), lang.end()));
        ASSERT_FALSE(tr("tc_function_macro").empty());
        host.fakes->session.Load();
        host.view.SetProgramDirectory(dist);
        ASSERT_TRUE(host.Create(nullptr));
        host.view.Create();
        MoveMouse(1200, 1000);  // not over the window as it shows
        ShowWindow(host, SW_SHOW);
        SetForegroundWindow(host);
        Pump(200);
        ASSERT_EQ(GetForegroundWindow(), host.GetSafeHwnd());
        GetWindowRect(host, &frame);
    }
    void TearDown() override {
        host.view.FreeSkins();
        host.DestroyWindow();
        MoveMouse(1200, 1000);
    }

    // A real click at a point of the window.
    void Click(int x, int y) {
        MoveMouse(frame.left + x, frame.top + y);
        LeftDown();
        LeftUp();
        Pump(50);
    }
    void Key(BYTE key) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        Pump(60);
    }
    static std::wstring Text(const char* key) {
        const std::u16string t = tr(key);
        return std::wstring(t.begin(), t.end());
    }
    // A pixel of a sheet, by default the main normal one.
    COLORREF SheetPixel(int x, int y, const wchar_t* name = L"MorviCorvel_Main_Normal.png") {
        SkinPicture sheet(SkinPath(dist, name));
        Gdiplus::ARGB argb = 0;
        gp::GdipBitmapGetPixel(sheet.bitmap(), x, y, &argb);
        return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
    }
    bool Shown(int slot) { return IsWindowVisible(host.view.gestureButton(slot)) != FALSE; }

    std::wstring dist;
    Host host;
    RECT frame{};
};

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Tile centres of the cells, in window coordinates.
constexpr POINT kCell[6] = {{108, 185}, {226, 185}, {344, 185}, {108, 295}, {226, 295}, {344, 295}};
constexpr POINT kTab[3] = {{100, 85}, {238, 85}, {363, 85}};
constexpr POINT kFunctionButton{160, 378};

// The over sheets are read when the pointer first reaches a control: the first show draws
// none of them. The hovered tile then wears the page's over sheet.
TEST_F(SettingsWindowTest, TheOverSheetsAreReadWhenThePointerFirstComes) {
    EXPECT_TRUE(host.view.mainOverWaiting()) << "the window's over sheet was read before any hover";
    EXPECT_TRUE(host.view.pageOverWaiting(1)) << "page 1's over sheet was read before any hover";
    const COLORREF normal = SheetPixel(127 + 50, 7 + 60, L"movcli_gesure_normal.png");
    const COLORREF over = SheetPixel(127 + 50, 7 + 60, L"movcli_gesure_over.png");
    ASSERT_FALSE(Near(normal, over, 40));
    EXPECT_TRUE(Near(WindowPixel(host.view.gestureButton(1), 50, 60), normal, 8));

    MoveMouse(frame.left + kCell[1].x, frame.top + kCell[1].y);
    MoveMouse(frame.left + kCell[1].x + 2, frame.top + kCell[1].y + 1);
    Pump(150);
    EXPECT_FALSE(host.view.pageOverWaiting(1));
    EXPECT_TRUE(Near(WindowPixel(host.view.gestureButton(1), 50, 60), over, 8))
        << std::hex << WindowPixel(host.view.gestureButton(1), 50, 60) << " " << over;

    // The window's own over sheet comes with a hover of one of its buttons.
    MoveMouse(frame.left + kFunctionButton.x + 150, frame.top + kFunctionButton.y);
    MoveMouse(frame.left + kFunctionButton.x + 152, frame.top + kFunctionButton.y + 1);
    Pump(150);
    EXPECT_FALSE(host.view.mainOverWaiting());
}

TEST_F(SettingsWindowTest, APageSwitchShiftsItsTabCaptionAndSelectsThatPagesGesture) {
    EXPECT_TRUE(host.view.pageTabTextRect(1) == (RECT{30, 10, 90, 30})) << "before any click";
    EXPECT_TRUE(host.view.pageSheetsRead(1));
    EXPECT_FALSE(host.view.pageSheetsRead(2)) << "a page's sheets are read at its first showing";
    EXPECT_FALSE(host.view.pageSheetsRead(3));
    Click(kTab[0].x, kTab[0].y);
    EXPECT_TRUE(host.view.pageTabTextRect(1) == (RECT{30, 9, 90, 29}));

    Click(kCell[1].x, kCell[1].y);  // slot 1
    EXPECT_EQ(host.view.CurrentSlot, 1);
    Click(kTab[2].x, kTab[2].y);
    EXPECT_TRUE(host.view.pageTabTextRect(3) == (RECT{30, 9, 90, 29}));
    EXPECT_TRUE(host.view.pageTabTextRect(1) == (RECT{30, 10, 90, 30}));
    EXPECT_TRUE(host.view.pageTabTextRect(2) == (RECT{30, 10, 110, 30}));
    EXPECT_EQ(host.view.shownPage(), 3);
    // The hidden gesture is no longer the one edited: page 3's first gesture is.
    EXPECT_FALSE(Shown(1));
    EXPECT_FALSE(host.view.gestureLatched(1));
    EXPECT_EQ(host.view.CurrentSlot, 11);
    EXPECT_TRUE(Shown(11));
    EXPECT_TRUE(host.view.gestureLatched(11));
    EXPECT_EQ(host.view.functionText(), Text("tc_function_threeclick"));
    EXPECT_TRUE(IsWindowEnabled(host.view.functionButton()));
    EXPECT_TRUE(host.view.pageSheetsRead(3));
    EXPECT_FALSE(host.view.pageSheetsRead(2));
    // The selected tile wears page 3's pressed sheet, read just now (its frame, x 108 of 113).
    Pump(100);
    const COLORREF frameColour = SheetPixel(10 + 108, 7 + 92, L"ngwctr_gesure_down.png");
    EXPECT_TRUE(Near(WindowPixel(host.view.gestureButton(11), 108, 92), frameColour, 8))
        << std::hex << WindowPixel(host.view.gestureButton(11), 108, 92) << " " << frameColour;

    Click(kCell[2].x, kCell[2].y);  // slot 13
    EXPECT_EQ(host.view.CurrentSlot, 13);
    Click(kTab[0].x, kTab[0].y);
    EXPECT_EQ(host.view.CurrentSlot, 1) << "page 1 gives back the gesture selected on it";
    EXPECT_TRUE(host.view.gestureLatched(1));
    EXPECT_FALSE(host.view.gestureLatched(13));
    Click(kTab[2].x, kTab[2].y);
    EXPECT_EQ(host.view.CurrentSlot, 13);
    for (int slot = 0; slot < kSlotCount; ++slot) EXPECT_EQ(Shown(slot), slot >= 11) << slot;
}

TEST_F(SettingsWindowTest, TheFunctionButtonIsEnabledOnlyWithAMenuAndLooksDisabledOtherwise) {
    // A point of the button's face away from its caption and chevron.
    const int fx = 44, fy = 366;
    const COLORREF face = SheetPixel(fx, fy);
    const HWND button = host.view.functionButton();
    EXPECT_FALSE(IsWindowEnabled(button)) << "slot 0 has no function menu";
    EXPECT_EQ(host.view.functionCaption(), Text("tc_function_push"));
    EXPECT_TRUE(Near(WindowPixel(button, fx - 41, fy - 363), Faded(face)))
        << std::hex << WindowPixel(button, fx - 41, fy - 363) << " " << Faded(face);
    EXPECT_NE(PixelBounds(button, RGB(150, 158, 170)).right, 0) << "the caption in the disabled colour";

    Click(kCell[2].x, kCell[2].y);  // slot 2: scroll up, no menu
    EXPECT_FALSE(IsWindowEnabled(button));
    EXPECT_EQ(host.view.functionText(), Text("tc_function_scrollup"));
    Click(kCell[1].x, kCell[1].y);  // slot 1
    EXPECT_TRUE(IsWindowEnabled(button));
    MoveMouse(frame.left + 600, frame.top + 460);
    EXPECT_TRUE(Near(WindowPixel(button, fx - 41, fy - 363), face)) << "enabled: the sheet's own face";
    EXPECT_EQ(PixelBounds(button, RGB(150, 158, 170)).right, 0);
    EXPECT_NE(PixelBounds(button, RGB(80, 92, 107)).right, 0);

    Click(kTab[2].x, kTab[2].y);
    Click(kCell[5].x, kCell[5].y);  // slot 16: no menu
    EXPECT_FALSE(IsWindowEnabled(button));
    // A choice that arrives all the same changes no record.
    PostMessageW(host, WM_FUNCTION_CHOSEN, 0, (177 << 16) | 64);
    Pump(50);
    EXPECT_EQ(host.records()[16].actionCode(), DefaultActionTable[16]);
}

TEST_F(SettingsWindowTest, TheKeyboardFilterWithAndWithoutTheFunctionMenu) {
    Click(kCell[1].x, kCell[1].y);  // slot 1; its tile has the focus now
    const FunctionRecordArray before = host.records();
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    keybd_event(VK_MENU, 0, 0, 0);
    Key(VK_F4);
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    Pump(100);
    ASSERT_TRUE(IsWindow(host)) << "Alt+F4 reached the window";
    EXPECT_TRUE(IsWindowVisible(host));
    EXPECT_EQ(host.view.CurrentSlot, 1);

    Click(kFunctionButton.x, kFunctionButton.y);
    ASSERT_TRUE(host.view.FunctionMenuOpen());
    // The pointer rests on an entry of a second level while the keys come.
    RECT first{};
    GetWindowRect(host.view.functionMenu()->GetSafeHwnd(), &first);
    MoveMouse(first.left + 30, first.top + 3 * 18 + 8);
    ASSERT_NE(host.view.functionMenu()->openSubmenu(), nullptr);
    RECT second{};
    GetWindowRect(host.view.functionMenu()->openSubmenu()->GetSafeHwnd(), &second);
    MoveMouse(second.left + 30, second.top + 8);
    for (BYTE key : {VK_SPACE, VK_RETURN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_UP, VK_LEFT, VK_SPACE, VK_RETURN}) Key(key);
    Pump(100);
    EXPECT_TRUE(host.view.FunctionMenuOpen());
    EXPECT_TRUE(host.records() == before) << "a key changed a record";
    EXPECT_EQ(GetActiveWindow(), host.GetSafeHwnd());
    EXPECT_TRUE(IsChild(host, GetFocus())) << "the focus left the settings window";
    Key(VK_ESCAPE);
    EXPECT_FALSE(host.view.FunctionMenuOpen());
    EXPECT_TRUE(host.records() == before);
    EXPECT_TRUE(IsWindowVisible(host));
    EXPECT_EQ(host.view.functionText(), Text("tc_function_doubleclick"));
}

TEST_F(SettingsWindowTest, CodesNoMenuOffersStillGetANameOfTheirOwn) {
    host.Edit(1, [](FunctionRecord& r) { r.setActionCode(20); });
    host.Edit(1, [](FunctionRecord& r) { r.bytes[FunctionRecord::kMacroIndexOffset] = 150; });  // no macro of the store
    host.Edit(4, [](FunctionRecord& r) { r.setActionCode(19); });
    host.Edit(5, [](FunctionRecord& r) { r.setActionCode(25); });
    host.Edit(3, [](FunctionRecord& r) { r.setActionCode(200); });
    const struct {
        int cell;
        const char* key;
    } cases[] = {{1, "tc_function_macro"}, {4, "tc_function_keychord"}, {5, "tc_function_open"},
                 {3, "tc_function_other"}, {0, "tc_function_push"}};
    for (const auto& c : cases) {
        Click(kCell[c.cell].x, kCell[c.cell].y);
        EXPECT_EQ(host.view.functionText(), Text(c.key)) << c.key;
        EXPECT_EQ(host.view.functionCaption(), Text(c.key));
        EXPECT_FALSE(host.view.functionText().empty());
    }
    // Shown first, an unknown code gives its name too, never an empty caption.
    Host fresh;
    fresh.view.SetProgramDirectory(dist);
    ASSERT_TRUE(fresh.Create(nullptr));
    fresh.view.Create();
    fresh.view.ShowFunctionName(250);
    EXPECT_EQ(fresh.view.functionCaption(), Text("tc_function_other"));
    fresh.view.FreeSkins();
}

TEST_F(SettingsWindowTest, CustomFunctionsShowWhatTheirRecordsHold) {
    host.Edit(1, [](FunctionRecord& r) { r.setActionCode(20); });
    host.Edit(1, [](FunctionRecord& r) { r.bytes[FunctionRecord::kMacroIndexOffset] = 3; });  // a macro without a name
    host.Edit(4, [](FunctionRecord& r) { r.setActionCode(19); });
    host.Edit(4, [](FunctionRecord& r) { r.bytes[FunctionRecord::kChordModifiersOffset] = 0x03; });
    host.Edit(4, [](FunctionRecord& r) { r.bytes[FunctionRecord::kChordKey1Offset] = 0x54; });
    host.Edit(5, [](FunctionRecord& r) { r.setActionCode(25); });
    host.Edit(5, [](FunctionRecord& r) { r.setProgramPath(u"C:\\windows\\notepad.exe"); });
    const struct {
        int cell;
        std::wstring caption;
    } cases[] = {{1, Text("tc_mac_def") + L" 4"}, {4, L"Ctrl+Shift+T"}, {5, L"notepad.exe"}};
    for (const auto& c : cases) {
        Click(kCell[c.cell].x, kCell[c.cell].y);
        EXPECT_EQ(host.view.functionCaption(), c.caption) << c.cell;
    }
}

TEST_F(SettingsWindowTest, AClickOutsideClosesTheMenuAndHidingTheWindowHidesItsDialogs) {
    fw::CWnd outside;
    ASSERT_TRUE(outside.CreateEx(0, nullptr, L"outside", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                 RECT{frame.right + 10, 40, frame.right + 200, 200}, nullptr, 0));
    Click(kCell[1].x, kCell[1].y);
    const FunctionRecordArray before = host.records();
    Click(kFunctionButton.x, kFunctionButton.y);
    ASSERT_TRUE(host.view.FunctionMenuOpen());
    MoveMouse(frame.right + 100, 120);
    LeftDown();
    LeftUp();
    Pump(100);
    EXPECT_FALSE(host.view.FunctionMenuOpen());
    EXPECT_TRUE(host.records() == before);
    outside.DestroyWindow();

    test::FakeRegistry registry;
    CDefaultConfig restore;
    CPointerSeting pointer(registry, registry);
    restore.SetProgramDirectory(dist);
    pointer.SetProgramDirectory(dist);
    ASSERT_TRUE(restore.Create(host));
    ASSERT_TRUE(pointer.Create(host));
    host.view.openResetDialog = [&] { restore.ShowWindow(SW_SHOW); };
    host.view.openPointerDialog = [&] { pointer.ShowWindow(SW_SHOW); };
    host.view.hideDialogs = [&] {
        restore.ShowWindow(SW_HIDE);
        pointer.ShowWindow(SW_HIDE);
    };
    SetForegroundWindow(host);
    Pump(100);
    Click(500, 445);  // restore defaults
    EXPECT_TRUE(restore.IsWindowVisible());
    SetForegroundWindow(host);
    Pump(100);
    Click(349, 378);  // pointer speed
    EXPECT_TRUE(pointer.IsWindowVisible());
    ShowWindow(host, SW_HIDE);
    Pump(100);
    EXPECT_FALSE(restore.IsWindowVisible()) << "the dialogs belong to the settings window";
    EXPECT_FALSE(pointer.IsWindowVisible());
    host.view.openResetDialog = host.view.openPointerDialog = host.view.hideDialogs = nullptr;
}

// Where a child window of the host lies, in its client coordinates.
RECT ClientRectOf(HWND host, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT Scaled(const Rect& r, int dpi) {
    const Rect s = ScaleRect(r, dpi);
    return RECT{s.left, s.top, s.right, s.bottom};
}

SIZE SizeOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// Moved to a monitor at 150 % (as Windows tells a per-monitor aware window): the window takes
// the suggested place, the 150 % sheets and lays every control out again; the menu, the dialogs
// and the animation made or shown afterwards are at 150 % too, and back at 96 DPI all is as before.
TEST_F(SettingsWindowTest, ADpiChangeLaysTheWindowOutAgainAndWhatOpensAfterwardsFollows) {
    namespace L = main_layout;
    CDefaultConfig restore;
    restore.SetProgramDirectory(dist);
    ASSERT_TRUE(restore.Create(host));
    host.view.openResetDialog = [&] { restore.ShowWindow(SW_SHOW); };
    EXPECT_EQ(SizeOf(restore).cx, 259) << "made at 96 DPI";
    Click(kCell[1].x, kCell[1].y);
    Click(kFunctionButton.x, kFunctionButton.y);
    ASSERT_TRUE(host.view.FunctionMenuOpen()) << "the menu made at 96 DPI";
    EXPECT_EQ(SizeOf(*host.view.functionMenu()).cx, 160);

    SIZE scaled{709, 477};
    EXPECT_TRUE(SendMessageW(host, 0x02E4 /* WM_GETDPISCALEDSIZE */, 144, reinterpret_cast<LPARAM>(&scaled)));
    EXPECT_TRUE(scaled.cx == 1064 && scaled.cy == 716) << "the size the system suggests next: " << scaled.cx << "x"
                                                       << scaled.cy;
    RECT suggested{40, 30, 40 + 1063, 30 + 716};  // a suggestion a pixel off the sheet's size
    SendMessageW(host, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    Pump(200);
    EXPECT_EQ(host.view.dpi(), 144);
    EXPECT_FALSE(host.view.FunctionMenuOpen());
    RECT window{};
    GetWindowRect(host, &window);
    EXPECT_TRUE(window == (RECT{40, 30, 40 + 1064, 30 + 716})) << "the suggested place, the 150 % sheet's size: "
                                                               << window.right - window.left << "x"
                                                               << window.bottom - window.top;
    EXPECT_EQ(host.view.sheets().normal.width(), 1064u);
    EXPECT_TRUE(ClientRectOf(host, host.view.closeButton()) == Scaled(L::kClose, 144));
    EXPECT_TRUE(ClientRectOf(host, host.view.functionButton()) == Scaled(L::kFunction, 144));
    EXPECT_TRUE(ClientRectOf(host, host.view.pageTab(3)) == Scaled(L::kTabs[2], 144));
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_TRUE(ClientRectOf(host, host.view.gestureButton(slot)) == Scaled(L::kTiles[slot], 144)) << slot;
    HWND animation = GetDlgItem(host, 0x601);
    ASSERT_NE(animation, nullptr);
    EXPECT_TRUE(ClientRectOf(host, animation) == Scaled(L::kAnimation, 144)) << "the 150 % animation fills its place";

    // Reached with the pointer at the new places.
    GetWindowRect(host, &frame);
    Click(ScaleToDpi(kCell[4].x, 144), ScaleToDpi(kCell[4].y, 144));
    EXPECT_EQ(host.view.CurrentSlot, 4);
    Click(ScaleToDpi(kFunctionButton.x, 144), ScaleToDpi(kFunctionButton.y, 144));
    ASSERT_TRUE(host.view.FunctionMenuOpen());
    RECT menu{};
    GetWindowRect(*host.view.functionMenu(), &menu);
    EXPECT_TRUE(menu == (RECT{frame.left + 62, frame.top + 593, frame.left + 62 + 240, frame.top + 593 + 162}))
        << "below the function button, 240 x 162: " << menu.left - frame.left << "," << menu.top - frame.top << " "
        << menu.right - menu.left << "x" << menu.bottom - menu.top;
    host.view.CloseFunctionMenu();
    Click(ScaleToDpi(500, 144), ScaleToDpi(445, 144));  // restore defaults: shown at 150 %
    EXPECT_TRUE(restore.IsWindowVisible());
    EXPECT_EQ(SizeOf(restore).cx, 389);
    EXPECT_EQ(SizeOf(restore).cy, 233);
    EXPECT_TRUE(ClientRectOf(restore, restore.okButton()) == Scaled(Rect{132, 126, 191, 155}, 144));
    restore.ShowWindow(SW_HIDE);

    RECT back{40, 30, 40 + 709, 30 + 477};
    SendMessageW(host, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&back));
    Pump(200);
    GetWindowRect(host, &window);
    EXPECT_TRUE(window == back);
    EXPECT_TRUE(ClientRectOf(host, host.view.gestureButton(2)) == Scaled(L::kTiles[2], 96));
    SetForegroundWindow(host);
    Pump(100);
    GetWindowRect(host, &frame);
    Click(500, 445);
    EXPECT_EQ(SizeOf(restore).cx, 259) << "back at 96 DPI";
    restore.ShowWindow(SW_HIDE);
    host.view.openResetDialog = nullptr;
}


// ---- Windows' display settings.

class SettingsWindowLook : public SettingsWindowTest {};

// The screen's pixels under a window, as the user sees them (layered windows composed).
std::vector<COLORREF> Capture(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    const ScreenArea area(r);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) {
            const std::uint32_t p = area.at(x, y);
            pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    return pixels;
}

int Count(const std::vector<COLORREF>& pixels, COLORREF colour) {
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
}

// Text pixels: within 100 of `colour` in every channel (smoothed glyphs, CJK ones most, have
// few pixels of the exact colour; the skins' caption colour, RGB(80, 92, 107), is farther
// from black and white).
bool TextLike(COLORREF pixel, COLORREF colour) { return Near(pixel, colour, 100); }


// The pixels of the rows [top, bottom) of a capture `width` wide.
std::vector<COLORREF> Rows(const std::vector<COLORREF>& pixels, int width, int top, int bottom) {
    return std::vector<COLORREF>(pixels.begin() + top * width, pixels.begin() + bottom * width);
}

// The text pixels of `colour` inside a caption's box of colour `box`: with box pixels to the
// left, right, above and below (not the skin around the box, nor a frame elsewhere).
int CountInside(const std::vector<COLORREF>& pixels, int width, COLORREF box, COLORREF colour) {
    const int height = static_cast<int>(pixels.size()) / width;
    const auto boxAt = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height && pixels[static_cast<std::size_t>(y * width + x)] == box;
    };
    const auto reaches = [&](int x, int y, int dx, int dy) {
        for (int k = 1; k <= 40; ++k)
            if (boxAt(x + k * dx, y + k * dy)) return true;
        return false;
    };
    int n = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            n += TextLike(pixels[static_cast<std::size_t>(y * width + x)], colour) && reaches(x, y, -1, 0) &&
                 reaches(x, y, 1, 0) && reaches(x, y, 0, -1) && reaches(x, y, 0, 1);
    return n;
}

int WidthOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.right - r.left;
}

// A high-contrast palette while it lives (black menus with white text, a dark blue highlight
// with yellow text), the previous colours given back after it; both changes are broadcast by
// the system as WM_SYSCOLORCHANGE. Light text on dark keeps pixels near its colour even where
// glyphs are smoothed (CJK ones most), and neither text colour is one the skins' states use
// (dark grey-blue, white, light grey).
class HighContrastPalette {
public:
    static constexpr COLORREF kMenu = RGB(0, 0, 0), kMenuText = RGB(255, 255, 255), kHighlight = RGB(0, 0, 160),
                              kHighlightText = RGB(255, 255, 0), kGrayText = RGB(128, 128, 128);
    HighContrastPalette() {
        for (int i = 0; i < 5; ++i) saved_[i] = GetSysColor(kElements[i]);
        const COLORREF palette[5] = {kMenu, kMenuText, kHighlight, kHighlightText, kGrayText};
        SetSysColors(5, kElements, palette);
    }
    ~HighContrastPalette() { SetSysColors(5, kElements, saved_); }

private:
    static constexpr int kElements[5] = {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT,
                                         COLOR_GRAYTEXT};
    COLORREF saved_[5];
};

bool On() { return true; }

// High contrast reported on (Wine always says off) and then off again, each announced as
// Windows announces it: the captions stand on boxes of the system colours, the focus frame
// takes the text colour, the function menu opened from the keyboard is drawn as a system menu
// (body, highlighted row and text in their colours); off again, every pixel is as before.
TEST_F(SettingsWindowLook, UnderHighContrastCaptionsFocusAndTheMenuTakeTheSystemColours) {
    using C = HighContrastPalette;
    Click(kCell[1].x, kCell[1].y);  // slot 1: its function has a menu; its tile has the focus
    MoveMouse(frame.left + 690, frame.top + 300);
    Pump(100);
    const HWND apply = host.view.applyButton(), function = host.view.functionButton(), tile = host.view.gestureButton(1);
    const std::vector<COLORREF> applyBefore = Capture(apply);
    ASSERT_FALSE(applyBefore.empty());
    EXPECT_LT(Count(Capture(tile), C::kHighlight), 20) << "no highlight colour on the skin";
    {
        C colours;
        Pump(200);
        SetHighContrastAnswer(On);
        SendMessageW(host, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        Pump(200);
        const std::vector<COLORREF> applyNow = Capture(apply);
        EXPECT_GT(Count(applyNow, C::kMenu), Count(applyBefore, C::kMenu) + 150)
            << "Apply's caption on a box of the menu colour";
        EXPECT_GT(CountInside(applyNow, WidthOf(apply), C::kMenu, C::kMenuText), 6) << "in the menu text colour";
        const std::vector<COLORREF> tileNow = Capture(tile);
        EXPECT_GT(Count(tileNow, C::kHighlight), 150) << "the selected tile's caption on the highlight colour";
        // Its text, in rows clear of the focus frame (which takes the same colour).
        const int tileWidth = WidthOf(tile), tileHeight = static_cast<int>(tileNow.size()) / tileWidth;
        EXPECT_GT(CountInside(Rows(tileNow, tileWidth, 8, tileHeight - 8), tileWidth, C::kHighlight, C::kHighlightText), 6)
            << "in its text colour";
        EXPECT_GT(Count(Capture(host.view.pageTab(1)), C::kHighlight), 150) << "the shown page's tab";
        // The keyboard: the focus moves on to the function button, its frame in the text colour.
        Key(VK_TAB);
        ASSERT_EQ(GetFocus(), function);
        const std::vector<COLORREF> framed = Capture(function);
        const int width = WidthOf(function);
        EXPECT_GT(Count(Rows(framed, width, 3, 6), C::kMenuText), width / 2) << "the focus frame's top edge";
        EXPECT_EQ(Count(framed, RGB(236, 110, 30)), 0) << "no skin orange";
        // Its menu, opened with Enter: the first category highlighted.
        Key(VK_RETURN);
        ASSERT_TRUE(host.view.FunctionMenuOpen());
        Pump(200);
        CBmpMenu* menu = host.view.functionMenu();
        const std::vector<COLORREF> first = Capture(*menu->button(0)), second = Capture(*menu->button(1));
        const int entry = static_cast<int>(first.size());
        EXPECT_GT(Count(first, C::kHighlight), entry * 2 / 3) << "the highlighted row";
        EXPECT_GT(CountInside(first, WidthOf(*menu->button(0)), C::kHighlight, C::kHighlightText), 10) << "its text";
        EXPECT_GT(Count(second, C::kMenu), entry * 2 / 3) << "a row's body";
        EXPECT_GT(CountInside(second, WidthOf(*menu->button(1)), C::kMenu, C::kMenuText), 10) << "its text";
        const std::vector<COLORREF> level = Capture(*menu);
        const int levelWidth = WidthOf(*menu);
        EXPECT_GT(Count(level, C::kMenu) + Count(level, C::kMenuText) + Count(level, C::kHighlight),
                  static_cast<int>(level.size()) * 9 / 10)
            << "the level in the system colours but for the text's smoothed edges";
        EXPECT_EQ(Count(Rows(level, levelWidth, 17, 18), C::kMenu), levelWidth) << "the line between two rows";
        SaveScreenshot(L"settings-high-contrast.png");
        Key(VK_ESCAPE);
        ASSERT_FALSE(host.view.FunctionMenuOpen());
        SetHighContrastAnswer(nullptr);
        SendMessageW(host, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        Pump(200);
        EXPECT_TRUE(Capture(apply) == applyBefore) << "off again: Apply as before, pixel for pixel";
    }
    Pump(200);
    const std::vector<COLORREF> framed = Capture(function);
    EXPECT_GT(Count(Rows(framed, WidthOf(function), 3, 6), RGB(236, 110, 30)), WidthOf(function) / 2)
        << "the focus frame in the skins' orange again";
    Key(VK_RETURN);
    ASSERT_TRUE(host.view.FunctionMenuOpen());
    Pump(200);
    const std::vector<COLORREF> entry = Capture(*host.view.functionMenu()->button(1));
    EXPECT_LT(Count(entry, GetSysColor(COLOR_MENU)), static_cast<int>(entry.size()) / 3)
        << "the menu in its skin again, not in the menu colour";
    Key(VK_ESCAPE);
}

// Windows' "show animations" turned off and on again while the window shows (Wine stores the
// setting; it broadcasts WM_SETTINGCHANGE only with SPIF_UPDATEINIFILE): off, the gesture's animation holds its first
// frame with no thread playing, also for another gesture selected; on, it plays again.
TEST_F(SettingsWindowLook, WithoutAnimationsTheGesturePictureHoldsItsFirstFrame) {
    BOOL initially = TRUE;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &initially, 0));
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(TRUE), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    CPictureEx& picture = host.view.gesturePicture();
    const HWND window = GetDlgItem(host, 0x601);
    ASSERT_NE(window, nullptr);
    std::mutex lock;
    std::vector<std::size_t> presented;
    const auto record = [&](std::size_t index) {
        std::lock_guard<std::mutex> guard(lock);
        presented.push_back(index);
    };
    const auto frames = [&] {
        std::lock_guard<std::mutex> guard(lock);
        return presented;
    };
    picture.setFrameHook(record);
    Click(kCell[1].x, kCell[1].y);  // slot 1's animation, shown with the hook
    MoveMouse(frame.left + 690, frame.top + 300);
    Pump(300);
    ASSERT_GE(picture.frameCount(), 2u);
    EXPECT_TRUE(picture.isPlaying());

    ASSERT_TRUE(SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(FALSE), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    Pump(100);
    EXPECT_FALSE(picture.isPlaying()) << "no thread plays";
    EXPECT_TRUE(picture.heldStill());
    const std::vector<std::size_t> atChange = frames();
    ASSERT_FALSE(atChange.empty());
    EXPECT_EQ(atChange.back(), 0u) << "the first frame shown";
    const std::vector<COLORREF> still = Capture(window);
    Pump(1000);
    EXPECT_EQ(frames().size(), atChange.size()) << "nothing presented for a second";
    EXPECT_TRUE(Capture(window) == still) << "the picture unchanged over a second";

    {
        std::lock_guard<std::mutex> guard(lock);
        presented.clear();
    }
    Click(kCell[2].x, kCell[2].y);  // another gesture, selected while the setting is off
    MoveMouse(frame.left + 690, frame.top + 300);
    Pump(1000);
    EXPECT_FALSE(picture.isPlaying());
    EXPECT_TRUE(frames() == std::vector<std::size_t>{0}) << "its first frame alone: " << frames().size() << " shown";
    SaveScreenshot(L"settings-no-animation.png");

    const std::vector<COLORREF> held = Capture(window);
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(TRUE), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
    Pump(1000);
    EXPECT_TRUE(picture.isPlaying()) << "on again: it plays";
    EXPECT_GT(frames().size(), 2u);
    EXPECT_FALSE(Capture(window) == held);
    picture.setFrameHook(nullptr);
    SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(initially)),
                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

}  // namespace
}  // namespace mv::wintest
