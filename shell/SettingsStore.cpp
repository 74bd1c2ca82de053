// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SettingsStore.h"

#include "platform/RegistryFormat.h"
#include "platform/Utf16.h"
#include "shell/RegistryException.h"

#include <cstdint>
#include <optional>

namespace velmaro {

namespace {

using platform::Registry;
using platform::RegistryValue;

constexpr std::string_view kBaseKey = "HKEY_CURRENT_USER\\software\\Quarno Labs";
constexpr std::string_view kProductKey = "HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2";

// The error text of format with name in place of its "%s".
std::string formatted(std::string_view format, std::string_view name) {
    std::string text(format);
    text.replace(text.find("%s"), 2, name);
    return text;
}

// The text of REG_SZ or REG_EXPAND_SZ data: the UTF-16LE code units up to the first NUL,
// a lone trailing byte ignored.
std::optional<std::string> textOf(const std::string& data) {
    std::size_t length = 0;
    while (length + 1 < data.size() && (data[length] != '\0' || data[length + 1] != '\0'))
        length += 2;
    return platform::Utf16LeToUtf8(std::string_view(data).substr(0, length));
}

// Reads text as a signed 32-bit integer: leading spaces, one sign, then decimal digits or
// "$", "x" or "0x" and hexadecimal digits (up to 32 bits, which wrap to negative numbers).
std::optional<std::int32_t> parseInteger(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint64_t base = 10;
    if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    const std::uint64_t limit =
        base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    std::uint64_t value = 0;
    for (char c : text) {
        std::uint64_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint64_t>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<std::uint64_t>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<std::uint64_t>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? 0 - value : value);
    return static_cast<std::int32_t>(bits);
}

} // namespace

SettingsStore::SettingsStore() : SettingsStore(Registry::DefaultPath()) {}

SettingsStore::SettingsStore(std::string filePath)
    : m_registry(std::move(filePath)), m_tree(m_registry.read()) {
    m_tree.createKey(kBaseKey);
    m_tree.createKey(kProductKey);
}

SettingsStore::~SettingsStore() {
    try {
        Close();
    } catch (const ERegistryException&) {
        // Documented: a store closed by its destructor drops a commit failure.
    }
}

std::string SettingsStore::sectionPath(std::string_view Section) const {
    std::string path(kProductKey);
    path += '\\';
    path += Section;
    return path;
}

std::string SettingsStore::ReadString(std::string_view Section, std::string_view Name,
                                      std::string_view Default) const {
    const RegistryValue* value = m_tree.findValue(sectionPath(Section), Name);
    if (!value)
        return std::string(Default);
    if (value->Data.empty())
        return {};
    if (value->Type != platform::REG_SZ && value->Type != platform::REG_EXPAND_SZ)
        throw ERegistryException(formatted("Invalid data type for '%s'", Name));
    auto text = textOf(value->Data);
    if (!text)
        throw ERegistryException(formatted("Failed to get data for '%s'", Name));
    return std::move(*text);
}

int SettingsStore::ReadInteger(std::string_view Section, std::string_view Name, int Default) const {
    if (!m_tree.findValue(sectionPath(Section), Name))
        return Default;
    return parseInteger(ReadString(Section, Name, {})).value_or(Default);
}

bool SettingsStore::ReadBool(std::string_view Section, std::string_view Name, bool Default) const {
    return ReadInteger(Section, Name, Default ? 1 : 0) != 0;
}

void SettingsStore::WriteString(std::string_view Section, std::string_view Name,
                                std::string_view Value) {
    if (!platform::IsWritableKeyPath(sectionPath(Section)))
        throw ERegistryException(formatted("Failed to create key %s", Section));
    auto data = platform::Utf8ToUtf16Le(Value);
    if (!data || !platform::IsWritableValueName(Name))
        throw ERegistryException(formatted("Failed to set data for '%s'", Name));
    data->append(2, '\0');
    m_tree.setValue(sectionPath(Section), Name, platform::REG_SZ, *data);
    m_writes.push_back(PendingWrite{std::string(Section), std::string(Name), std::move(*data)});
}

void SettingsStore::WriteInteger(std::string_view Section, std::string_view Name, int Value) {
    WriteString(Section, Name, std::to_string(Value));
}

void SettingsStore::WriteBool(std::string_view Section, std::string_view Name, bool Value) {
    WriteString(Section, Name, Value ? "1" : "0");
}

void SettingsStore::Close() {
    if (m_closed)
        return;
    m_closed = true;
    const auto result = m_registry.update([this](platform::RegistryTree& tree) {
        tree.createKey(kBaseKey);
        tree.createKey(kProductKey);
        for (const PendingWrite& write : m_writes)
            tree.setValue(sectionPath(write.Section), write.Name, platform::REG_SZ, write.Data);
    });
    if (result == Registry::UpdateResult::Done || m_writes.empty())
        return;
    if (result == Registry::UpdateResult::FolderFailed)
        throw ERegistryException(formatted("Failed to create key %s", m_writes.front().Section));
    throw ERegistryException(formatted("Failed to set data for '%s'", m_writes.front().Name));
}

} // namespace velmaro
