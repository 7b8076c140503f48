#include "gesture/function_names.h"

#include <utility>

namespace mv {

namespace {

constexpr std::pair<std::int32_t, std::string_view> kFunctionNames[] = {
    {2, "tc_function_doubleclick"}, {3, "tc_function_threeclick"}, {4, "tc_function_threeright"},
    {5, "tc_function_threeleft"}, {9, "tc_function_scrollup"}, {10, "tc_function_scrolldown"},
    {16, "tc_function_scrollleft"}, {17, "tc_function_scrollwright"}, {33, "tc_function_threeup"},
    {37, "tc_function_wcharmmenu"}, {64, "tc_cut"}, {65, "tc_copy"}, {66, "tc_past"}, {68, "tc_all"},
    {69, "tc_find"}, {70, "tc_new"}, {71, "tc_print"}, {72, "tc_save"}, {80, "tc_swap"}, {81, "tc_close"},
    {82, "tc_lock"}, {83, "tc_explor"}, {84, "tc_run"}, {85, "tc_function_threedown"},
    {88, "tc_function_fourup"}, {89, "tc_function_fourdown"}, {110, "tc_PL"}, {112, "tc_pre_media"},
    {113, "tc_next_media"}, {114, "tc_stop"}, {115, "tc_mute"}, {116, "tc_vol_up"}, {117, "tc_vol_dw"},
    {161, "tc_function_push"}, {162, "tc_function_largenarrow"}, {163, "tc_function_warechange"},
    {164, "tc_function_win8ware"},
    // Codes whose parameters come with the record (from an editor of the custom functions or a
    // stored setting): the button shows what the record holds, or these names when it holds nothing.
    {0, "tc_function_none"}, {19, "tc_function_keychord"}, {20, "tc_function_macro"}, {25, "tc_function_open"},
};

}  // namespace

std::string_view FunctionNameKey(std::int32_t actionCode) {
    for (const auto& [code, key] : kFunctionNames)
        if (code == actionCode) return key;
    return "tc_function_other";
}

}  // namespace mv
