// Every registry key and value the program reads or writes: where it lives, its type and
// its size. No other file spells a key path, a value name, a type or a size of a value.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "seams/registry.h"

namespace mv {

// Keys, below their root. The macro key is readable by administrators alone.
inline constexpr char16_t kCorvelKey[] = u"Software\\Morvi\\MVSET\\Corvel";
inline constexpr char16_t kMacroKey[] = u"Software\\Morvi\\MVSET\\MVMacro\\Corvel";
// One subkey per program, named by the program's file name, holding a profile.
inline constexpr char16_t kProfilesKey[] = u"Software\\Morvi\\MVSET\\Corvel\\Profiles";
// The user's own key, beside the machine's settings: what belongs to one user alone.
inline constexpr char16_t kCorvelUserKey[] = u"Software\\Morvi\\MVSET\\Corvel";
inline constexpr char16_t kDesktopKey[] = u"Control Panel\\Desktop";
inline constexpr char16_t kMouseKey[] = u"Control Panel\\Mouse";

// Every key of ours is opened with KEY_READ | KEY_WRITE.
inline constexpr std::uint32_t kKeyReadWrite = 0x2001F;

inline constexpr std::size_t kButtonSettingSize = 19488;
inline constexpr std::size_t kMacroSettingSize = 214004;
inline constexpr std::size_t kDwordSize = 4;
// Up to 100 strings "index=name" of at most 64 units each, and the list's end.
inline constexpr std::size_t kMacroNamesMaxSize = (100 * (4 + 64 + 1) + 1) * 2;
// Read buffers of the system's string values, terminator included.
inline constexpr std::size_t kWheelScrollLinesChars = 260;
inline constexpr std::size_t kMouseValueChars = 10;

// A value: its root and key (null for a value of each profile's subkey), name, type and the
// sizes accepted (a value is read with a buffer of maxSize bytes).
struct StoredValue {
    RegistryRoot root;
    const char16_t* key;
    const char16_t* name;
    std::uint32_t type;
    std::size_t minSize;
    std::size_t maxSize;
};

// The functions of the 17 gestures for all programs (the ButtonSettingBlob layout).
inline constexpr StoredValue kButtonSetting{RegistryRoot::LocalMachine, kCorvelKey, u"ButtonSetting", kRegBinary,
                                            kButtonSettingSize, kButtonSettingSize};
// The user's macros (the MacroStore layout).
inline constexpr StoredValue kMacroSetting{RegistryRoot::LocalMachine, kMacroKey, u"MacroSetting", kRegBinary,
                                           kMacroSettingSize, kMacroSettingSize};
// The macros' names: one string "index=name" per named macro.
inline constexpr StoredValue kMacroNames{RegistryRoot::LocalMachine, kMacroKey, u"MacroNames", kRegMultiSz, 0,
                                         kMacroNamesMaxSize};
// The gesture feedback's choice: 1 on; anything else, or nothing, off.
inline constexpr StoredValue kGestureFeedback{RegistryRoot::LocalMachine, kCorvelKey, u"GestureFeedback", kRegDword,
                                              kDwordSize, kDwordSize};
// In each profile's subkey: the records in the ButtonSettingBlob layout, and the gestures the
// profile overrides (bit n: slot n).
inline constexpr StoredValue kProfileImage{RegistryRoot::LocalMachine, nullptr, kButtonSetting.name, kRegBinary,
                                           kButtonSettingSize, kButtonSettingSize};
inline constexpr StoredValue kProfileOverrides{RegistryRoot::LocalMachine, nullptr, u"Overrides", kRegDword,
                                               kDwordSize, kDwordSize};
// Where the settings window was last, per user: its left and top edges in screen pixels, two
// little-endian signed 32-bit numbers. Not part of a settings backup.
inline constexpr std::size_t kWindowPlaceSize = 8;
inline constexpr StoredValue kWindowPlace{RegistryRoot::CurrentUser, kCorvelUserKey, u"WindowPlace", kRegBinary,
                                          kWindowPlaceSize, kWindowPlaceSize};
// The system's values the program reads: the wheel's lines (noted by a restore) and the
// pointer's speed and acceleration (shown by the pointer dialog).
inline constexpr StoredValue kWheelScrollLines{RegistryRoot::LocalMachine, kDesktopKey, u"WheelScrollLines", kRegSz, 0,
                                               kWheelScrollLinesChars * 2};
inline constexpr StoredValue kMouseSensitivity{RegistryRoot::CurrentUser, kMouseKey, u"MouseSensitivity", kRegSz, 0,
                                               kMouseValueChars * 2};
inline constexpr StoredValue kMouseSpeed{RegistryRoot::CurrentUser, kMouseKey, u"MouseSpeed", kRegSz, 0,
                                         kMouseValueChars * 2};

// The values a settings backup holds besides the profiles, in the order of the file.
inline constexpr std::array<const StoredValue*, 4> kBackupValues{&kButtonSetting, &kMacroSetting, &kMacroNames,
                                                                &kGestureFeedback};

}  // namespace mv
