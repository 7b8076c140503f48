// The common frame of the custom-function editors: a skinned dialog with the dialogs'
// look (header with title and close button, white card, OK and cancel), fields and lists
// placed over the frames its sheets draw, a line for messages, and a modal run over the
// settings window. Tab moves between the fields and buttons, Enter is OK, Escape is cancel.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/text_fill.h"
#include "framework/wnd.h"
#include "ui/bitmap_btn_win.h"
#include "ui/dialog_captions.h"
#include "ui/skin_draw_win.h"
#include "ui/skinned_dialog_win.h"

namespace mv {

// A skinned button of an editor: a stop of the keyboard, its focus framed once keys are used.
class EditorButton : public CBitmapBtn {};

// A system control (an edit, a list, a field of the editor's own) as assistive technology
// reads it: the name of the label beside it, its role, and its text or selected row as value.
class NamedControl : public fw::CWnd {
public:
    NamedControl(std::u16string name, long role) : name_(std::move(name)), role_(role) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::u16string name_;
    long role_;
};

class EditorDialog : public CSkinnedDialog {
public:
    // `sheetName`: the sheets are skins\editor_<sheetName>_normal.png, _over and _down.
    EditorDialog(const wchar_t* sheetName, std::u16string title);
    ~EditorDialog() override;

    // Creates the dialog over `owner`, disables the owner and runs until OK or cancel;
    // IDOK or IDCANCEL. The dialog is destroyed before it returns.
    int DoModal(HWND owner);
    // Creates and shows it without a modal loop (tests drive it with their own pump).
    bool CreateShown(HWND owner);

    HWND okButton() const { return ok_.GetSafeHwnd(); }
    HWND cancelButton() const { return cancel_.GetSafeHwnd(); }
    HWND closeButton() const { return close_.GetSafeHwnd(); }
    HWND messageLine() const { return message_; }
    // The text of the message line (empty when nothing is said).
    std::wstring messageText() const;
    bool ended() const { return ended_; }
    int result() const { return result_; }

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

protected:
    // The editor's own controls, created after the frame.
    virtual void BuildControls() = 0;
    // OK: true when the editor stored what it shows and may close; false keeps it open
    // (it has said why on the message line).
    virtual bool Confirm() = 0;
    void OnOk() override;
    void OnCancel() override { End(IDCANCEL); }
    bool MovesFrom(int y) const override;
    // A click on one of the editor's own buttons.
    virtual void OnButton(HWND) {}
    // A notification from an edit or list (WM_COMMAND with its control id).
    virtual void OnControl(int /*id*/, int /*code*/) {}
    // Keys for a control that handles them itself, before the dialog's navigation.
    virtual bool OnKeyMessage(MSG*) { return false; }
    // The first control to have the focus.
    virtual HWND FirstFocus() const { return nullptr; }

    // The controls' rectangles are given at 96 DPI; each is made at its place for dpi() and
    // kept there when the dialog's DPI changes.
    EditorButton& AddButton(const RECT& rect, const std::u16string& caption, UINT id = 0);
    // A button whose caption has an access key (dialog_captions.h).
    EditorButton& AddButton(const RECT& rect, const CaptionKeys& caption, UINT id = 0);
    // A label in the card's colours; `message` labels are red.
    HWND AddLabel(const RECT& rect, const std::u16string& text, bool message = false);
    // An edit inside the frame drawn at `frame`.
    // Both are stops of the keyboard, named `name` for assistive technology.
    HWND AddEdit(const RECT& frame, UINT id, const std::u16string& name, DWORD style = 0);
    HWND AddList(const RECT& frame, UINT id, const std::u16string& name);
    // A window of the editor's own named for assistive technology (it answers nothing itself).
    void Name(HWND window, const std::u16string& name, long role);
    // A window of the editor's own, made at Scaled(rect96), laid out with the others.
    void Track(HWND window, const RECT& rect96);
    void LayOut() override;
    void ShowMessage(const std::u16string& text);
    void ClearMessage() { ShowMessage(u""); }
    void End(int result);

    const SkinSheets& sheets() const { return sheets_; }
    HFONT font() const { return font_; }
    std::wstring directory() const { return programDirectory_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct Placed {
        HWND window;
        RECT rect96;
        EditorButton* button;  // skinned from the sheets at rect96; null for the system controls
    };
    void MakeFont();
    RECT TitleRect() const;
    RECT CloseRect() const;

    std::wstring sheetName_;
    std::u16string title_;
    std::vector<Placed> placed_;
    HFONT font_ = nullptr;
    HBRUSH cardBrush_ = nullptr;
    CBitmapBtn titleLabel_;
    EditorButton close_, ok_, cancel_;
    HWND message_ = nullptr;
    std::vector<std::unique_ptr<EditorButton>> buttons_;
    std::vector<std::unique_ptr<NamedControl>> named_;
    int width_ = 0;
    int height_ = 0;
    bool ended_ = false;
    int result_ = IDCANCEL;
};

// The text of a window (an edit) as UTF-16.
std::u16string WindowTextOf(HWND window);

}  // namespace mv
