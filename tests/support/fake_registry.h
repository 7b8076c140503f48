// An in-memory registry and pointer-settings recorder for unit tests. Key paths and value
// names compare without regard to case, as in the real registry; creating a key creates
// its parents. Writes (create, set, delete) can be made to fail: all of them, or only the
// Nth one, to see what a save leaves behind.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "base/case_fold.h"
#include "seams/registry.h"

namespace mv::test {

struct NoCase {
    bool operator()(const std::u16string& a, const std::u16string& b) const;
};

class FakeRegistry : public RegistrySeam, public PointerSettingsSeam {
public:
    struct Key {
        std::map<std::u16string, RegistryValue, NoCase> values;
        friend bool operator==(const Key& a, const Key& b);
    };
    struct KeyId {
        RegistryRoot root;
        std::u16string path;
        friend bool operator==(const KeyId& a, const KeyId& b) {
            return a.root == b.root && EqualIgnoringCase(a.path, b.path);
        }
    };
    struct KeyIdOrder {
        bool operator()(const KeyId& a, const KeyId& b) const;
    };
    using Keys = std::map<KeyId, Key, KeyIdOrder>;
    Keys keys;
    bool failCreate = false;
    bool failWrites = false;
    int failAtWrite = 0;  // the write (counting from 1) that fails; 0: none
    int writes = 0;       // writes tried so far
    std::vector<std::string> log;  // "open PATH", "create PATH", "set NAME SIZE", "speed N", "mouse A B C"

    void put(RegistryRoot root, const std::u16string& path, const std::u16string& name, std::uint32_t type,
             std::vector<std::uint8_t> data);
    const RegistryValue* get(RegistryRoot root, const std::u16string& path, const std::u16string& name) const;
    bool hasKey(RegistryRoot root, const std::u16string& path) const;

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
    std::vector<std::u16string> restricted;  // keys given the administrators' access list
    int openHandles() const { return static_cast<int>(handles_.size()); }

    bool setMouseSpeed(int speed) override;
    bool setMouseThresholds(int first, int second, int acceleration) override;

private:
    // Counts one write; false when it is to fail.
    bool write();

    std::map<RegistryKey, KeyId> handles_;
    RegistryKey next_ = 0x100;
};

// Readable forms for test failures.
void PrintTo(const FakeRegistry::KeyId& id, std::ostream* os);
void PrintTo(const FakeRegistry::Key& key, std::ostream* os);

}  // namespace mv::test
