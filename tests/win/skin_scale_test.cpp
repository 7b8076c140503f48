// Skin pictures for a DPI from skin folders the tests write: the set drawn for the DPI as it
// is, else the nearest larger set or the 100 % set resized once to the size of the wanted set,
// an unreadable file passed over for the next set; and the picture's colours kept.
#include <gtest/gtest.h>

#include "ui/skin_picture_win.h"
#include "win/skin_fixtures.h"

namespace mv::wintest {
namespace {

namespace gp = Gdiplus::DllExports;

constexpr DWORD kBlue = 0xFF2563EB;

class SkinScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGdiplus();
        folder_ = MakeTempFolder(L"mvscale");
        ASSERT_FALSE(folder_.empty());
        CreateDirectoryW((folder_ + L"skins").c_str(), nullptr);
    }
    // skins\<percent>\name (skins\name for 100) drawn w x h for a 100 x 40 picture at 96 DPI,
    // a solid colour, so that resizing keeps every pixel.
    void Write(int percent, int width, int height, const wchar_t* name = L"sheet.png") {
        std::wstring dir = folder_ + L"skins\\";
        if (percent != 100) {
            dir += std::to_wstring(percent) + L"\\";
            CreateDirectoryW(dir.c_str(), nullptr);
        }
        ASSERT_TRUE(WriteTestPng(dir + name, width, height, kBlue, {}));
    }
    SIZE Loaded(int dpi, const wchar_t* name = L"sheet.png") {
        SkinPicture picture;
        if (!LoadSkin(picture, folder_, name, dpi)) return SIZE{0, 0};
        Gdiplus::ARGB centre = 0;
        gp::GdipBitmapGetPixel(picture.bitmap(), static_cast<INT>(picture.width() / 2),
                               static_cast<INT>(picture.height() / 2), &centre);
        EXPECT_EQ(centre | 0xFF000000, kBlue) << "the picture's colours";
        return SIZE{static_cast<LONG>(picture.width()), static_cast<LONG>(picture.height())};
    }
    std::wstring folder_;
};

bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }

TEST_F(SkinScaleTest, TheSetForTheDpiElseTheNearestLargerElseTheHundredPercentSet) {
    Write(100, 100, 40);
    Write(150, 150, 60);
    Write(200, 200, 80);
    EXPECT_TRUE(Loaded(96) == (SIZE{100, 40}));
    EXPECT_TRUE(Loaded(144) == (SIZE{150, 60})) << "the 150 % set as it is";
    EXPECT_TRUE(Loaded(120) == (SIZE{125, 50})) << "no 125 % set: the 150 % one scaled down";
    EXPECT_TRUE(Loaded(168) == (SIZE{175, 70})) << "no 175 % set: the 200 % one scaled down";
    EXPECT_TRUE(Loaded(216) == (SIZE{225, 90})) << "225 %: the 100 % set scaled up";
    int set = 0;
    EXPECT_EQ(FindSkin(folder_, L"sheet.png", 120, set), folder_ + L"skins\\150\\sheet.png");
    EXPECT_EQ(set, 150);
    EXPECT_EQ(FindSkin(folder_, L"sheet.png", 216, set), folder_ + L"skins\\sheet.png");
    EXPECT_EQ(set, 100);
}

TEST_F(SkinScaleTest, AMissingOrUnreadableFileFallsToTheNextSet) {
    Write(100, 100, 40);
    Write(175, 175, 70);
    CreateDirectoryW((folder_ + L"skins\\150").c_str(), nullptr);
    HANDLE file = CreateFileW((folder_ + L"skins\\150\\sheet.png").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "not a picture", 13, &written, nullptr);
    CloseHandle(file);
    EXPECT_TRUE(Loaded(144) == (SIZE{150, 60})) << "the unreadable 150 % file passed over for the 175 % one";
    EXPECT_TRUE(Loaded(144, L"missing.png") == (SIZE{0, 0})) << "no set has it: an empty picture";
    SkinPicture picture;
    EXPECT_FALSE(LoadSkin(picture, folder_, L"missing.png", 144));
    EXPECT_TRUE(picture.empty());
}

}  // namespace
}  // namespace mv::wintest
