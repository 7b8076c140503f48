#include "support/fake_registry.h"

#include "support/fake_platform.h"

namespace mv::test {

const RegistryValue* FakeRegistry::get(RegistryRoot root, const std::u16string& path,
                                       const std::u16string& name) const {
    const auto k = keys.find({root, path});
    if (k == keys.end()) return nullptr;
    const auto v = k->second.values.find(name);
    return v == k->second.values.end() ? nullptr : &v->second;
}

RegistryKey FakeRegistry::openKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) {
    log.push_back("open " + Utf8(path) + " " + Hex(access));
    if (!keys.count({root, path})) return 0;
    handles_[next_] = {root, path};
    return next_++;
}

RegistryKey FakeRegistry::createKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) {
    log.push_back("create " + Utf8(path) + " " + Hex(access));
    if (failCreate) return 0;
    keys[{root, path}];
    handles_[next_] = {root, path};
    return next_++;
}

std::optional<RegistryValue> FakeRegistry::queryValue(RegistryKey key, const std::u16string& name,
                                                      std::size_t capacity) {
    const auto h = handles_.find(key);
    if (h == handles_.end()) return std::nullopt;
    const RegistryValue* v = get(h->second.first, h->second.second, name);
    if (!v || v->data.size() > capacity) return std::nullopt;
    return *v;
}

bool FakeRegistry::setValue(RegistryKey key, const std::u16string& name, std::uint32_t type,
                            const std::uint8_t* data, std::size_t size) {
    log.push_back("set " + Utf8(name) + " " + std::to_string(size));
    const auto h = handles_.find(key);
    if (h == handles_.end() || failWrites) return false;
    keys[h->second].values[name] = {type, std::vector<std::uint8_t>(data, data + size)};
    return true;
}

void FakeRegistry::closeKey(RegistryKey key) { handles_.erase(key); }

std::vector<std::u16string> FakeRegistry::subkeyNames(RegistryKey key) {
    std::vector<std::u16string> names;
    const auto h = handles_.find(key);
    if (h == handles_.end()) return names;
    const std::u16string prefix = h->second.second + u"\\";
    for (const auto& [id, k] : keys) {
        if (id.first != h->second.first || id.second.size() <= prefix.size() || id.second.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::u16string rest = id.second.substr(prefix.size());
        const std::u16string name = rest.substr(0, rest.find(u'\\'));
        if (names.empty() || names.back() != name) names.push_back(name);
    }
    return names;
}

bool FakeRegistry::deleteTree(RegistryRoot root, const std::u16string& path) {
    log.push_back("delete " + Utf8(path));
    if (failWrites) return false;
    const std::u16string prefix = path + u"\\";
    for (auto it = keys.begin(); it != keys.end();) {
        const bool below = it->first.first == root &&
                           (it->first.second == path || it->first.second.compare(0, prefix.size(), prefix) == 0);
        it = below ? keys.erase(it) : std::next(it);
    }
    return true;
}

bool FakeRegistry::setMouseSpeed(int speed) {
    log.push_back("speed " + std::to_string(speed));
    return true;
}

bool FakeRegistry::setMouseThresholds(int first, int second, int acceleration) {
    log.push_back("mouse " + std::to_string(first) + " " + std::to_string(second) + " " +
                  std::to_string(acceleration));
    return true;
}

}  // namespace mv::test
