// The settings window from the keyboard, free of any window: the order of the tab stops,
// the arrows among the tabs and among the gesture tiles, and the function menu's keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mv {

// The stops Tab and Shift+Tab move through, in order. The tabs are one stop and the tiles
// are one stop: the arrow keys move within them.
enum class FocusStop : std::uint8_t {
    Tabs,
    Tiles,
    FunctionButton,
    PointerSpeed,
    ProfileSelector,
    RestoreDefaults,
    Apply,
};
inline constexpr std::size_t kFocusStopCount = 7;

// The next stop after `from` (the previous one with Shift), wrapping round. A stop that
// cannot take the focus now (the function button of a gesture without a menu) is passed.
FocusStop NextFocusStop(FocusStop from, bool backwards, bool functionButtonEnabled);

enum class Arrow : std::uint8_t { Left, Right, Up, Down };

// The tab after an arrow on tab `page` (1 to 3): Left and Right move, stopping at the ends;
// Up and Down do nothing.
int TabAfterArrow(int page, Arrow arrow);
// The page Ctrl+Tab (Ctrl+Shift+Tab) shows after `page`, wrapping round.
int PageAfterCtrlTab(int page, bool backwards);
// The gesture after an arrow on tile `slot`: the tiles of a page stand in rows of three;
// Left and Right move along the page's tiles, Up and Down a row up or down (to the last
// tile of a shorter row); at the edges nothing moves.
int TileAfterArrow(int slot, Arrow arrow);

// The function menu driven by keys: a first level of categories, and the open category's
// second level. Opened from the keyboard its first category is highlighted; Up and Down move
// (wrapping round), Right or Enter open the second level on its first entry, Left or Escape
// go back, Enter on an entry picks it, Escape on the first level closes the menu.
class MenuKeys {
public:
    enum class Key : std::uint8_t { Up, Down, Left, Right, Enter, Escape };
    struct Step {
        enum class Kind : std::uint8_t {
            None,        // the key does nothing here
            Highlight,   // the highlight moved (category, entry as below)
            OpenLevel,   // the second level of `category` opens, its first entry highlighted
            CloseLevel,  // the second level closes; `category` stays highlighted
            Pick,        // entry `entry` of `category` is chosen
            CloseMenu,   // the menu closes with nothing chosen
        } kind = Kind::None;
        int category = -1;
        int entry = -1;  // -1: the first level is the one that moves
        friend bool operator==(const Step&, const Step&) = default;
    };

    // The number of entries of each category (0: a category without a second level).
    explicit MenuKeys(std::vector<std::size_t> entries) : entries_(std::move(entries)) {}

    Step Press(Key key);
    int category() const { return category_; }
    int entry() const { return entry_; }
    bool secondLevelOpen() const { return entry_ >= 0; }

private:
    std::vector<std::size_t> entries_;
    int category_ = 0;
    int entry_ = -1;
};

// Access keys. A text marks its key with "&" before it ("&Apply", Chinese "应用(&A)"); "&&"
// stands for one "&". The name spoken for such a text has no marks, and a bracketed key of
// the "(&A)" style at its end goes too.
std::u16string NameWithoutAccessKey(const std::u16string& text);
// The text as drawn without its marks ("&&" as "&"); a bracketed key stays.
std::u16string WithoutAccessMarks(const std::u16string& text);
// The marked key, upper case for a Latin letter; 0 when the text marks none.
char16_t AccessKeyOf(const std::u16string& text);

// A caption with an access key as a button draws it (DrawText, which takes "&" as a mark):
// with the keyboard's cues as it is written; without them as the text would be without a key
// (single marks and a bracketed "(&A)" gone, "&&" kept), so a pointer user sees the same pixels.
std::u16string DrawnCaption(const std::u16string& caption, bool showAccessKeys);
// The caption a button takes: `marked` (the same text with its access key, from a key of its
// own) when it marks a key and draws without cues exactly as `plain`; else `plain`, so that a
// language file whose two texts disagree, or lacks the marked one, changes nothing.
std::u16string MarkedCaption(const std::u16string& plain, const std::u16string& marked);

// The controls of a skinned dialog for the keyboard, in their Tab order.
enum class DialogControl : std::uint8_t {
    Button,  // presses on Space, Enter and its access key
    Toggle,  // a check box: Space and its access key switch it; Enter is the default button's
    Slider,  // the arrows, Home and End move it; Enter is the default button's
    Text,    // an edit, a list or a field of keys: it takes the characters typed
};
struct DialogStop {
    DialogControl kind = DialogControl::Button;
    char16_t accessKey = 0;  // AccessKeyOf its caption
    bool available = true;   // visible and enabled
};
// The stop after `from` (-1: none focused) for Tab, or before it for Shift+Tab, wrapping round
// and passing the stops that are not available; -1 when none is.
int NextDialogStop(const std::vector<DialogStop>& stops, int from, bool backwards);
// The available stop whose access key is `key` (any case): with Alt always, a plain key only in
// a dialog without a Text stop (where typing goes nowhere else); -1 when none.
int DialogStopOfAccessKey(const std::vector<DialogStop>& stops, char16_t key, bool alt);

// A slider's keys: the position after one of them on a slider of `count` positions.
enum class SliderKey : std::uint8_t { Left, Right, Up, Down, Home, End, PageUp, PageDown };
int SliderPositionAfter(int position, int count, SliderKey key);

}  // namespace mv
