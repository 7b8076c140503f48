// The editor of what a gesture opens (code 25): a program, document or folder, typed
// or chosen with the standard Open dialog, or a web page address typed in. OK stores
// it in the record's path field; what does not fit is refused, never cut.
#pragma once

#include "settings/function_record.h"
#include "ui/editors/editor_dialog_win.h"

namespace mv {

class LaunchEditor : public EditorDialog {
public:
    enum class Kind { Program, WebPage };
    // Shows the record's path when it holds one of this kind (code 25).
    LaunchEditor(FunctionRecord& record, Kind kind);

    HWND edit() const { return edit_; }
    HWND browseButton() const { return browse_ ? browse_->GetSafeHwnd() : nullptr; }

protected:
    void BuildControls() override;
    bool Confirm() override;
    void OnButton(HWND from) override;
    HWND FirstFocus() const override { return edit_; }

private:
    void Browse();

    FunctionRecord& record_;
    Kind kind_;
    HWND edit_ = nullptr;
    EditorButton* browse_ = nullptr;
};

}  // namespace mv
