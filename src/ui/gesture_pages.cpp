#include "ui/gesture_pages.h"

#include "gesture/slot_catalogue.h"

namespace mv {

namespace {
constexpr Rect kTabText[kPageCount] = {{30, 10, 90, 30}, {30, 10, 110, 30}, {30, 10, 90, 30}};

bool ValidSlot(int slot) { return slot >= 0 && slot < static_cast<int>(kSlotCount); }
bool ValidPage(int page) { return page >= 1 && page <= kPageCount; }
}  // namespace

int PageOfSlot(int slot) {
    return ValidSlot(slot) ? static_cast<int>(SlotCatalogue[static_cast<std::size_t>(slot)].page) + 1 : 0;
}

int CellOfSlot(int slot) {
    if (!ValidSlot(slot)) return 0;
    int first = slot;
    while (first > 0 && PageOfSlot(first - 1) == PageOfSlot(slot)) --first;
    return slot - first;
}

int FirstSlotOfPage(int page) {
    for (int slot = 0; ValidSlot(slot); ++slot)
        if (PageOfSlot(slot) == page) return slot;
    return 0;
}

Rect TabTextRect(int tab) { return ValidPage(tab) ? kTabText[tab - 1] : Rect{}; }

Rect TabTextRectAfterSwitch(int tab, int shownPage) {
    Rect r = TabTextRect(tab);
    if (tab == shownPage) {
        --r.top;
        --r.bottom;
    }
    return r;
}

void GesturePages::select(int slot) {
    if (!ValidSlot(slot)) return;
    currentSlot_ = slot;
    remembered_[static_cast<std::size_t>(PageOfSlot(slot) - 1)] = slot;
}

int GesturePages::switchTo(int page) {
    if (!ValidPage(page)) return currentSlot_;
    shownPage_ = page;
    const int remembered = remembered_[static_cast<std::size_t>(page - 1)];
    return remembered >= 0 ? remembered : FirstSlotOfPage(page);
}

bool GesturePages::functionButtonEnabled() const {
    return slotShown(currentSlot_) && SlotCatalogue[static_cast<std::size_t>(currentSlot_)].hasMenu;
}

}  // namespace mv
