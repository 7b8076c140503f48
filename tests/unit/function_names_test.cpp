// The names of the functions on the settings window's function button.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "i18n/text_catalogue.h"
#include "ui/bmp_menu_model.h"
#include "gesture/function_names.h"

namespace mv {
namespace {

TEST(FunctionNames, EveryMenuEntryAndSlotDefaultHasItsOwnName) {
    // The menus name each function by the key the name table gives it; the custom
    // functions' entries open an editor, and the button then shows what the record holds.
    std::set<std::string_view> keys;
    for (const FunctionMenuCategory& category : FunctionMenuTree())
        for (const FunctionMenuEntry& entry : category.entries) {
            if (category.id == kCustomCategoryId) continue;
            EXPECT_EQ(FunctionNameKey(entry.code), entry.key) << entry.code;
            keys.insert(entry.key);
        }
    EXPECT_EQ(FunctionNameKey(161), "tc_function_push");
    EXPECT_EQ(FunctionNameKey(162), "tc_function_largenarrow");
    EXPECT_EQ(keys.size(), 35u);
}

TEST(FunctionNames, StoredOnlyCodesAndUnknownCodesHaveNamesToo) {
    EXPECT_EQ(FunctionNameKey(19), "tc_function_keychord");
    EXPECT_EQ(FunctionNameKey(20), "tc_function_macro");
    EXPECT_EQ(FunctionNameKey(25), "tc_function_open");
    EXPECT_EQ(FunctionNameKey(0), "tc_function_none");
    for (int code : {1, 18, 35, 73, 165, 255, 4096, -1}) EXPECT_EQ(FunctionNameKey(code), "tc_function_other") << code;
    // Every name is a key of the catalogue, so a language file can supply it.
    for (int code = -2; code < 300; ++code)
        EXPECT_TRUE(textKeyIndex(FunctionNameKey(code)).has_value()) << code;
}

}  // namespace
}  // namespace mv
