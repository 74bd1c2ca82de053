// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmaro::platform {

// Registry value types, numbered as Windows numbers them.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;
inline constexpr std::uint32_t REG_QWORD = 11;

// One named value. Data holds the bytes Windows would store: text types as UTF-16LE with
// their terminating NUL, REG_DWORD as four little-endian bytes. The name "" is the key's
// default value ("@" in the file).
struct RegistryValue {
    std::string Name;
    std::uint32_t Type = REG_NONE;
    std::string Data;

    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// A key by its full path ("HKEY_CURRENT_USER\\software\\Quarno Labs") with its values in
// the order they were first set.
struct RegistryKey {
    std::string Path;
    std::vector<RegistryValue> Values;

    friend bool operator==(const RegistryKey&, const RegistryKey&) = default;
};

// A registry hive held in memory: keys in file order, each with its values. Key paths and
// value names compare without regard to ASCII letter case, as the registry does; a key's
// parents exist implicitly and need no entry of their own. Keys and values are found through
// hash indexes, so a lookup or a set costs the length of the name, whatever the hive holds.
class RegistryTree {
public:
    // The key with this path, or nullptr.
    const RegistryKey* findKey(std::string_view path) const;

    // The index in keys() of the key with this path, appended (without values) when missing.
    std::size_t createKey(std::string_view path);

    // The named value of the key, or nullptr when the key or the value is missing.
    const RegistryValue* findValue(std::string_view path, std::string_view name) const;

    // Sets the named value of the key, creating the key when missing; an existing value of
    // that name keeps its place (and its stored name) and takes the new type and data.
    void setValue(std::string_view path, std::string_view name, std::uint32_t type,
                  std::string data);

    // The same for the key at keyIndex, an index createKey returned.
    void setValue(std::size_t keyIndex, std::string_view name, std::uint32_t type,
                  std::string data);

    const std::vector<RegistryKey>& keys() const { return m_keys; }

    // Equal when both hold the same keys with the same values in the same order.
    friend bool operator==(const RegistryTree& a, const RegistryTree& b) {
        return a.m_keys == b.m_keys;
    }

private:
    // Hash and equality of names without regard to ASCII letter case; they take string views,
    // so a lookup builds no string.
    struct FoldedHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const noexcept;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };
    using Index = std::unordered_map<std::string, std::size_t, FoldedHash, FoldedEqual>;

    std::vector<RegistryKey> m_keys;
    Index m_keyIndex;                // key path -> index in m_keys
    std::vector<Index> m_valueIndex; // per key: value name -> index in its Values
};

// Whether two key paths or value names are equal without regard to ASCII letter case.
bool RegistryNamesEqual(std::string_view a, std::string_view b);

} // namespace velmaro::platform
