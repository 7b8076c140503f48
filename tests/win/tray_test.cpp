// The tray icon of the real program against the stand-in driver (tests/win/run-shell.sh),
// driven through Wine's own tray with real pointer input, and through a stand-in shell tray
// that goes away and comes back.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "win/program_support.h"
#include "win/tray_support.h"

namespace mv::wintest {
namespace {

class ShellTray : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Touchsim(L"fail 0").exitCode, 0u) << "stand-in driver not installed";
        ASSERT_EQ(Touchsim(L"plug").exitCode, 0u);
        ASSERT_EQ(Touchsim(L"battery 1000").exitCode, 0u);
    }
    HWND Start(RunningProgram& program) {
        if (!program.started()) return nullptr;
        HWND main = WaitForMainWindow(probe, program.processId());
        if (!main) return nullptr;
        return PumpUntil(probe, 10000, [&] { return TouchsimClientProcess() == program.processId(); }) ? main
                                                                                                         : nullptr;
    }
    bool Shown(HWND main, bool shown, DWORD ms = 4000) {
        return PumpUntil(probe, ms, [&] { return (IsWindowVisible(main) != FALSE) == shown; });
    }
    ProbeWindow probe;
};

// The pictures the program draws come from its own resources.
class ProgramModule {
public:
    ProgramModule() : module_(LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ProgramModule() {
        if (module_) FreeLibrary(module_);
    }
    HICON Icon(UINT id, int size) const {
        return static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
    }
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

constexpr std::uint32_t kStrip = Rgb(219, 216, 209);
constexpr std::uint32_t kBody = Rgb(249, 248, 247);
constexpr std::uint32_t kSelected = Rgb(177, 185, 207);
constexpr int kItemHeight = 22;
constexpr int kStripWidth = 25;

// An owner-drawn item of the tray menu as the menu should show it, `width` wide.
Drawing ExpectedItem(const ProgramModule& program, int width, bool selected, UINT icon, const std::wstring& text,
                     COLORREF textColour) {
    return Drawing(width, kItemHeight, [&](HDC dc) {
        RECT r{0, 0, width, kItemHeight};
        auto fill = [&](RECT area, COLORREF colour) {
            HBRUSH brush = CreateSolidBrush(colour);
            FillRect(dc, &area, brush);
            DeleteObject(brush);
        };
        if (selected) {
            fill(r, RGB(0, 0, 0));
            fill(RECT{1, 1, width - 1, kItemHeight - 1}, RGB(177, 185, 207));
        } else {
            fill(RECT{0, 0, kStripWidth, kItemHeight}, RGB(219, 216, 209));
            fill(RECT{kStripWidth, 0, width, kItemHeight}, RGB(249, 248, 247));
        }
        HICON picture = program.Icon(icon, 16);
        const int at = selected ? 2 : 3;
        DrawIconEx(dc, at, at, picture, 16, 16, 0, nullptr, DI_NORMAL);
        DestroyIcon(picture);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, textColour);
        HFONT font = CreateFontW(12, 0, 0, 0, 500, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0x20, L"MS Shell Dlg");
        HGDIOBJ old = SelectObject(dc, font);
        RECT textRect{kStripWidth, 0, width, kItemHeight};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, 0x8135);
        SelectObject(dc, old);
        DeleteObject(font);
    });
}

struct MenuItemArea {
    int left, top, right;
};

// The owner-drawn items of a tray menu on the screen, found row by row: an item starts at
// its icon strip, or, when selected, one pixel above and to the left of its fill.
std::vector<MenuItemArea> FindItems(const ScreenArea& menu) {
    std::vector<MenuItemArea> items;
    for (int y = 0; y < menu.height(); ++y) {
        int x = 0;
        while (x < menu.width() && menu.at(x, y) != kStrip && menu.at(x, y) != kSelected) ++x;
        if (x >= menu.width()) continue;
        if (menu.at(x, y) == kStrip) {
            int right = x + kStripWidth;
            while (right < menu.width() && menu.at(right, y) == kBody) ++right;
            items.push_back({x, y, right});
        } else {
            int right = x;
            while (right < menu.width() && menu.at(right, y) == kSelected) ++right;
            items.push_back({x - 1, y - 1, right + 1});
        }
        y = items.back().top + kItemHeight - 1;
    }
    return items;
}

// Compares an item on the screen with the expected drawing; the text is compared by shape
// (where the text colour stands), since the menu picks that colour.
void ExpectItemDrawn(const ScreenArea& menu, const MenuItemArea& item, const Drawing& expected, const char* what) {
    SCOPED_TRACE(what);
    const int width = item.right - item.left;
    ASSERT_EQ(width, expected.width());
    int wrong = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < kItemHeight; ++y)
        for (int x = 0; x < width; ++x)
            if (menu.at(item.left + x, item.top + y) != expected.at(x, y)) {
                if (!wrong) firstX = x, firstY = y;
                ++wrong;
            }
    EXPECT_EQ(wrong, 0) << "first different pixel at (" << firstX << ", " << firstY << ") of the item: screen "
                        << std::hex << menu.at(item.left + firstX, item.top + firstY) << ", expected "
                        << expected.at(firstX, firstY);
}

// The text colour of an item on the screen: in its text half, the pixel farthest from the
// background (the caption's edges are blended with the background).
COLORREF TextColourOf(const ScreenArea& menu, const MenuItemArea& item) {
    const std::uint32_t background = menu.at(item.left + kStripWidth + 1, item.top + 1);
    auto distance = [&](std::uint32_t c) {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = static_cast<int>(c >> shift & 0xFF) - static_cast<int>(background >> shift & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    std::uint32_t text = background;
    for (int y = item.top + 2; y < item.top + kItemHeight - 2; ++y)
        for (int x = item.left + kStripWidth + 1; x < item.right - 2; ++x)
            if (distance(menu.at(x, y)) > distance(text)) text = menu.at(x, y);
    if (text == background) return CLR_INVALID;
    return RGB(text >> 16 & 0xFF, text >> 8 & 0xFF, text & 0xFF);
}

RECT WindowArea(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

POINT CentreOf(HWND window) {
    const RECT r = WindowArea(window);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Clicks, double-clicks and the menu on Wine's own tray icon, with the X server's pointer.
TEST_F(ShellTray, TheIconAnswersTheRealPointer) {
    Touchsim(L"clear");
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    std::vector<HWND> icons;
    ASSERT_TRUE(PumpUntil(probe, 5000, [&] { return (icons = WineTrayIcons()).size() == 1; }))
        << WineTrayIcons().size() << " icons in the tray";
    const POINT icon = CentreOf(icons[0]);
    const ProgramModule resources;
    ASSERT_NE(resources.get(), nullptr);

    // One click does nothing.
    ASSERT_TRUE(PointerClick(icon.x, icon.y, 1));
    probe.pump(1200);
    EXPECT_FALSE(IsWindowVisible(main)) << "a single click showed the window";
    EXPECT_TRUE(PopupMenusOf(program.processId()).empty()) << "a single click opened the menu";

    // A double-click shows the window.
    ASSERT_TRUE(PointerClick(icon.x, icon.y, 1, 2));
    EXPECT_TRUE(Shown(main, true)) << "the double-click did not show the window";
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Shown(main, false));

    // A right-click opens the menu at the pointer: exit on top, a separator, pause and hints, a
    // separator, the settings at the bottom.
    ASSERT_TRUE(PointerClick(icon.x, icon.y, 3));
    std::vector<HWND> menus;
    ASSERT_TRUE(PumpUntil(probe, 4000, [&] { return (menus = PopupMenusOf(program.processId())).size() == 1; }))
        << "no menu";
    probe.pump(500);
    const RECT menuRect = WindowArea(menus[0]);
    EXPECT_LE(std::abs(menuRect.left - icon.x), 1);
    EXPECT_LE(std::abs(menuRect.top - icon.y), 1);
    {
        const ScreenArea menu(menuRect);
        const auto items = FindItems(menu);
        ASSERT_EQ(items.size(), 4u);
        EXPECT_GT(items[1].top - (items[0].top + kItemHeight), 2) << "no separator below exit";
        EXPECT_GT(items[3].top - (items[2].top + kItemHeight), 2) << "no separator above the settings";
        const COLORREF text = TextColourOf(menu, items[0]);
        ASSERT_NE(text, CLR_INVALID) << "no caption drawn";
        ExpectItemDrawn(menu, items[0],
                        ExpectedItem(resources, items[0].right - items[0].left, false, 130, L"Exit", text), "exit");
        ExpectItemDrawn(menu, items[3],
                        ExpectedItem(resources, items[3].right - items[3].left, false, 132, L"Settings", text),
                        "settings");
    }

    // The pointer on the bottom item selects it: frame, fill and the selected icon one pixel
    // up and to the left. Choosing it shows the window.
    {
        const ScreenArea before(menuRect);
        const auto items = FindItems(before);
        ASSERT_EQ(items.size(), 4u);
        const POINT settings{menuRect.left + (items[3].left + items[3].right) / 2, menuRect.top + items[3].top + 11};
        ASSERT_TRUE(PointerAt(settings.x, settings.y));
        probe.pump(600);
        const ScreenArea menu(menuRect);
        const auto hovered = FindItems(menu);
        ASSERT_EQ(hovered.size(), 4u);
        const COLORREF text = TextColourOf(menu, hovered[3]);
        ExpectItemDrawn(menu, hovered[3],
                        ExpectedItem(resources, hovered[3].right - hovered[3].left, true, 131, L"Settings", text),
                        "settings selected");
        ExpectItemDrawn(menu, hovered[0],
                        ExpectedItem(resources, hovered[0].right - hovered[0].left, false, 130, L"Exit",
                                     TextColourOf(menu, hovered[0])),
                        "exit not selected");
        ASSERT_TRUE(PointerClick(settings.x, settings.y, 1));
    }
    EXPECT_TRUE(Shown(main, true)) << "the settings command did not show the window";
    EXPECT_TRUE(PumpUntil(probe, 3000, [&] { return PopupMenusOf(program.processId()).empty(); }));

    // The settings command while the window is shown leaves it shown.
    ASSERT_TRUE(PointerClick(icon.x, icon.y, 3));
    ASSERT_TRUE(PumpUntil(probe, 4000, [&] { return (menus = PopupMenusOf(program.processId())).size() == 1; }));
    probe.pump(300);
    auto items = FindItems(ScreenArea(WindowArea(menus[0])));
    ASSERT_EQ(items.size(), 4u);
    RECT at = WindowArea(menus[0]);
    ASSERT_TRUE(PointerClick(at.left + (items[3].left + items[3].right) / 2, at.top + items[3].top + 11, 1));
    probe.pump(800);
    EXPECT_TRUE(IsWindowVisible(main));

    // The exit command, chosen with the pointer, ends the program and hands the device back.
    ASSERT_TRUE(PointerClick(icon.x, icon.y, 3));
    ASSERT_TRUE(PumpUntil(probe, 4000, [&] { return (menus = PopupMenusOf(program.processId())).size() == 1; }));
    probe.pump(300);
    items = FindItems(ScreenArea(WindowArea(menus[0])));
    ASSERT_EQ(items.size(), 4u);
    at = WindowArea(menus[0]);
    Touchsim(L"clear");
    ASSERT_TRUE(PointerClick(at.left + (items[0].left + items[0].right) / 2, at.top + items[0].top + 11, 1));
    EXPECT_EQ(program.waitExit(10000), 0u) << "the exit command did not end the program";
    auto expected = AllDefaultSettingsRequests();
    expected.push_back(ModeRequest(0));
    EXPECT_EQ(TouchsimRequests(), expected);
    EXPECT_TRUE(PumpUntil(probe, 3000, [] { return WineTrayIcons().empty(); })) << "the icon stayed";
}

// The icon bits of a NIM_ADD: the mask bits, then the colour bits of icon 128.
std::vector<std::uint8_t> IconBits(HICON icon) {
    std::vector<std::uint8_t> bits;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return bits;
    for (HBITMAP bitmap : {info.hbmMask, info.hbmColor}) {
        BITMAP b{};
        GetObjectW(bitmap, sizeof b, &b);
        const std::size_t size = (static_cast<std::size_t>(b.bmPlanes) * b.bmWidth * b.bmHeight * b.bmBitsPixel + 15) / 16 * 2;
        const std::size_t at = bits.size();
        bits.resize(at + size);
        GetBitmapBits(bitmap, static_cast<LONG>(size), bits.data() + at);
    }
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return bits;
}

void ExpectIconAdded(const TrayNotification& added, HWND main, const std::vector<std::uint8_t>& iconBits) {
    EXPECT_EQ(added.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(added.window, main);
    EXPECT_EQ(added.id, 128u);
    EXPECT_EQ(added.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(added.callbackMessage, 0x600u);
    EXPECT_EQ(added.tip, kProgramTitle);
    // The frame drawn for the tray: the small-icon size, not a large icon the shell shrinks.
    EXPECT_EQ(added.iconWidth, static_cast<UINT>(GetSystemMetrics(SM_CXSMICON)));
    EXPECT_EQ(added.iconHeight, static_cast<UINT>(GetSystemMetrics(SM_CYSMICON)));
    EXPECT_TRUE(added.iconBits == iconBits) << "not icon 128 of the program at the small-icon size";
}

// The tray window goes away with the icon; the shell's "TaskbarCreated" brings the icon back,
// with the data of the first add even after a balloon changed them.
TEST_F(ShellTray, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
    const ProgramModule resources;
    HICON icon128 = static_cast<HICON>(LoadImageW(resources.get(), MAKEINTRESOURCEW(128), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    ASSERT_NE(icon128, nullptr);
    const std::vector<std::uint8_t> iconBits = IconBits(icon128);
    DestroyIcon(icon128);

    auto first = std::make_unique<StandInTray>();
    ASSERT_EQ(FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr), first->handle());
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(first->waitFor(1, 5000)) << "no icon added";
    ExpectIconAdded(first->notifications()[0], main, iconBits);
    EXPECT_TRUE(first->holds(main, 128));

    // A low-battery balloon leaves NIF_INFO in the program's icon data.
    ASSERT_EQ(Touchsim(L"battery 500").exitCode, 0u);
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutW(main, WM_TIMER, 1283, 0, SMTO_NORMAL, 10000, &result), 0);
    // The tooltip's updates are notifications too: the balloon is the one with NIF_INFO.
    const auto balloons = [](const StandInTray& tray) {
        std::size_t n = 0;
        for (const auto& note : tray.notifications()) n += (note.flags & NIF_INFO) != 0;
        return n;
    };
    ASSERT_TRUE(PumpUntil(probe, 3000, [&] { return balloons(*first) == 1; })) << "no balloon";

    // The tray window is destroyed: the icon is gone.
    first.reset();
    EXPECT_FALSE(TrayIconPresent(main)) << "the icon outlived its tray";

    // A new tray announces itself: the icon is added to it anew.
    StandInTray second;
    ASSERT_EQ(FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr), second.handle());
    BroadcastTaskbarCreated();
    ASSERT_TRUE(second.waitFor(1, 5000)) << "TaskbarCreated did not bring the icon back";
    ExpectIconAdded(second.notifications()[0], main, iconBits);
    EXPECT_TRUE(second.holds(main, 128));
    // Then only the tooltip is set again (the receiver's state), never the old balloon.
    probe.pump(300);
    const auto notes = second.notifications();
    for (std::size_t i = 1; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(notes[i].flags, static_cast<UINT>(NIF_TIP));
    }
    EXPECT_EQ(balloons(second), 0u);

    EXPECT_EQ(ExitThroughTrayCommand(main, program), 0u);
    EXPECT_FALSE(second.holds(main, 128)) << "the icon was not removed at exit";
}

// Wine's own tray, after the stand-in that held the icon is gone: "TaskbarCreated" puts the
// icon into it, where the pointer finds it.
TEST_F(ShellTray, TheIconMovesIntoWinesTrayOnTaskbarCreated) {
    auto standIn = std::make_unique<StandInTray>();
    RunningProgram program;
    HWND main = Start(program);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(standIn->waitFor(1, 5000));
    standIn.reset();
    EXPECT_FALSE(TrayIconPresent(main));
    EXPECT_TRUE(WineTrayIcons().empty());

    BroadcastTaskbarCreated();
    std::vector<HWND> icons;
    ASSERT_TRUE(PumpUntil(probe, 5000, [&] { return TrayIconPresent(main) && (icons = WineTrayIcons()).size() == 1; }))
        << "the icon did not come back";
    const POINT at = CentreOf(icons[0]);
    ASSERT_TRUE(PointerClick(at.x, at.y, 1, 2));
    EXPECT_TRUE(Shown(main, true)) << "the restored icon does not answer a double-click";
    EXPECT_EQ(ExitThroughTrayCommand(main, program), 0u);
}

}  // namespace
}  // namespace mv::wintest
