// An in-memory registry and pointer-settings recorder for unit tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "gesture/registry.h"

namespace mv::test {

class FakeRegistry : public RegistrySeam, public PointerSettingsSeam {
public:
    struct Key {
        std::map<std::u16string, RegistryValue> values;
    };
    std::map<std::pair<RegistryRoot, std::u16string>, Key> keys;
    bool failCreate = false;
    bool failWrites = false;
    std::vector<std::string> log;  // "open PATH", "create PATH", "set NAME SIZE", "speed N", "mouse A B C"

    void put(RegistryRoot root, const std::u16string& path, const std::u16string& name, std::uint32_t type,
             std::vector<std::uint8_t> data) {
        keys[{root, path}].values[name] = {type, std::move(data)};
    }
    const RegistryValue* get(RegistryRoot root, const std::u16string& path, const std::u16string& name) const;

    RegistryKey openKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) override;
    RegistryKey createKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) override;
    std::optional<RegistryValue> queryValue(RegistryKey key, const std::u16string& name,
                                            std::size_t capacity) override;
    bool setValue(RegistryKey key, const std::u16string& name, std::uint32_t type, const std::uint8_t* data,
                  std::size_t size) override;
    void closeKey(RegistryKey key) override;
    std::vector<std::u16string> subkeyNames(RegistryKey key) override;
    bool deleteTree(RegistryRoot root, const std::u16string& path) override;
    int openHandles() const { return static_cast<int>(handles_.size()); }

    bool setMouseSpeed(int speed) override;
    bool setMouseThresholds(int first, int second, int acceleration) override;

private:
    std::map<RegistryKey, std::pair<RegistryRoot, std::u16string>> handles_;
    RegistryKey next_ = 0x100;
};

}  // namespace mv::test
