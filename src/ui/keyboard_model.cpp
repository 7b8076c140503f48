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

std::u16string DrawnCaption(const std::u16string& caption, bool showAccessKeys) {
    if (showAccessKeys) return caption;
    std::u16string source = caption;
    if (source.size() >= 4 && source.compare(source.size() - 4, 2, u"(&") == 0 && source.back() == u')' &&
        source[source.size() - 2] != u'&')
        source.erase(source.size() - 4);
    std::u16string drawn;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (source[i] != u'&') {
            drawn += source[i];
        } else if (i + 1 < source.size() && source[i + 1] == u'&') {
            drawn += u"&&";
            ++i;
        }
    }
    return drawn;
}

std::u16string MarkedCaption(const std::u16string& plain, const std::u16string& marked) {
    if (AccessKeyOf(marked) == 0 || DrawnCaption(marked, false) != plain) return plain;
    return marked;
}

namespace {
char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }
}  // namespace

int NextDialogStop(const std::vector<DialogStop>& stops, int from, bool backwards) {
    const int count = static_cast<int>(stops.size());
    if (count == 0) return -1;
    int at = from >= 0 && from < count ? from : (backwards ? 0 : count - 1);
    for (int step = 0; step < count; ++step) {
        at = (at + (backwards ? count - 1 : 1)) % count;
        if (stops[static_cast<std::size_t>(at)].available) return at;
    }
    return -1;
}

int DialogStopOfAccessKey(const std::vector<DialogStop>& stops, char16_t key, bool alt) {
    if (key == 0) return -1;
    if (!alt)
        for (const DialogStop& s : stops)
            if (s.kind == DialogControl::Text) return -1;
    for (std::size_t i = 0; i < stops.size(); ++i)
        if (stops[i].available && stops[i].accessKey != 0 && Upper(stops[i].accessKey) == Upper(key))
            return static_cast<int>(i);
    return -1;
}

int SliderPositionAfter(int position, int count, SliderKey key) {
    if (count <= 0) return 0;
    int to = position;
    switch (key) {
        case SliderKey::Left:
        case SliderKey::Down: to = position - 1; break;
        case SliderKey::Right:
        case SliderKey::Up: to = position + 1; break;
        case SliderKey::Home: to = 0; break;
        case SliderKey::End: to = count - 1; break;
        case SliderKey::PageDown: to = position - 3; break;
        case SliderKey::PageUp: to = position + 3; break;
    }
    return to < 0 ? 0 : to >= count ? count - 1 : to;
}

}  // namespace mv
