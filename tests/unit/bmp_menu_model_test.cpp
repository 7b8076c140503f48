// The function menus without windows: entry records and texts, the menu tree with
// the messages a pick produces, level geometry, and the first level's hover rules.
#include <gtest/gtest.h>

#include "ui/bmp_menu_model.h"
#include "ui/layout.h"

namespace mv {
namespace {

std::u16string KeyText(std::string_view key) { return std::u16string(key.begin(), key.end()); }

TEST(BmpMenuModel, TextsAreCutAt259UnitsAndTerminated) {
    tagBMPMENUINFO entry;
    SetMenuText(entry, std::u16string(400, u'x'));
    EXPECT_EQ(MenuText(entry).size(), 259u);
    EXPECT_EQ(entry.text[259], 0);
    // A surrogate pair across the limit is dropped whole.
    std::u16string text(258, u'y');
    text += u"\U0001F600";
    SetMenuText(entry, text);
    EXPECT_EQ(MenuText(entry), std::u16string(258, u'y'));
    SetMenuText(entry, u"short");
    EXPECT_EQ(MenuText(entry), u"short");
}

TEST(BmpMenuModel, ItemsCreateTheSubListOnFirstUseAndBadIndicesAreIgnored) {
    BmpMenuModel model;
    model.AddCategory(u"a", 7);
    model.AddCategory(u"b", 8);
    EXPECT_FALSE(model.category(0).hasSubmenu);
    EXPECT_EQ(model.items(0), nullptr);
    model.AddItem(0, u"one", 64);
    model.AddItem(0, u"two", 65);
    model.AddItem(5, u"lost", 66);
    model.AddItem(-1, u"lost", 66);
    EXPECT_TRUE(model.category(0).hasSubmenu);
    EXPECT_FALSE(model.category(1).hasSubmenu);
    ASSERT_EQ(model.itemCount(0), 2u);
    EXPECT_EQ(MenuText((*model.items(0))[1]), u"two");
    EXPECT_EQ((*model.items(0))[1].id, 65);
    EXPECT_EQ(model.itemCount(1), 0u);
    EXPECT_EQ(model.itemCount(9), 0u);
}

TEST(FunctionMenu, TreeFillsSixCategoriesAndPickingVolumeUpGivesItsMessages) {
    BmpMenuModel model;
    FillFunctionMenu(model, KeyText);
    ASSERT_EQ(model.size(), 6u);
    const std::int32_t ids[] = {177, 181, 179, 180, 178, 182};
    const std::size_t counts[] = {12, 6, 5, 7, 5, 4};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(model.category(i).id, ids[i]);
        EXPECT_EQ(model.itemCount(i), counts[i]);
    }
    EXPECT_EQ(MenuText(model.category(3)), u"tc_media_fun");
    const tagBMPMENUINFO& volumeUp = (*model.items(3))[4];
    EXPECT_EQ(MenuText(volumeUp), u"tc_vol_up");
    EXPECT_EQ(volumeUp.id, 116);
    const std::uint32_t wParam = SubmenuPickWParam(3, 4);
    EXPECT_EQ(wParam, (3u << 16) | 4u);
    EXPECT_EQ(FunctionChosenLParam(model.category(wParam >> 16).id, volumeUp.id), (180u << 16) | 116u);
    EXPECT_EQ(MenuText((*model.items(0))[8]), u"tc_function_threeleft");
    EXPECT_EQ((*model.items(0))[8].id, 5);

    // The custom functions: key chord, program or file, web page, macro. The web page's
    // entry is told from the program's by the high byte of its code.
    const std::pair<const char16_t*, std::int32_t> custom[] = {
        {u"tc_combo_tittle", 19}, {u"tc_custom_program", 25}, {u"tc_custom_web", 0x119}, {u"tc_mac_def", 20}};
    EXPECT_EQ(MenuText(model.category(5)), u"tc_custom_fun");
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(MenuText((*model.items(5))[j]), custom[j].first);
        EXPECT_EQ((*model.items(5))[j].id, custom[j].second);
    }
    EXPECT_EQ(FunctionChosenLParam(182, 0x119), (182u << 16) | 0x119u);
}

TEST(FunctionMenu, ChoicesOfTheCustomCategoryNameTheirEditors) {
    BmpMenuModel model;
    FillFunctionMenu(model, KeyText);
    // Each entry's pick, as the first level passes it on, names its editor.
    const CustomFunction editors[] = {CustomFunction::KeyChord, CustomFunction::Program, CustomFunction::WebPage,
                                      CustomFunction::Macro};
    for (std::size_t j = 0; j < 4; ++j) {
        const std::uint32_t choice =
            FunctionChosenLParam(model.category(5).id, static_cast<std::uint32_t>((*model.items(5))[j].id));
        EXPECT_TRUE(IsCustomChoice(choice)) << j;
        EXPECT_EQ(CustomFunctionOfChoice(choice), editors[j]) << j;
    }
    // The same codes under another category are plain functions; an entry the category
    // does not have names no editor, yet is still the category's (and so stores nothing).
    for (std::int32_t code : {19, 20, 25, 0x119}) {
        EXPECT_FALSE(IsCustomChoice(FunctionChosenLParam(178, code))) << code;
        EXPECT_EQ(CustomFunctionOfChoice(FunctionChosenLParam(178, code)), std::nullopt) << code;
    }
    for (std::int32_t code : {0, 18, 21, 0x219, 0x1FF}) {
        EXPECT_TRUE(IsCustomChoice(FunctionChosenLParam(182, code))) << code;
        EXPECT_EQ(CustomFunctionOfChoice(FunctionChosenLParam(182, code)), std::nullopt) << code;
    }
}

TEST(FunctionMenu, EntryGeometryAndLevelHeights) {
    EXPECT_EQ(MenuEntryRect(0, 17, 120), (Rect{0, 0, 120, 17}));
    EXPECT_EQ(MenuEntryRect(4, 17, 120), (Rect{0, 72, 120, 89}));
    EXPECT_EQ(MenuLevelHeight(5, 17, 0), 90);
    EXPECT_EQ(MenuLevelHeight(7, 17, 0), 126);  // the media second level
    EXPECT_EQ(MenuLevelHeight(12, 17, 0), 216);
}

class MenuHover : public ::testing::Test {
protected:
    // Five categories of a first level at (100, 200), 120 wide, all with functions.
    void SetUp() override {
        for (int i = 0; i < 5; ++i) {
            MenuHoverEntry e;
            e.hasButton = true;
            e.hasSubmenu = true;
            e.button = {100, 200 + 18 * i, 220, 200 + 18 * i + 17};
            entries.push_back(e);
        }
    }
    std::vector<MenuHoverAction> Move(int x, int y) { return MenuHoverStep(entries, open, submenu, {x, y}); }
    std::vector<MenuHoverEntry> entries;
    std::int32_t open = -1;
    Rect submenu;
};

TEST_F(MenuHover, RestingOnACategoryOpensItsSecondLevelOnce) {
    EXPECT_EQ(Move(150, 200 + 18 * 3 + 5), (std::vector<MenuHoverAction>{{MenuHoverAction::Open, 3}}));
    EXPECT_EQ(open, 3);
    EXPECT_TRUE(entries[3].submenuOpen);
    submenu = {220, 254, 360, 380};
    EXPECT_TRUE(Move(151, 200 + 18 * 3 + 6).empty());
    EXPECT_EQ(open, 3);
}

TEST_F(MenuHover, MovingToTheNextCategoryClosesTheFirstBeforeOpening) {
    Move(150, 205);
    submenu = {220, 200, 360, 416};
    EXPECT_EQ(Move(150, 223),
              (std::vector<MenuHoverAction>{{MenuHoverAction::Close, 0}, {MenuHoverAction::Open, 1}}));
    EXPECT_FALSE(entries[0].submenuOpen);
    EXPECT_TRUE(entries[1].submenuOpen);
    EXPECT_EQ(open, 1);
}

TEST_F(MenuHover, TheOpenSecondLevelKeepsItselfOpenAndTheBackgroundClosesIt) {
    Move(150, 205);
    submenu = {220, 200, 360, 416};
    EXPECT_TRUE(Move(300, 300).empty()) << "pointer on the second level";
    EXPECT_EQ(open, 0);
    EXPECT_EQ(Move(50, 300), (std::vector<MenuHoverAction>{{MenuHoverAction::Close, 0}}));
    EXPECT_EQ(open, -1);
    EXPECT_FALSE(entries[0].submenuOpen);
    EXPECT_TRUE(Move(50, 301).empty());
}

TEST_F(MenuHover, CategoriesWithoutFunctionsOrButtonsOpenNothing) {
    entries[2].hasSubmenu = false;
    Move(150, 205);
    submenu = {220, 200, 360, 416};
    // Onto the empty category: the open level closes and nothing opens.
    EXPECT_EQ(Move(150, 200 + 36 + 3), (std::vector<MenuHoverAction>{{MenuHoverAction::Close, 0}}));
    EXPECT_EQ(open, -1);
    entries[4].hasButton = false;
    EXPECT_TRUE(Move(150, 200 + 72 + 3).empty());
    // The 1-pixel gap between entries belongs to no button.
    EXPECT_TRUE(Move(150, 200 + 17).empty());
}

TEST(FunctionMenu, SecondLevelNearTheRightEdgeOpensToTheLeft) {
    SubmenuGeometry g;
    g.menu = {1100, 300};
    g.menuWidth = 120;
    g.subWidth = 140;
    g.subHeight = 215;
    g.itemHeight = 17;
    g.workArea.right = 1280;
    g.workArea.bottom = 994;
    EXPECT_EQ(PlaceSubmenu(g, 3, 7), (Point{980, 300 + 17 * 3}));
    g.menu = {41, 500};
    EXPECT_EQ(PlaceSubmenu(g, 3, 7), (Point{161, 500 + 18 * 3}));
}

}  // namespace
}  // namespace mv
