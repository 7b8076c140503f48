// The registry and pointer-settings seams on Win32.
#pragma once

#include "seams/registry.h"

namespace mv {

class Win32Registry final : public RegistrySeam {
public:
    RegistryKey openKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) override;
    RegistryKey createKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) override;
    std::optional<RegistryValue> queryValue(RegistryKey key, const std::u16string& name,
                                            std::size_t capacity) override;
    bool setValue(RegistryKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                  std::size_t size) override;
    bool deleteValue(RegistryKey key, const std::u16string& name) override;
    void closeKey(RegistryKey key) override;
    std::vector<std::u16string> subkeyNames(RegistryKey key) override;
    bool deleteTree(RegistryRoot root, const std::u16string& path) override;
    bool restrictToAdministrators(RegistryRoot root, const std::u16string& path) override;
};

class Win32PointerSettings final : public PointerSettingsSeam {
public:
    bool setMouseSpeed(int speed) override;
    bool setMouseThresholds(int first, int second, int acceleration) override;
};

}  // namespace mv
