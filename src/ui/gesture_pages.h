// The three gesture pages of the settings window, free of any window: which page
// and cell a slot has, where each tab draws its caption, and which gesture is
// selected after a page switch.
//
// The function button only ever edits a gesture whose tile is on screen: each page
// remembers the gesture last selected on it, and switching to a page selects that
// gesture again (the page's first gesture before any was selected there).
#pragma once

#include <array>
#include <cstdint>

#include "base/geometry.h"
#include "settings/function_record.h"

namespace mv {

inline constexpr int kPageCount = 3;

// Page 1 to 3 of a slot; 0 for a slot outside 0 to 16.
int PageOfSlot(int slot);
// The slot's position among the slots of its page, row by row (0 to 5).
int CellOfSlot(int slot);
int FirstSlotOfPage(int page);

// The caption rectangle of tab 1 to 3 when it is not the page shown.
Rect TabTextRect(int tab);
// The caption rectangle after a switch to `shownPage`: the shown page's tab one pixel higher.
Rect TabTextRectAfterSwitch(int tab, int shownPage);

class GesturePages {
public:
    int shownPage() const { return shownPage_; }
    int currentSlot() const { return currentSlot_; }

    // The user selected `slot` (ignored outside 0 to 16): it becomes the current slot
    // and the one its page remembers.
    void select(int slot);
    // Shows `page` (1 to 3; others are ignored) and returns the slot to select there.
    int switchTo(int page);

    bool slotShown(int slot) const { return PageOfSlot(slot) == shownPage_; }
    // The function button edits the current slot: only when the slot has a function
    // menu and its tile is on the page shown.
    bool functionButtonEnabled() const;

private:
    int shownPage_ = 1;
    int currentSlot_ = 0;
    std::array<int, kPageCount> remembered_{-1, -1, -1};
};

}  // namespace mv
