// The key-chord editor: the user presses the chord in its field (or adds a mouse
// button), sees it as text, and OK stores it in the record's chord bytes with code 19.
#pragma once

#include <functional>

#include "actions/key_chord.h"
#include "settings/function_record.h"
#include "ui/editors/editor_dialog_win.h"

namespace mv {

// The field that captures key presses; it draws the chord shown by its editor.
class ChordField : public fw::CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::function<void(HDC, const RECT&, bool)> paint;
    std::function<void()> focusLost;
    // The chord shown, as assistive technology reads the field's value.
    std::function<std::wstring()> shownText;
    std::wstring accessibleName;
};

class ChordEditor : public EditorDialog {
public:
    // Shows the record's chord when it holds one (code 19).
    explicit ChordEditor(FunctionRecord& record);

    HWND field() const { return field_.GetSafeHwnd(); }
    HWND mouseButton(int i) const { return mouse_[i] ? mouse_[i]->GetSafeHwnd() : nullptr; }
    HWND clearButton() const { return clear_ ? clear_->GetSafeHwnd() : nullptr; }
    KeyChord shownChord() const { return capture_.shown(); }

protected:
    void BuildControls() override;
    bool Confirm() override;
    void OnButton(HWND from) override;
    bool OnKeyMessage(MSG* msg) override;
    HWND FirstFocus() const override { return field_.GetSafeHwnd(); }

private:
    void PaintField(HDC dc, const RECT& client, bool focused);
    void Report(ChordCapture::Result result);

    FunctionRecord& record_;
    ChordCapture capture_;
    MouseButtonNames buttonNames_;
    ChordField field_;
    EditorButton* mouse_[3] = {};
    EditorButton* clear_ = nullptr;
};

// The side-specific code of a key message's key: left or right Shift, Ctrl and Alt
// are told apart by the scan code and the extended-key bit.
std::uint8_t KeyOfMessage(WPARAM vk, LPARAM lParam);

}  // namespace mv
