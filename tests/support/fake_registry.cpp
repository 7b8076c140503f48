#include "support/fake_registry.h"

#include <algorithm>
#include <tuple>

#include "support/fake_platform.h"

namespace mv::test {

bool NoCase::operator()(const std::u16string& a, const std::u16string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

bool FakeRegistry::KeyIdOrder::operator()(const KeyId& a, const KeyId& b) const {
    if (a.root != b.root) return a.root < b.root;
    return NoCase{}(a.path, b.path);
}

bool operator==(const FakeRegistry::Key& a, const FakeRegistry::Key& b) {
    if (a.values.size() != b.values.size()) return false;
    for (auto i = a.values.begin(), j = b.values.begin(); i != a.values.end(); ++i, ++j)
        if (!EqualIgnoringCase(i->first, j->first) || i->second.type != j->second.type || i->second.data != j->second.data)
            return false;
    return true;
}

bool FakeRegistry::write() {
    ++writes;
    return !failWrites && writes != failAtWrite;
}

void FakeRegistry::put(RegistryRoot root, const std::u16string& path, const std::u16string& name, std::uint32_t type,
                       std::vector<std::uint8_t> data) {
    for (std::size_t cut = path.find(u'\\'); cut != std::u16string::npos; cut = path.find(u'\\', cut + 1))
        keys[{root, path.substr(0, cut)}];
    keys[{root, path}].values[name] = {type, std::move(data)};
}

const RegistryValue* FakeRegistry::get(RegistryRoot root, const std::u16string& path,
                                       const std::u16string& name) const {
    const auto k = keys.find({root, path});
    if (k == keys.end()) return nullptr;
    const auto v = k->second.values.find(name);
    return v == k->second.values.end() ? nullptr : &v->second;
}

bool FakeRegistry::hasKey(RegistryRoot root, const std::u16string& path) const { return keys.count({root, path}) != 0; }

RegistryKey FakeRegistry::openKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) {
    log.push_back("open " + Utf8(path) + " " + Hex(access));
    if (!keys.count({root, path})) return 0;
    handles_[next_] = {root, path};
    return next_++;
}

RegistryKey FakeRegistry::createKey(RegistryRoot root, const std::u16string& path, std::uint32_t access) {
    log.push_back("create " + Utf8(path) + " " + Hex(access));
    if (failCreate || !write()) return 0;
    for (std::size_t cut = path.find(u'\\'); cut != std::u16string::npos; cut = path.find(u'\\', cut + 1))
        keys[{root, path.substr(0, cut)}];
    keys[{root, path}];
    handles_[next_] = {root, path};
    return next_++;
}

std::optional<RegistryValue> FakeRegistry::queryValue(RegistryKey key, const std::u16string& name,
                                                      std::size_t capacity) {
    const auto h = handles_.find(key);
    if (h == handles_.end()) return std::nullopt;
    const RegistryValue* v = get(h->second.root, h->second.path, name);
    if (!v || v->data.size() > capacity) return std::nullopt;
    return *v;
}

bool FakeRegistry::setValue(RegistryKey key, const std::u16string& name, std::uint32_t type,
                            const std::uint8_t* data, std::size_t size) {
    log.push_back("set " + Utf8(name) + " " + std::to_string(size));
    const auto h = handles_.find(key);
    if (h == handles_.end() || !write()) return false;
    const auto k = keys.find(h->second);
    if (k == keys.end()) return false;  // deleted while open
    k->second.values[name] = {type, std::vector<std::uint8_t>(data, data + size)};
    return true;
}

bool FakeRegistry::deleteValue(RegistryKey key, const std::u16string& name) {
    log.push_back("unset " + Utf8(name));
    const auto h = handles_.find(key);
    if (h == handles_.end() || !write()) return false;
    const auto k = keys.find(h->second);
    if (k != keys.end()) k->second.values.erase(name);
    return true;
}

void FakeRegistry::closeKey(RegistryKey key) { handles_.erase(key); }

namespace {
// `path` lies below `parent` (at any depth).
bool Below(const std::u16string& path, const std::u16string& parent) {
    return path.size() > parent.size() && path[parent.size()] == u'\\' &&
           EqualIgnoringCase(std::u16string_view(path).substr(0, parent.size()), parent);
}
}  // namespace

std::vector<std::u16string> FakeRegistry::subkeyNames(RegistryKey key) {
    std::vector<std::u16string> names;
    const auto h = handles_.find(key);
    if (h == handles_.end()) return names;
    for (const auto& [id, k] : keys) {
        if (id.root != h->second.root || !Below(id.path, h->second.path)) continue;
        const std::u16string rest = id.path.substr(h->second.path.size() + 1);
        if (rest.find(u'\\') == std::u16string::npos) names.push_back(rest);
    }
    return names;
}

bool FakeRegistry::deleteTree(RegistryRoot root, const std::u16string& path) {
    log.push_back("delete " + Utf8(path));
    if (!write()) return false;
    for (auto it = keys.begin(); it != keys.end();) {
        const bool gone = it->first.root == root && (EqualIgnoringCase(it->first.path, path) || Below(it->first.path, path));
        it = gone ? keys.erase(it) : std::next(it);
    }
    return true;
}

void PrintTo(const FakeRegistry::KeyId& id, std::ostream* os) {
    *os << (id.root == RegistryRoot::LocalMachine ? "HKLM\\" : "HKCU\\") << Utf8(id.path);
}

void PrintTo(const FakeRegistry::Key& key, std::ostream* os) {
    *os << "{";
    for (const auto& [name, value] : key.values) {
        std::size_t sum = 0;
        for (std::uint8_t b : value.data) sum = sum * 31 + b;
        *os << " " << Utf8(name) << ":" << value.type << ":" << value.data.size() << "#" << Hex(sum & 0xFFFF);
    }
    *os << " }";
}

bool FakeRegistry::restrictToAdministrators(RegistryRoot root, const std::u16string& path) {
    if (!keys.count({root, path})) return false;
    restricted.push_back(path);
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
