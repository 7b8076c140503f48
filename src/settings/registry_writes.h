// Registry writes that can be taken back. Each write first notes what it replaces (the old
// value, or that the value or its key was not there), so that a save that fails part-way
// puts back, newest first, everything it had written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/registry_layout.h"

namespace mv {

class RegistryWrites {
public:
    explicit RegistryWrites(RegistrySeam& registry) : registry_(registry) {}
    RegistryWrites(const RegistryWrites&) = delete;
    RegistryWrites& operator=(const RegistryWrites&) = delete;

    // Writes `value` (its name and type) under `key`, creating the key when missing. After a
    // failed write nothing more is written and every later call returns false.
    bool setValue(const std::u16string& key, const StoredValue& value, const std::uint8_t* data, std::size_t size);
    bool setValue(const StoredValue& value, const std::uint8_t* data, std::size_t size) {
        return setValue(value.key, value, data, size);
    }
    // Removes `key` and everything below it; the values named in `restorable` come back
    // with it on undo.
    bool removeKey(RegistryRoot root, const std::u16string& key, const std::vector<const StoredValue*>& restorable);

    bool failed() const { return failed_; }
    // Takes back every write done, newest first, as far as the registry lets it.
    void undo();

private:
    struct Saved {
        std::u16string name;
        RegistryValue value;
    };
    struct Undo {
        enum class Kind { PutBack, DeleteValue, DeleteKey, RecreateKey } kind;
        RegistryRoot root;
        std::u16string key;
        std::vector<Saved> values;  // PutBack: one; RecreateKey: all that come back
        std::u16string name;        // DeleteValue
    };
    // The outermost key of `key`'s path that does not exist yet; empty when `key` exists.
    std::u16string firstMissing(RegistryRoot root, const std::u16string& key);
    bool fail();

    RegistrySeam& registry_;
    std::vector<Undo> undo_;
    bool failed_ = false;
};

}  // namespace mv
