// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryTree.h"

#include <algorithm>

namespace velmaro::platform {

namespace {

char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool RegistryNamesEqual(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

std::size_t RegistryTree::FoldedHash::operator()(std::string_view name) const noexcept {
    // FNV-1a over the folded bytes.
    std::size_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(foldAscii(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool RegistryTree::FoldedEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    return RegistryNamesEqual(a, b);
}

const RegistryKey* RegistryTree::findKey(std::string_view path) const {
    const auto found = m_keyIndex.find(path);
    return found == m_keyIndex.end() ? nullptr : &m_keys[found->second];
}

std::size_t RegistryTree::createKey(std::string_view path) {
    const auto [entry, added] = m_keyIndex.try_emplace(std::string(path), m_keys.size());
    if (added) {
        m_keys.push_back(RegistryKey{std::string(path), {}});
        m_valueIndex.emplace_back();
    }
    return entry->second;
}

const RegistryValue* RegistryTree::findValue(std::string_view path, std::string_view name) const {
    const auto key = m_keyIndex.find(path);
    if (key == m_keyIndex.end())
        return nullptr;
    const Index& values = m_valueIndex[key->second];
    const auto found = values.find(name);
    return found == values.end() ? nullptr : &m_keys[key->second].Values[found->second];
}

void RegistryTree::setValue(std::string_view path, std::string_view name, std::uint32_t type,
                            std::string data) {
    setValue(createKey(path), name, type, std::move(data));
}

void RegistryTree::setValue(std::size_t keyIndex, std::string_view name, std::uint32_t type,
                            std::string data) {
    std::vector<RegistryValue>& values = m_keys[keyIndex].Values;
    const auto [entry, added] =
        m_valueIndex[keyIndex].try_emplace(std::string(name), values.size());
    if (added) {
        values.push_back(RegistryValue{std::string(name), type, std::move(data)});
        return;
    }
    RegistryValue& value = values[entry->second];
    value.Type = type;
    value.Data = std::move(data);
}

} // namespace velmaro::platform
