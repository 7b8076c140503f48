// TextCatalogue: every user-visible text, by its tc_ or btn_ key, read once
// from the language file beside the program.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "i18n/markup_doc.h"

namespace mv {

inline constexpr std::size_t kTextKeyCount = 117;
// The catalogue's keys, in catalogue order.
extern const std::array<std::string_view, kTextKeyCount> TextKeys;
// Keys added to the catalogue since, after those: a language file without them
// leaves their texts empty, as for any missing key.
inline constexpr std::size_t kAddedTextKeyCount = 113;
extern const std::array<std::string_view, kAddedTextKeyCount> AddedTextKeys;
inline constexpr std::size_t kAllTextKeyCount = kTextKeyCount + kAddedTextKeyCount;

// The key at a position over both lists (TextKeys, then AddedTextKeys); empty past the end.
std::string_view textKeyAt(std::size_t index);
// Position of a key over both lists; nullopt for an unknown key.
std::optional<std::size_t> textKeyIndex(std::string_view key);

// The text content of the first element named `key` in the first `section`
// element under the root, or in a section nested inside it.
std::u16string findSectionText(MarkupDoc& doc, std::u16string_view section, std::u16string_view key);

class TextCatalogue {
public:
    // Fills every key from the "config" section of a loaded document.
    void fill(MarkupDoc& doc);
    void clear();
    // The stored text; empty for a key the file did not supply or an unknown key.
    std::u16string text(std::string_view key) const;
    const std::u16string& text(std::size_t index) const { return texts_[index]; }

private:
    std::array<std::u16string, kAllTextKeyCount> texts_;
};

// The process-wide catalogue and its language document.
TextCatalogue& textCatalogue();
MarkupDoc& languageDocument();
// The largest language file read; a larger one counts as missing.
inline constexpr std::size_t kLanguageFileMaxBytes = 16u << 20;
// Loads the language document from `path` and fills the process-wide catalogue.
void loadTextCatalogue(const std::u16string& path);
// Shorthand for textCatalogue().text(key).
std::u16string tr(std::string_view key);

// The path of language.xml in the directory of the program at `modulePath`.
std::u16string languageFilePath(std::u16string_view modulePath);

}  // namespace mv
