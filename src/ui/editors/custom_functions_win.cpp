#include "ui/editors/custom_functions_win.h"

#include <memory>

#include "ui/editors/chord_editor_win.h"
#include "ui/editors/launch_editor_win.h"
#include "ui/editors/macro_editor_win.h"

namespace mv {

bool EditCustomFunction(CustomFunction function, HWND owner, FunctionRecord& record, const CustomFunctionData& data) {
    std::unique_ptr<EditorDialog> editor;
    switch (function) {
        case CustomFunction::KeyChord: editor = std::make_unique<ChordEditor>(record); break;
        case CustomFunction::Program:
            editor = std::make_unique<LaunchEditor>(record, LaunchEditor::Kind::Program);
            break;
        case CustomFunction::WebPage:
            editor = std::make_unique<LaunchEditor>(record, LaunchEditor::Kind::WebPage);
            break;
        case CustomFunction::Macro:
            if (!data.macros || !data.names) return false;
            editor = std::make_unique<MacroEditor>(record, *data.macros, *data.names);
            break;
    }
    if (!data.programDirectory.empty()) editor->SetProgramDirectory(data.programDirectory);
    return editor->DoModal(owner) == IDOK;
}

}  // namespace mv
