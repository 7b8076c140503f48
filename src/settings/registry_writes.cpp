#include "settings/registry_writes.h"

namespace mv {

bool RegistryWrites::fail() {
    failed_ = true;
    return false;
}

std::u16string RegistryWrites::firstMissing(RegistryRoot root, const std::u16string& key) {
    // From the root down: the first part of the path that cannot be opened.
    for (std::size_t end = 0; end != std::u16string::npos;) {
        end = key.find(u'\\', end + 1);
        const std::u16string part = key.substr(0, end);
        const RegistryKey k = registry_.openKey(root, part, kKeyReadWrite);
        if (!k) return part;
        registry_.closeKey(k);
    }
    return {};
}

bool RegistryWrites::setValue(const std::u16string& key, const StoredValue& value, const std::uint8_t* data,
                              std::size_t size) {
    if (failed_) return false;
    RegistryKey k = registry_.openKey(value.root, key, kKeyReadWrite);
    if (!k) {
        const std::u16string missing = firstMissing(value.root, key);
        k = registry_.createKey(value.root, key, kKeyReadWrite);
        if (!k) {
            // A create can fail after making some of the path.
            if (!missing.empty()) registry_.deleteTree(value.root, missing);
            return fail();
        }
        if (missing.empty())  // made meanwhile by someone else: only our value goes again
            undo_.push_back({Undo::Kind::DeleteValue, value.root, key, {}, value.name});
        else
            undo_.push_back({Undo::Kind::DeleteKey, value.root, missing, {}, {}});
    } else if (auto old = registry_.queryValue(k, value.name, kWholeValue)) {
        undo_.push_back({Undo::Kind::PutBack, value.root, key, {{value.name, std::move(*old)}}, {}});
    } else {
        undo_.push_back({Undo::Kind::DeleteValue, value.root, key, {}, value.name});
    }
    const bool written = registry_.setValue(k, value.name, value.type, data, size);
    registry_.closeKey(k);
    return written || fail();
}

bool RegistryWrites::removeKey(RegistryRoot root, const std::u16string& key,
                               const std::vector<const StoredValue*>& restorable) {
    if (failed_) return false;
    Undo undo{Undo::Kind::RecreateKey, root, key, {}, {}};
    if (const RegistryKey k = registry_.openKey(root, key, kKeyReadWrite)) {
        for (const StoredValue* value : restorable)
            if (auto old = registry_.queryValue(k, value->name, kWholeValue))
                undo.values.push_back({value->name, std::move(*old)});
        registry_.closeKey(k);
    } else {
        return true;  // nothing there to remove
    }
    // Noted first: a delete that fails can have removed part of the tree.
    undo_.push_back(std::move(undo));
    return registry_.deleteTree(root, key) || fail();
}

void RegistryWrites::undo() {
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) {
        switch (it->kind) {
            case Undo::Kind::DeleteKey: registry_.deleteTree(it->root, it->key); break;
            case Undo::Kind::DeleteValue:
                if (const RegistryKey k = registry_.openKey(it->root, it->key, kKeyReadWrite)) {
                    registry_.deleteValue(k, it->name);
                    registry_.closeKey(k);
                }
                break;
            case Undo::Kind::PutBack:
            case Undo::Kind::RecreateKey: {
                RegistryKey k = registry_.openKey(it->root, it->key, kKeyReadWrite);
                if (!k) k = registry_.createKey(it->root, it->key, kKeyReadWrite);
                if (!k) break;
                for (const Saved& s : it->values)
                    registry_.setValue(k, s.name, s.value.type, s.value.data.data(), s.value.data.size());
                registry_.closeKey(k);
                break;
            }
        }
    }
    undo_.clear();
}

}  // namespace mv
