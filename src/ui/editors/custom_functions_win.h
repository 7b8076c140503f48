// Opening the editor of a custom function for one gesture's record: the settings
// window calls this when the user picks an entry of the custom-functions category.
#pragma once

#include <windows.h>

#include <string>

#include "settings/function_record.h"
#include "settings/macro_book.h"
#include "ui/bmp_menu_model.h"

namespace mv {

struct CustomFunctionData {
    MacroStore* macros = nullptr;
    MacroNames* names = nullptr;
    std::wstring programDirectory;  // empty: the executable's directory
};

// Runs the editor modally over `owner`; true when the user confirmed and the record
// (and, for a macro, the macros and names) now hold the function. Cancel leaves all as it was.
bool EditCustomFunction(CustomFunction function, HWND owner, FunctionRecord& record, const CustomFunctionData& data);

}  // namespace mv
