// The built program's resources, read from dist\MorviCorvelConfig.exe: the system menu's
// About string, the About box and the version block, compared with the UTF-16 they are meant
// to be, and the program icon's frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "win/program_support.h"

namespace mv::wintest {
namespace {

// The program's resources, loaded as data.
class ProgramResources {
public:
    ProgramResources() {
        module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    ~ProgramResources() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE module() const { return module_; }

    std::wstring String(UINT id) const {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
        return length > 0 ? std::wstring(text, length) : std::wstring();
    }
    std::vector<std::uint8_t> Resource(const wchar_t* type, UINT id) const {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), type);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
        return data ? std::vector<std::uint8_t>(data, data + SizeofResource(module_, found)) : std::vector<std::uint8_t>();
    }

private:
    HMODULE module_ = nullptr;
};

// A DLGTEMPLATEEX read field by field: sz_Or_Ord fields are an ordinal (FFFF, id) or a string.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    std::uint16_t Word() {
        if (pos_ + 2 > bytes_.size()) return ok_ = false, 0;
        const std::uint16_t v = static_cast<std::uint16_t>(bytes_[pos_] | bytes_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    std::uint32_t Dword() {
        const std::uint32_t low = Word();
        return low | static_cast<std::uint32_t>(Word()) << 16;
    }
    std::wstring Text() {
        std::wstring s;
        for (std::uint16_t u = Word(); ok_ && u; u = Word()) s.push_back(static_cast<wchar_t>(u));
        return s;
    }
    // A string, or "#id" for an ordinal.
    std::wstring TextOrOrdinal() {
        const std::size_t start = pos_;
        if (Word() == 0xFFFF) return L"#" + std::to_wstring(Word());
        pos_ = start;
        return Text();
    }
    void AlignDword() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
    void Skip(std::size_t n) { pos_ += n; }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

struct DialogItem {
    std::wstring windowClass;
    std::wstring text;
    std::uint32_t id;
    short x, y, cx, cy;
};

struct Dialog {
    std::wstring caption;
    std::wstring font;
    std::uint16_t pointSize = 0;
    short cx = 0, cy = 0;
    std::vector<DialogItem> items;
};

Dialog ReadDialogEx(const std::vector<std::uint8_t>& bytes) {
    Dialog dialog;
    TemplateReader r(bytes);
    EXPECT_EQ(r.Word(), 1);       // dlgVer
    EXPECT_EQ(r.Word(), 0xFFFF);  // signature: an extended template
    r.Dword();                    // helpID
    r.Dword();                    // exStyle
    const std::uint32_t style = r.Dword();
    const std::uint16_t count = r.Word();
    r.Word();
    r.Word();
    dialog.cx = static_cast<short>(r.Word());
    dialog.cy = static_cast<short>(r.Word());
    r.TextOrOrdinal();  // menu
    r.TextOrOrdinal();  // class
    dialog.caption = r.Text();
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = r.Word();
        r.Word();  // weight
        r.Word();  // italic, charset
        dialog.font = r.Text();
    }
    for (std::uint16_t i = 0; i < count && r.ok(); ++i) {
        r.AlignDword();
        DialogItem item{};
        r.Dword();  // helpID
        r.Dword();  // exStyle
        r.Dword();  // style
        item.x = static_cast<short>(r.Word());
        item.y = static_cast<short>(r.Word());
        item.cx = static_cast<short>(r.Word());
        item.cy = static_cast<short>(r.Word());
        item.id = r.Dword();
        item.windowClass = r.TextOrOrdinal();
        item.text = r.TextOrOrdinal();
        r.Skip(r.Word());  // creation data
        dialog.items.push_back(item);
    }
    EXPECT_TRUE(r.ok()) << "template shorter than its fields";
    return dialog;
}

std::wstring VersionString(const std::vector<std::uint8_t>& block, const wchar_t* name) {
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    std::vector<std::uint8_t> copy = block;  // VerQueryValueW may write into the block
    wchar_t* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(copy.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
    return std::wstring(value, wcsnlen(value, length));
}

// The intended texts, written as UTF-16 code units so that no source encoding can garble them.
const std::wstring kAboutMenuItem = L"\x5173\x4E8E MorviCorvelConfig(&A)...";  // 关于 ...
const std::wstring kAboutCaption = L"\x5173\x4E8E MorviCorvelConfig";
const std::wstring kAboutVersion = L"MorviCorvelConfig\xFF0C" L"1.0 \x7248";  // ，1.0 版
const std::wstring kAboutCopyright = L"\x7248\x6743\x6240\x6709 (C) Morvi";  // 版权所有 (C) Morvi
const std::wstring kAboutOk = L"\x786E\x5B9A";                                   // 确定

TEST(ProgramResources, TheAboutStringAndTheAboutBoxHoldTheIntendedTexts) {
    ProgramResources program;
    ASSERT_NE(program.module(), nullptr) << "cannot load the program (MV_DIST_DIR)";
    EXPECT_EQ(program.String(101), kAboutMenuItem);

    const Dialog about = ReadDialogEx(program.Resource(RT_DIALOG, 100));
    EXPECT_EQ(about.caption, kAboutCaption);
    EXPECT_EQ(about.font, L"MS Shell Dlg");
    EXPECT_EQ(about.pointSize, 9);
    EXPECT_EQ(about.cx, 170);
    EXPECT_EQ(about.cy, 62);
    ASSERT_EQ(about.items.size(), 4u);
    EXPECT_EQ(about.items[0].windowClass, L"#130");  // static: the program icon
    EXPECT_EQ(about.items[0].text, L"#128");
    EXPECT_EQ(about.items[1].text, kAboutVersion);
    EXPECT_EQ(about.items[1].x, 42);
    EXPECT_EQ(about.items[1].y, 14);
    EXPECT_EQ(about.items[2].text, kAboutCopyright);
    EXPECT_EQ(about.items[2].y, 26);
    EXPECT_EQ(about.items[3].windowClass, L"#128");  // button
    EXPECT_EQ(about.items[3].text, kAboutOk);
    EXPECT_EQ(about.items[3].id, static_cast<std::uint32_t>(IDOK));
}

TEST(ProgramResources, TheVersionBlockNamesTheProgramInEnglish) {
    ProgramResources program;
    ASSERT_NE(program.module(), nullptr);
    const auto block = program.Resource(RT_VERSION, 1);
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(VersionString(block, L"ProductName"), L"Morvi Corvel Config");
    EXPECT_EQ(VersionString(block, L"FileDescription"), L"Morvi Corvel Config");
    EXPECT_EQ(VersionString(block, L"CompanyName"), L"Morvi");
    EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"MorviCorvelConfig.exe");
}

// The sizes of an icon group's frames (GRPICONDIR: reserved, type, count, then 14-byte
// entries whose first byte is the width, 0 meaning 256); empty when the group is malformed.
std::set<int> IconGroupSizes(const std::vector<std::uint8_t>& group) {
    std::set<int> sizes;
    if (group.size() < 6) return sizes;
    const std::size_t count = group[4] | group[5] << 8;
    if (group.size() < 6 + 14 * count) return {};
    for (std::size_t i = 0; i < count; ++i) {
        const int width = group[6 + 14 * i];
        sizes.insert(width == 0 ? 256 : width);
    }
    return sizes;
}

// The tray icon and the window's icons are loaded at the exact size Windows asks for: a frame
// for each small (16 at 100 %) and large (32) icon size at 100, 125, 150, 175 and 200 %.
TEST(ProgramResources, TheProgramIconHasAFrameForEverySmallAndLargeSizeUpTo200Percent) {
    ProgramResources program;
    ASSERT_NE(program.module(), nullptr);
    const std::set<int> sizes = IconGroupSizes(program.Resource(RT_GROUP_ICON, 128));
    ASSERT_FALSE(sizes.empty());
    for (const int percent : {100, 125, 150, 175, 200})
        for (const int base : {16, 32}) {
            const int size = base * percent / 100;
            EXPECT_TRUE(sizes.count(size)) << "no " << size << "-pixel frame for " << percent << " %";
        }
    EXPECT_TRUE(sizes.count(256));
}

}  // namespace
}  // namespace mv::wintest
