// Windows shown for screenshots only: run with --gtest_also_run_disabled_tests
// --gtest_filter=DISABLED_Showcase.* and take the picture while they are up
// (MV_SHOWCASE_MS, default 4000 ms).
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "gif_writer.h"
#include "i18n/text_catalogue.h"
#include "support/fake_registry.h"
#include "ui/default_config_win.h"
#include "ui/pointer_setting_win.h"
#include "win32/win32_platform.h"
#include "ui/picture_ex_win.h"

namespace mv {
namespace {

DWORD ShowcaseMs() {
    wchar_t value[32] = {};
    if (GetEnvironmentVariableW(L"MV_SHOWCASE_MS", value, 32)) return static_cast<DWORD>(_wtoi(value));
    return 4000;
}

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

TEST(DISABLED_Showcase, Animation) {
    fw::CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, L"animation", WS_POPUP | WS_VISIBLE | WS_BORDER, RECT{40, 40, 300, 300},
                              nullptr, 0));
    CPictureEx picture;
    ASSERT_TRUE(picture.Create(L"", WS_CHILD | WS_VISIBLE, RECT{10, 10, 235, 272}, host, 0x601));
    wchar_t gif[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"MV_SHOWCASE_GIF", gif, MAX_PATH)) {
        ASSERT_TRUE(picture.loadPictureFile(gif));
        picture.showPicture();
        PumpFor(ShowcaseMs());
        return;
    }
    test::GifWriter g(200, 150);
    g.control(150, 1).image(0, 0, 200, 150, test::kRed);
    g.control(150, 2).image(40, 40, 60, 60, test::kGreen);
    g.control(150, 3).image(110, 20, 60, 60, test::kBlue);
    g.image(0, 0, 30, 30, test::kBlack);
    g.trailer();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, g.bytes.size());
    memcpy(GlobalLock(block), g.bytes.data(), g.bytes.size());
    GlobalUnlock(block);
    ASSERT_TRUE(picture.loadPictureData(block, static_cast<DWORD>(g.bytes.size())));
    GlobalFree(block);
    picture.showPicture();
    PumpFor(ShowcaseMs());
}

// MV_SHOWCASE_DIR: the folder with skins\ (the program folder); MV_SHOWCASE_LANG: a language file.
struct DialogShowcase {
    GdiplusSession gdiplus;
    std::wstring dir;
    DialogShowcase() {
        wchar_t value[MAX_PATH] = {};
        if (GetEnvironmentVariableW(L"MV_SHOWCASE_DIR", value, MAX_PATH)) dir = value;
        if (GetEnvironmentVariableW(L"MV_SHOWCASE_LANG", value, MAX_PATH)) loadTextCatalogue(FromWide(value));
    }
};

TEST(DISABLED_Showcase, PointerDialog) {
    DialogShowcase showcase;
    test::FakeRegistry registry;
    std::vector<std::uint8_t> sz = {'1', 0, '0', 0, 0, 0};
    registry.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSensitivity", kRegSz, sz);
    registry.put(RegistryRoot::CurrentUser, kMouseKey, u"MouseSpeed", kRegSz, {'1', 0, 0, 0});
    CPointerSeting dialog(registry, registry);
    dialog.SetProgramDirectory(showcase.dir);
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.ShowWindow(SW_SHOW);
    PumpFor(ShowcaseMs());
}

TEST(DISABLED_Showcase, RestoreDefaultsDialog) {
    DialogShowcase showcase;
    CDefaultConfig dialog;
    dialog.SetProgramDirectory(showcase.dir);
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.ShowWindow(SW_SHOW);
    PumpFor(ShowcaseMs());
}

}  // namespace
}  // namespace mv
