// The user's settings in memory and in the registry: the records of all programs, the
// macros and their names, the profiles and the feedback choice, loaded at start and saved
// all or nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "base/geometry.h"
#include "settings/macro_book.h"
#include "settings/profiles.h"
#include "settings/registry_layout.h"
#include "settings/settings_images.h"

namespace mv {

struct Settings {
    ButtonSettingBlob allPrograms{};
    MacroStore macros{};
    MacroNames macroNames;
    ProfileSet profiles;
    bool feedback = false;
};

// What a save writes besides the records, the macros and their names.
struct SaveScope {
    bool profiles = true;   // the profiles, written in place; stored ones not in memory are removed
    bool feedback = false;  // the feedback choice
};

class SettingsStore {
public:
    explicit SettingsStore(RegistrySeam& registry) : registry_(registry) {}

    // Reads every stored value over `settings`. A shorter ButtonSetting or MacroSetting
    // replaces only the start of its image, a missing or oversized one leaves the image as
    // it was; missing names, profiles or feedback choice read as none and off.
    void Load(Settings& settings);
    // Writes the records and the macros in full, the names (none stored stays none), and
    // what `scope` adds. All or nothing: after a failed write every value written is put
    // back as it was, and false is returned.
    bool Save(const Settings& settings, SaveScope scope);
    // Writes the feedback choice alone; false (and nothing changed) when it failed.
    bool SaveFeedback(bool on);

    // Where the settings window was last; nothing when not stored, malformed, or farther than
    // any screen reaches (beyond kFarthestWindowPlace on either axis).
    std::optional<Point> LoadWindowPlace();
    // Writes it alone; false (and nothing changed) when it failed.
    bool SaveWindowPlace(Point topLeft);

    ProfileSet LoadProfiles();
    // WheelScrollLines of HKLM\Control Panel\Desktop as a number; 0 when missing or not a string.
    std::int32_t ReadWheelScrollLines();

private:
    std::optional<RegistryValue> read(const StoredValue& value);
    void loadImage(const StoredValue& value, std::uint8_t* image, std::size_t size);

    RegistrySeam& registry_;
};

inline constexpr std::int32_t kFarthestWindowPlace = 65536;

// The choice a stored feedback value makes: on only for a REG_DWORD 1.
bool FeedbackChosen(const std::optional<RegistryValue>& stored);

// The decimal value of the leading digits of a UTF-16LE registry string; 0 when there are none.
std::int32_t LeadingDecimal(const std::vector<std::uint8_t>& utf16le);

// The raw bytes of the records image.
std::uint8_t* BlobBytes(ButtonSettingBlob& blob);
const std::uint8_t* BlobBytes(const ButtonSettingBlob& blob);

}  // namespace mv
