// The registry and the system pointer settings, as the settings store uses them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mv {

enum class RegistryRoot : std::uint8_t { LocalMachine, CurrentUser };
using RegistryKey = std::uintptr_t;  // an HKEY as an integer; 0 is none

// Value types (REG_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ).
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

inline constexpr std::size_t kWholeValue = static_cast<std::size_t>(-1);

struct RegistryValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

class RegistrySeam {
public:
    virtual ~RegistrySeam() = default;
    // RegOpenKeyExW; 0 when the key cannot be opened.
    virtual RegistryKey openKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) = 0;
    // RegCreateKeyExW, non-volatile; 0 on failure.
    virtual RegistryKey createKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) = 0;
    // RegQueryValueExW with a buffer of `capacity` bytes: nothing when the value is
    // missing or larger than the buffer. kWholeValue reads a value of any size.
    virtual std::optional<RegistryValue> queryValue(RegistryKey key, const std::u16string& name,
                                                    std::size_t capacity) = 0;
    virtual bool setValue(RegistryKey key, const std::u16string& name, std::uint32_t type,
                          const std::uint8_t* data, std::size_t size) = 0;
    // RegDeleteValueW. True when the value is gone (or was never there).
    virtual bool deleteValue(RegistryKey key, const std::u16string& name) = 0;
    virtual void closeKey(RegistryKey key) = 0;
    // The names of the key's direct subkeys (RegEnumKeyExW).
    virtual std::vector<std::u16string> subkeyNames(RegistryKey key) = 0;
    // RegDeleteTreeW on `path`: the key and everything below it. True when it is gone.
    virtual bool deleteTree(RegistryRoot root, const std::u16string& path) = 0;
    // Gives the key an access list of SYSTEM and Administrators alone, not inherited from its
    // parent: what it holds is no one else's to read. True when it is set.
    virtual bool restrictToAdministrators(RegistryRoot root, const std::u16string& path) = 0;
};

// SystemParametersInfoW for the pointer, always with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE.
class PointerSettingsSeam {
public:
    virtual ~PointerSettingsSeam() = default;
    virtual bool setMouseSpeed(int speed) = 0;                                 // SPI_SETMOUSESPEED
    virtual bool setMouseThresholds(int first, int second, int acceleration) = 0;  // SPI_SETMOUSE
};

}  // namespace mv
