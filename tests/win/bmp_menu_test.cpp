// The function picker menus under Wine: the first level's layout and translucency,
// the second level opening and closing under real pointer moves where PlaceSubmenu
// puts it, a pick reaching the owner as WM_FUNCTION_CHOSEN, the owner keeping the
// activation and the focus throughout, keys that pick nothing, closing and opening
// again, and the release.
#include <gtest/gtest.h>

#include "ui/bmp_menu_win.h"

#include <memory>
#include <vector>

#include "i18n/text_catalogue.h"
#include "win/skin_fixtures.h"

namespace mv::wintest {
namespace {

constexpr DWORD kMenuNormal = 0xFF303848;
constexpr DWORD kMenuOver = 0xFF4878C0;
constexpr DWORD kSubNormal = 0xFF383048;
constexpr DWORD kSubOver = 0xFF48A060;
constexpr DWORD kSubDown = 0xFFC06040;
constexpr DWORD kGap = 0xFF202020;
constexpr int kMenuWidth = 120, kSubWidth = 140, kSubHeight = 215;
constexpr RECT kMain{100, 100, 820, 580};

// Stands in for the main window: a plain window that records the chosen functions and
// the commands it receives.
class Owner : public fw::CWnd {
public:
    std::vector<MSG> chosen;
    std::vector<WPARAM> commands;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_FUNCTION_CHOSEN) chosen.push_back(MSG{hwnd_, message, wParam, lParam, 0, {}});
        if (message == WM_COMMAND) commands.push_back(wParam);
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
            EndPaint(hwnd_, &ps);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Horizontal 1-pixel lines of `gap` under every 17-pixel entry.
std::vector<ColourArea> Gaps(int width, int height) {
    std::vector<ColourArea> lines;
    for (int y = 17; y < height; y += 18) lines.push_back({RECT{0, y, width, y + 1}, kGap});
    return lines;
}

class BmpMenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        EnsureGdiplus();
        folder_ = MakeTempFolder(L"mvmenu");
        CreateDirectoryW((folder_ + L"skins").c_str(), nullptr);
        CreateDirectoryW((folder_ + L"skins\\menu").c_str(), nullptr);
        const std::wstring menu = folder_ + L"skins\\menu\\";
        ASSERT_TRUE(WriteTestPng(menu + L"menu_normal.png", kMenuWidth, 107, kMenuNormal, Gaps(kMenuWidth, 107)));
        ASSERT_TRUE(WriteTestPng(menu + L"menu_over.png", kMenuWidth, 107, kMenuOver, Gaps(kMenuWidth, 107)));
        ASSERT_TRUE(WriteTestPng(menu + L"submenu_normal.png", kSubWidth, kSubHeight, kSubNormal,
                                 Gaps(kSubWidth, kSubHeight)));
        ASSERT_TRUE(WriteTestPng(menu + L"submenu_over.png", kSubWidth, kSubHeight, kSubOver,
                                 Gaps(kSubWidth, kSubHeight)));
        ASSERT_TRUE(WriteTestPng(menu + L"submenu_down.png", kSubWidth, kSubHeight, kSubDown,
                                 Gaps(kSubWidth, kSubHeight)));
        // The program's English texts, from the source tree beside the build folder.
        const std::wstring lang = ExecutableDirectory() + L"..\\..\\lang\\en\\language.xml";
        loadTextCatalogue(std::u16string(lang.begin(), lang.end()));
    }

    void SetUp() override {
        ASSERT_FALSE(tr("tc_vol_up").empty()) << "language file not loaded";
        ASSERT_TRUE(owner.CreateEx(0, nullptr, L"main", WS_POPUP | WS_VISIBLE, kMain, nullptr, 0));
        MoveMouse(1000, 900);
        menu = CreateFunctionMenu(owner, folder_, POINT{kMain.left + 41, kMain.top + 395});
        ASSERT_TRUE(menu);
        Pump(100);
    }

    void TearDown() override {
        if (menu) menu->ReleaseMenu();
        menu.reset();
        owner.DestroyWindow();
        MoveMouse(1000, 900);
    }

    // Centre of first-level entry i on the screen.
    POINT Entry(int i) const {
        RECT r;
        GetWindowRect(*menu->button(i), &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void PointAtEntry(int i, int dx = 0) {
        const POINT p = Entry(i);
        MoveMouse(p.x + dx, p.y);
    }
    static RECT WindowRect(HWND w) {
        RECT r{};
        GetWindowRect(w, &r);
        return r;
    }

    static std::wstring folder_;
    Owner owner;
    std::unique_ptr<CBmpMenu> menu;
};
std::wstring BmpMenuTest::folder_;

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(BmpMenuTest, FirstLevelIsLaidOutFromItsSkinAndIsTranslucent) {
    const int x = kMain.left + 41, y = kMain.top + 395;
    EXPECT_TRUE(WindowRect(*menu) == (RECT{x, y, x + kMenuWidth, y + 6 * 18}));
    EXPECT_TRUE(IsWindowVisible(*menu));
    EXPECT_EQ(GetWindow(*menu, GW_OWNER), owner.GetSafeHwnd());
    const LONG_PTR style = GetWindowLongPtrW(*menu, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER));
    EXPECT_TRUE(GetWindowLongPtrW(*menu, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(*menu, nullptr, &alpha, &flags)) << GetLastError();
    EXPECT_EQ(alpha, 250);
    EXPECT_TRUE(flags & LWA_ALPHA);

    ASSERT_EQ(menu->buttonCount(), 6u);
    const char* keys[] = {"tc_basic_fun", "tc_mouse_fun", "tc_win8_fun", "tc_media_fun", "tc_advance_fun",
                          "tc_custom_fun"};
    for (int i = 0; i < 6; ++i) {
        const std::u16string text = tr(keys[i]);
        EXPECT_EQ(menu->button(i)->caption(), std::wstring(text.begin(), text.end()));
        EXPECT_TRUE(WindowRect(*menu->button(i)) == (RECT{x, y + 18 * i, x + kMenuWidth, y + 18 * i + 17}));
    }
    EXPECT_EQ(WindowPixel(*menu->button(2), 2, 2), Ref(kMenuNormal));
    EXPECT_EQ(menu->openSubmenu(), nullptr);
}

TEST_F(BmpMenuTest, RestingOnACategoryOpensOneSecondLevelWherePlaceSubmenuSays) {
    PointAtEntry(3);
    Pump(100);
    CSubBmpMenu* sub = menu->openSubmenu();
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->categoryIndex(), 3);
    const POINT at = menu->PlaceSubmenu(3);
    const POINT menuAt = menu->position();
    // Room to the right and below: beside the first level, top level with entry 3.
    EXPECT_EQ(at.x, menuAt.x + kMenuWidth);
    EXPECT_EQ(at.y, menuAt.y + 18 * 3);
    EXPECT_TRUE(WindowRect(*sub) == (RECT{at.x, at.y, at.x + kSubWidth, at.y + 7 * 18}));
    ASSERT_EQ(sub->buttonCount(), 7u);
    const std::u16string volumeUp = tr("tc_vol_up");
    EXPECT_EQ(sub->button(4)->caption(), std::wstring(volumeUp.begin(), volumeUp.end()));
    EXPECT_TRUE(GetWindowLongPtrW(*sub, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(*sub, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 250);
    EXPECT_EQ(GetWindow(*sub, GW_OWNER), menu->GetSafeHwnd());
    EXPECT_EQ(WindowPixel(*menu->button(3), 2, 2), Ref(kMenuOver)) << "the category under the pointer";
    EXPECT_EQ(WindowPixel(*sub->button(0), 2, 2), Ref(kSubNormal));

    // More moves over the same category keep the same second level.
    PointAtEntry(3, 5);
    PointAtEntry(3, -5);
    EXPECT_EQ(menu->openSubmenu(), sub);
}

TEST_F(BmpMenuTest, MovingToTheNextCategoryReplacesTheSecondLevel) {
    PointAtEntry(0);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    const HWND basic = *menu->openSubmenu();
    EXPECT_EQ(menu->openSubmenu()->buttonCount(), 12u);
    PointAtEntry(1);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    EXPECT_EQ(menu->openSubmenu()->categoryIndex(), 1);
    EXPECT_FALSE(IsWindowVisible(basic));
    EXPECT_EQ(menu->openSubmenu()->buttonCount(), 6u);
    EXPECT_TRUE(menu->model().category(1).submenuOpen);
    EXPECT_FALSE(menu->model().category(0).submenuOpen);
}

TEST_F(BmpMenuTest, TheSecondLevelStaysWhileThePointerIsOnItAndClosesOverTheMainWindow) {
    PointAtEntry(2);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    const HWND sub = *menu->openSubmenu();
    const RECT r = WindowRect(sub);
    MoveMouse(r.left + 30, r.top + 18 * 2 + 8);
    EXPECT_EQ(menu->openSubmenu() ? menu->openSubmenu()->GetSafeHwnd() : nullptr, sub);
    EXPECT_EQ(WindowPixel(*menu->openSubmenu()->button(2), 2, 2), Ref(kSubOver));
    // Its category stays highlighted while the pointer is in the level; the others do not.
    EXPECT_EQ(WindowPixel(*menu->button(2), 2, 2), Ref(kMenuOver));
    EXPECT_EQ(WindowPixel(*menu->button(1), 2, 2), Ref(kMenuNormal));

    // Back over the category, then onto the main window's background.
    PointAtEntry(2);
    MoveMouse(kMain.left + 300, kMain.top + 200);
    EXPECT_EQ(menu->openSubmenu(), nullptr);
    EXPECT_FALSE(IsWindowVisible(sub));
    EXPECT_EQ(WindowPixel(*menu->button(2), 2, 2), Ref(kMenuNormal)) << "no level open, no highlight";
    EXPECT_FALSE(menu->model().category(2).submenuOpen);
}

TEST_F(BmpMenuTest, PickingVolumeUpPostsTheChoiceToTheOwnerAndReleaseClosesBothLevels) {
    PointAtEntry(3);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    CSubBmpMenu* sub = menu->openSubmenu();
    const HWND subWindow = *sub;
    RECT entry;
    GetWindowRect(*sub->button(4), &entry);
    MoveMouse(entry.left + 40, entry.top + 8);
    ASSERT_EQ(menu->openSubmenu(), sub);
    LeftDown();
    EXPECT_EQ(WindowPixel(*sub->button(4), 2, 2), Ref(kSubDown));
    LeftUp();
    Pump(100);
    ASSERT_EQ(owner.chosen.size(), 1u);
    EXPECT_EQ(owner.chosen[0].wParam, static_cast<WPARAM>((3u << 16) | 4u));
    EXPECT_EQ(owner.chosen[0].lParam, static_cast<LPARAM>((180u << 16) | 116u));

    const HWND first = *menu;
    menu->ReleaseMenu();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(subWindow));
    EXPECT_EQ(menu->openSubmenu(), nullptr);
    EXPECT_EQ(menu->buttonCount(), 0u);
    menu->ReleaseMenu();  // a second release is harmless
}

// As a real menu: whatever the pointer does over either level, the owner keeps the
// activation and the keyboard focus, and keys reach the owner, never an entry.
TEST_F(BmpMenuTest, TheOwnerKeepsTheActivationAndTheFocus) {
    menu->ReleaseMenu();
    SetForegroundWindow(owner);
    SetFocus(owner);
    Pump(100);
    ASSERT_EQ(GetForegroundWindow(), owner.GetSafeHwnd());
    menu = CreateFunctionMenu(owner, folder_, POINT{kMain.left + 41, kMain.top + 395});
    ASSERT_TRUE(menu);
    Pump(100);
    PointAtEntry(3);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    RECT entry;
    GetWindowRect(*menu->openSubmenu()->button(4), &entry);
    MoveMouse(entry.left + 40, entry.top + 8);
    LeftDown();
    EXPECT_EQ(GetActiveWindow(), owner.GetSafeHwnd()) << "pressed on an entry";
    EXPECT_EQ(GetFocus(), owner.GetSafeHwnd());
    LeftUp();
    Pump(100);
    EXPECT_EQ(owner.chosen.size(), 1u) << "the click still picks";
    EXPECT_EQ(GetForegroundWindow(), owner.GetSafeHwnd());
    EXPECT_EQ(GetActiveWindow(), owner.GetSafeHwnd());
    EXPECT_EQ(GetFocus(), owner.GetSafeHwnd());

    // Keys while the pointer rests on an entry: none picks, none reaches an entry.
    for (BYTE key : {VK_SPACE, VK_RETURN, VK_DOWN, VK_UP, VK_RIGHT, VK_SPACE}) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        Pump(60);
    }
    EXPECT_EQ(owner.chosen.size(), 1u);
    EXPECT_EQ(GetFocus(), owner.GetSafeHwnd());
}

// Should a level get a key all the same (sent to one of its entries), Space and Enter pick
// nothing and Escape asks the owner to close the menu.
TEST_F(BmpMenuTest, KeysSentToAnEntryPickNothingAndEscapeClosesThroughTheOwner) {
    PointAtEntry(3);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    const HWND entry = *menu->openSubmenu()->button(4);
    for (WPARAM key : {VK_SPACE, VK_RETURN}) {
        PostMessageW(entry, WM_KEYDOWN, key, 0x00390001);
        PostMessageW(entry, WM_KEYUP, key, 0xC0390001);
        Pump(100);
    }
    EXPECT_TRUE(owner.chosen.empty());
    EXPECT_TRUE(owner.commands.empty());
    PostMessageW(entry, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    Pump(100);
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(LOWORD(owner.commands[0]), IDCANCEL);
    EXPECT_TRUE(owner.chosen.empty());
}

// Closing hides both levels and picks nothing; opening again shows the same windows where
// asked, with no entry left highlighted, and a second level already built is reused.
TEST_F(BmpMenuTest, ClosedAndOpenedAgainWithTheSameWindows) {
    PointAtEntry(3);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    const HWND first = *menu, media = *menu->openSubmenu();
    menu->Close();
    Pump(50);
    EXPECT_FALSE(menu->IsOpen());
    EXPECT_FALSE(IsWindowVisible(first));
    EXPECT_FALSE(IsWindowVisible(media));
    EXPECT_EQ(menu->openSubmenu(), nullptr);
    EXPECT_FALSE(menu->model().category(3).submenuOpen);
    EXPECT_TRUE(owner.chosen.empty());

    MoveMouse(1000, 900);
    menu->Open(POINT{kMain.left + 61, kMain.top + 405});
    Pump(100);
    EXPECT_TRUE(menu->IsOpen());
    EXPECT_EQ(menu->GetSafeHwnd(), first);
    EXPECT_TRUE(WindowRect(first) == (RECT{kMain.left + 61, kMain.top + 405, kMain.left + 61 + kMenuWidth,
                                             kMain.top + 405 + 6 * 18}));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(WindowPixel(*menu->button(i), 2, 2), Ref(kMenuNormal)) << i;
    PointAtEntry(3);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    EXPECT_EQ(menu->openSubmenu()->GetSafeHwnd(), media);
    EXPECT_EQ(WindowRect(media).left, kMain.left + 61 + kMenuWidth) << "placed beside the moved first level";
    EXPECT_TRUE(IsWindowVisible(media));
}

TEST_F(BmpMenuTest, ClickingACategoryChangesNothing) {
    PointAtEntry(4);
    LeftDown();
    LeftUp();
    Pump(100);
    EXPECT_TRUE(owner.chosen.empty());
    EXPECT_TRUE(IsWindow(*menu));
    ASSERT_NE(menu->openSubmenu(), nullptr);
    EXPECT_EQ(menu->openSubmenu()->categoryIndex(), 4);
}

TEST_F(BmpMenuTest, NearTheRightEdgeTheSecondLevelOpensToTheLeft) {
    menu->ReleaseMenu();
    const int x = GetSystemMetrics(SM_CXFULLSCREEN) - kMenuWidth - 20, y = 300;
    menu = CreateFunctionMenu(owner, folder_, POINT{x, y});
    ASSERT_TRUE(menu);
    Pump(100);
    PointAtEntry(1);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    const RECT r = WindowRect(*menu->openSubmenu());
    EXPECT_EQ(r.left, x - kMenuWidth);
    EXPECT_EQ(r.top, y + 17 * 1);
}

TEST_F(BmpMenuTest, MissingSkinsGiveAZeroWidthMenu) {
    menu->ReleaseMenu();
    const std::wstring nowhere = folder_ + L"absent\\";
    menu = CreateFunctionMenu(owner, nowhere, POINT{200, 200});
    ASSERT_TRUE(menu);
    const RECT r = WindowRect(*menu);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 108);
    EXPECT_EQ(menu->buttonCount(), 6u);
}

// The open two-level menu over a stand-in main window, saved for a look; with the
// program's own skins when the program folder has them.
TEST_F(BmpMenuTest, OpenTwoLevelMenuScreenshot) {
    const std::wstring dist = DistFolderWith(L"skins\\menu\\menu_normal.png");
    if (!dist.empty()) {
        menu->ReleaseMenu();
        menu = CreateFunctionMenu(owner, dist, POINT{kMain.left + 41, kMain.top + 395});
        ASSERT_TRUE(menu);
        SkinPicture first(MenuSkinPath(dist, L"menu_normal.png"));
        EXPECT_EQ(WindowRect(*menu).right - WindowRect(*menu).left, static_cast<LONG>(first.width()));
        Pump(100);
    }
    PointAtEntry(3);
    ASSERT_NE(menu->openSubmenu(), nullptr);
    RECT entry;
    GetWindowRect(*menu->openSubmenu()->button(4), &entry);
    MoveMouse(entry.left + 40, entry.top + 8);
    Pump(300);
    SaveScreenshot(L"function_menu.png");
    EXPECT_NE(menu->openSubmenu(), nullptr);
}

}  // namespace
}  // namespace mv::wintest
