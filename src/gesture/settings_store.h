// Persistence of the function records and macros in the registry, with apply
// and restore-defaults.
#pragma once

#include <functional>

#include "gesture/macro_book.h"
#include "gesture/registry.h"
#include "gesture/settings_images.h"

namespace mv {

inline constexpr char16_t kButtonSettingKey[] = u"Software\\Morvi\\MVSET\\Corvel";
inline constexpr char16_t kButtonSettingValue[] = u"ButtonSetting";
inline constexpr char16_t kMacroSettingKey[] = u"Software\\Morvi\\MVSET\\MVMacro\\Corvel";
inline constexpr char16_t kMacroSettingValue[] = u"MacroSetting";
inline constexpr char16_t kDesktopKey[] = u"Control Panel\\Desktop";
inline constexpr char16_t kWheelScrollLinesValue[] = u"WheelScrollLines";

// The apply warning box: caption and text.
inline constexpr char16_t kApplyWarningCaption[] = u"Warning";
inline constexpr char16_t kApplyWarningText[] = u"       Error code: 0x68       ";

class SettingsStore {
public:
    SettingsStore(RegistrySeam& registry, ButtonSettingBlob& blob, MacroStore& macros)
        : registry_(registry), blob_(blob), macros_(macros) {}

    // The macros' names, loaded and saved with the macros from now on (a value of their
    // own beside MacroSetting).
    void SetMacroNames(MacroNames* names) { names_ = names; }

    // Reads both values over the images; a shorter value replaces only the start,
    // a missing or oversized one leaves the image as it was. The names, when set, are
    // read too; a missing names value leaves every name empty.
    void LoadSettings();
    // Writes both images in full, creating the keys when missing, and the names when
    // set. Failures are silent.
    void SaveSettings();
    // Sends the settings to the device; saves when that succeeds, otherwise shows the
    // warning, saves nothing and puts the records back as they were. True when saved.
    bool ApplySettings(const std::function<bool()>& sendDeviceSettings,
                       const std::function<void()>& showWarning);
    // Zeroes the records image, resets the defaults, saves (macros unchanged), sends
    // the device settings, stores the wheel-lines value and the restore mark, and
    // resets the system pointer speed and acceleration.
    void RestoreDefaults(const std::function<bool()>& sendDeviceSettings, PointerSettingsSeam& pointer);

private:
    void load(const char16_t* key, const char16_t* value, std::uint8_t* image, std::size_t size);
    void save(const char16_t* key, const char16_t* value, const std::uint8_t* image, std::size_t size);
    std::int32_t readWheelScrollLines();

    RegistrySeam& registry_;
    ButtonSettingBlob& blob_;
    MacroStore& macros_;
    MacroNames* names_ = nullptr;
};

// The decimal value of the leading digits of a UTF-16LE registry string; 0 when there are none.
std::int32_t LeadingDecimal(const std::vector<std::uint8_t>& utf16le);

// The raw bytes of the records image.
std::uint8_t* BlobBytes(ButtonSettingBlob& blob);
const std::uint8_t* BlobBytes(const ButtonSettingBlob& blob);

}  // namespace mv
