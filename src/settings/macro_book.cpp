#include "settings/macro_book.h"

#include <algorithm>

#include "base/bytes.h"
#include "base/text_fill.h"

namespace mv {

namespace {

std::uint8_t* StepBytes(MacroStore& store, std::size_t index, std::size_t step) {
    return store.entry(index) + MacroStore::kStepsOffset + MacroStore::kStepSize * step;
}

}  // namespace

MacroData ReadMacro(const MacroStore& store, std::size_t index) {
    MacroData macro;
    if (index >= MacroStore::kEntryCount) return macro;
    const MacroEntry entry = ReadMacroEntry(store, index);
    macro.repeat = entry.repeatFlag() != 0;
    macro.repeatCount = entry.repeatCount();
    const std::size_t count = entry.playableSteps();
    macro.steps.reserve(count);
    for (std::size_t i = 0; i < count; ++i) macro.steps.push_back(entry.step(i));
    return macro;
}

MacroWriteResult WriteMacro(MacroStore& store, std::size_t index, const MacroData& macro) {
    if (index >= MacroStore::kEntryCount) return MacroWriteResult::BadIndex;
    if (macro.steps.size() > MacroStore::kMaxSteps) return MacroWriteResult::TooManySteps;
    if (macro.repeat && macro.repeatCount < 1) return MacroWriteResult::BadRepeatCount;
    std::uint8_t* e = store.entry(index);
    writeLe32(e + MacroEntry::kRepeatFlagOffset, macro.repeat ? 1u : 0u);
    writeLe32(e + MacroEntry::kRepeatCountOffset, static_cast<std::uint32_t>(macro.repeatCount));
    writeLe16(e + MacroEntry::kStepCountOffset, static_cast<std::uint16_t>(macro.steps.size()));
    for (std::size_t i = 0; i < MacroStore::kMaxSteps; ++i) {
        std::uint8_t* s = StepBytes(store, index, i);
        const MacroStep step = i < macro.steps.size() ? macro.steps[i] : MacroStep{};
        s[0] = step.key;
        s[1] = step.up ? 1 : 0;
        writeLe32(s + 4, step.delayMs);
    }
    return MacroWriteResult::Written;
}

void ClearMacro(MacroStore& store, std::size_t index) {
    if (index >= MacroStore::kEntryCount) return;
    MacroData empty;
    empty.repeatCount = 0;
    WriteMacro(store, index, empty);
}

bool IsValidMacroName(const std::u16string& name) {
    if (name.empty() || name.size() > kMacroNameUnits) return false;
    return std::none_of(name.begin(), name.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
}

const std::u16string& MacroNames::name(std::size_t index) const {
    static const std::u16string none;
    return index < names_.size() ? names_[index] : none;
}

bool MacroNames::setName(std::size_t index, const std::u16string& name) {
    if (index >= names_.size()) return false;
    if (!name.empty() && !IsValidMacroName(name)) return false;
    names_[index] = name;
    return true;
}

std::vector<std::uint8_t> MacroNames::Serialize() const {
    std::vector<std::uint8_t> out;
    auto unit = [&out](char16_t c) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    };
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i].empty()) continue;
        for (const char16_t c : DecimalText(static_cast<long long>(i))) unit(c);
        unit(u'=');
        for (const char16_t c : names_[i]) unit(c);
        unit(0);
    }
    unit(0);  // the list's end
    return out;
}

std::size_t MacroNames::Parse(const std::vector<std::uint8_t>& multiSz) {
    names_ = {};
    std::size_t skipped = 0;
    std::array<bool, MacroStore::kEntryCount> taken{};
    std::u16string item;
    auto finish = [&]() {
        if (item.empty()) return;
        const std::size_t eq = item.find(u'=');
        std::size_t index = 0;
        bool digits = eq != std::u16string::npos && eq > 0 && eq <= 2;
        for (std::size_t i = 0; digits && i < eq; ++i) {
            if (item[i] < u'0' || item[i] > u'9') digits = false;
            else index = index * 10 + static_cast<std::size_t>(item[i] - u'0');
        }
        const std::u16string name = digits ? item.substr(eq + 1) : std::u16string();
        if (!digits || index >= names_.size() || taken[index] || !IsValidMacroName(name)) {
            ++skipped;
        } else {
            names_[index] = name;
            taken[index] = true;
        }
        item.clear();
    };
    for (std::size_t i = 0; i + 1 < multiSz.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(readLe16(&multiSz[i]));
        if (c == 0) finish();
        else item.push_back(c);
    }
    finish();  // a value without its terminator
    return skipped;
}

bool MacroInUse(const MacroStore& store, const MacroNames& names, std::size_t index) {
    if (index >= MacroStore::kEntryCount) return false;
    return ReadMacroEntry(store, index).stepCount() != 0 || !names.name(index).empty();
}

std::optional<std::size_t> FirstFreeMacro(const MacroStore& store, const MacroNames& names) {
    for (std::size_t i = 0; i < MacroStore::kEntryCount; ++i)
        if (!MacroInUse(store, names, i)) return i;
    return std::nullopt;
}

}  // namespace mv
