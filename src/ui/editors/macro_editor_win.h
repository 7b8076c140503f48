// The macro editor: the stored macros by name (new, delete, rename), recording keys
// and mouse buttons with the pauses between them until the user stops, the steps
// (delete one, change a delay), the repeat flag and count; OK writes the macros back
// and assigns the chosen one to the gesture (code 20 and its index).
#pragma once

#include <functional>
#include <memory>

#include "actions/macro_recorder.h"
#include "settings/function_record.h"
#include "settings/macro_book.h"
#include "ui/editors/editor_dialog_win.h"
#include "ui/macro_editor_model.h"

namespace mv {

// Where a recording goes: it takes the keyboard and the mouse buttons pressed over it.
class RecordPad : public fw::CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::function<void(std::uint8_t key, bool up, DWORD time)> onButton;
    std::function<void()> focusLost;
    std::function<void(HDC, const RECT&)> paint;
    std::wstring accessibleName;
};

class MacroEditor : public EditorDialog {
public:
    MacroEditor(FunctionRecord& record, MacroStore& store, MacroNames& names);

    HWND macroList() const { return list_; }
    HWND nameEdit() const { return name_; }
    HWND stepList() const { return steps_; }
    HWND delayEdit() const { return delay_; }
    HWND countEdit() const { return count_; }
    HWND pad() const { return pad_.GetSafeHwnd(); }
    HWND button(const char* key) const;  // by its caption key: "tc_macro_new", "tc_macro_start", ...
    HWND repeatBox() const;
    bool recording() const { return recorder_.recording(); }
    const MacroEditorModel& model() const { return *model_; }

protected:
    void BuildControls() override;
    bool Confirm() override;
    void OnButton(HWND from) override;
    void OnControl(int id, int code) override;
    bool OnKeyMessage(MSG* msg) override;
    HWND FirstFocus() const override { return list_; }

private:
    void RefreshList();
    void RefreshCurrent();
    void RefreshSteps(int selectStep);
    void Say(MacroEditorModel::Error error);
    void StartRecording();
    void StopRecording();
    bool ApplyPendingEdits();
    int SelectedStep() const;

    FunctionRecord& record_;
    MacroStore& store_;
    MacroNames& names_;
    std::unique_ptr<MacroEditorModel> model_;
    MacroRecorder recorder_;
    MouseButtonNames buttonNames_;
    HWND list_ = nullptr, name_ = nullptr, steps_ = nullptr, delay_ = nullptr, count_ = nullptr;
    HWND stepsLabel_ = nullptr, status_ = nullptr;
    RecordPad pad_;
    struct Named {
        const char* key;
        EditorButton* button;
    };
    std::vector<Named> buttons_;
    EditorButton* repeat_ = nullptr;
};

}  // namespace mv
