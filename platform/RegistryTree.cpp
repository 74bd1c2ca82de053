#include "platform/RegistryTree.h"

#include <algorithm>

namespace velmaro::platform {

namespace {

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

RegistryValue* findIn(RegistryKey& key, std::string_view name) {
    for (RegistryValue& value : key.Values)
        if (RegistryNamesEqual(value.Name, name))
            return &value;
    return nullptr;
}

} // namespace

bool RegistryNamesEqual(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

const RegistryKey* RegistryTree::findKey(std::string_view path) const {
    for (const RegistryKey& key : m_keys)
        if (RegistryNamesEqual(key.Path, path))
            return &key;
    return nullptr;
}

RegistryKey& RegistryTree::createKey(std::string_view path) {
    for (RegistryKey& key : m_keys)
        if (RegistryNamesEqual(key.Path, path))
            return key;
    m_keys.push_back(RegistryKey{std::string(path), {}});
    return m_keys.back();
}

const RegistryValue* RegistryTree::findValue(std::string_view path, std::string_view name) const {
    const RegistryKey* key = findKey(path);
    if (!key)
        return nullptr;
    for (const RegistryValue& value : key->Values)
        if (RegistryNamesEqual(value.Name, name))
            return &value;
    return nullptr;
}

void RegistryTree::setValue(std::string_view path, std::string_view name, std::uint32_t type,
                            std::string data) {
    RegistryKey& key = createKey(path);
    if (RegistryValue* value = findIn(key, name)) {
        value->Type = type;
        value->Data = std::move(data);
        return;
    }
    key.Values.push_back(RegistryValue{std::string(name), type, std::move(data)});
}

} // namespace velmaro::platform
