#include "ui/keyboard_model.h"

#include "ui/gesture_pages.h"

namespace mv {

namespace {
constexpr int kTilesPerRow = 3;

int TilesOnPage(int page) {
    int count = 0;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (PageOfSlot(slot) == page) ++count;
    return count;
}
}  // namespace

FocusStop NextFocusStop(FocusStop from, bool backwards, bool functionButtonEnabled) {
    const int count = static_cast<int>(kFocusStopCount);
    int stop = static_cast<int>(from);
    do {
        stop = (stop + (backwards ? count - 1 : 1)) % count;
    } while (!functionButtonEnabled && static_cast<FocusStop>(stop) == FocusStop::FunctionButton);
    return static_cast<FocusStop>(stop);
}

int TabAfterArrow(int page, Arrow arrow) {
    if (page < 1 || page > kPageCount) return 1;
    if (arrow == Arrow::Left) return page > 1 ? page - 1 : page;
    if (arrow == Arrow::Right) return page < kPageCount ? page + 1 : page;
    return page;
}

int PageAfterCtrlTab(int page, bool backwards) {
    if (page < 1 || page > kPageCount) return 1;
    return backwards ? (page + kPageCount - 2) % kPageCount + 1 : page % kPageCount + 1;
}

int TileAfterArrow(int slot, Arrow arrow) {
    const int page = PageOfSlot(slot);
    if (page == 0) return slot;
    const int first = FirstSlotOfPage(page);
    const int count = TilesOnPage(page);
    const int cell = slot - first;
    int target = cell;
    switch (arrow) {
        case Arrow::Left: target = cell > 0 ? cell - 1 : cell; break;
        case Arrow::Right: target = cell + 1 < count ? cell + 1 : cell; break;
        case Arrow::Up: target = cell >= kTilesPerRow ? cell - kTilesPerRow : cell; break;
        case Arrow::Down:
            if (cell / kTilesPerRow < (count - 1) / kTilesPerRow)
                target = cell + kTilesPerRow < count ? cell + kTilesPerRow : count - 1;
            break;
    }
    return first + target;
}

MenuKeys::Step MenuKeys::Press(Key key) {
    const int categories = static_cast<int>(entries_.size());
    if (categories == 0) return {key == Key::Escape ? Step::Kind::CloseMenu : Step::Kind::None, -1, -1};
    if (entry_ < 0) {
        const auto entries = entries_[static_cast<std::size_t>(category_)];
        switch (key) {
            case Key::Up: category_ = (category_ + categories - 1) % categories; break;
            case Key::Down: category_ = (category_ + 1) % categories; break;
            case Key::Right:
            case Key::Enter:
                if (entries == 0) return {};
                entry_ = 0;
                return {Step::Kind::OpenLevel, category_, entry_};
            case Key::Escape: return {Step::Kind::CloseMenu, category_, -1};
            case Key::Left: return {};
        }
        return {Step::Kind::Highlight, category_, -1};
    }
    const int entries = static_cast<int>(entries_[static_cast<std::size_t>(category_)]);
    switch (key) {
        case Key::Up: entry_ = (entry_ + entries - 1) % entries; break;
        case Key::Down: entry_ = (entry_ + 1) % entries; break;
        case Key::Left:
        case Key::Escape: entry_ = -1; return {Step::Kind::CloseLevel, category_, -1};
        case Key::Enter: return {Step::Kind::Pick, category_, entry_};
        case Key::Right: return {};
    }
    return {Step::Kind::Highlight, category_, entry_};
}

std::u16string NameWithoutAccessKey(const std::u16string& text) {
    std::u16string source = text;
    // "设置(&S)": the bracketed key is no part of the name.
    if (source.size() >= 4 && source.compare(source.size() - 4, 2, u"(&") == 0 && source.back() == u')' &&
        source[source.size() - 2] != u'&')
        source.erase(source.size() - 4);
    return WithoutAccessMarks(source);
}

std::u16string WithoutAccessMarks(const std::u16string& text) {
    std::u16string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == u'&') {
            shown += u'&';
            ++i;
        }
    }
    return shown;
}

char16_t AccessKeyOf(const std::u16string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        const char16_t key = text[i + 1];
        if (key == u'&') {
            ++i;
            continue;
        }
        return key >= u'a' && key <= u'z' ? static_cast<char16_t>(key - u'a' + u'A') : key;
    }
    return 0;
}

}  // namespace mv
