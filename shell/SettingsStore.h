// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Registry.h"
#include "platform/RegistryTree.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

// The program's per-user settings: an ini-style view of the registry key
// HKEY_CURRENT_USER\software\Quarno Labs\Velmaro 2, where a section is a subkey and each
// setting a named text value in it. Open one object for each use and Close it after.
//
// Reads see the file as it was at opening plus this object's own writes. Writes are gathered
// and committed together by Close, in one replace of the file that keeps every value written
// by others in the meantime. Texts and names are UTF-8; names compare without regard to
// letter case. Errors are raised as ERegistryException with the texts the user sees.
class SettingsStore {
public:
    // Opens the registry file at platform::Registry::DefaultPath(). The base and product keys
    // are created (committed at Close); opening reports no error.
    SettingsStore();

    // The same on the registry file at filePath (tests use their own file).
    explicit SettingsStore(std::string filePath);

    // Closes the store if Close was not called; a commit failure is then dropped, so call
    // Close when the writes matter.
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The text of Section/Name up to its first NUL, or Default when the section or the value
    // is missing. Empty data reads as "". Text values (REG_SZ, REG_EXPAND_SZ) are not
    // expanded; any other type raises "Invalid data type for '<Name>'", text data that cannot
    // be decoded raises "Failed to get data for '<Name>'".
    std::string ReadString(std::string_view Section, std::string_view Name,
                           std::string_view Default) const;

    // The value read as ReadString does, as a signed 32-bit integer: leading spaces, one sign,
    // and "$", "x" or "0x" for hexadecimal are accepted; anything else, the empty text and
    // numbers out of range give Default. Missing values give Default; errors as ReadString.
    int ReadInteger(std::string_view Section, std::string_view Name, int Default) const;

    // ReadInteger with 1 or 0 as the default; true when the integer is not 0.
    bool ReadBool(std::string_view Section, std::string_view Name, bool Default) const;

    // Sets Section/Name to Value as REG_SZ (text and its NUL), creating the section. A section
    // the settings file cannot hold (a line break, no UTF-8) raises "Failed to create key
    // <Section>", such a name or value "Failed to set data for '<Name>'", at once and
    // without storing anything, so the other writes of the use are still committed.
    void WriteString(std::string_view Section, std::string_view Name, std::string_view Value);

    // WriteString with the decimal text of Value ("-5", "0", "1024").
    void WriteInteger(std::string_view Section, std::string_view Name, int Value);

    // WriteString with "1" or "0".
    void WriteBool(std::string_view Section, std::string_view Name, bool Value);

    // Commits the writes of this use (and the key creation of the opening) in one replace of
    // the file. Raises "Failed to create key <section>" when the file's folder cannot be
    // created or locked and "Failed to set data for '<name>'" when the file cannot be written,
    // naming the first section or value written; then nothing of this use is stored. A
    // failure of a use without writes is not reported. Later calls do nothing.
    void Close();

private:
    struct PendingWrite {
        std::string Section;
        std::string Name;
        std::string Data;
    };

    std::string sectionPath(std::string_view Section) const;

    platform::Registry m_registry;
    platform::RegistryTree m_tree;
    std::vector<PendingWrite> m_writes;
    bool m_closed = false;
};

} // namespace velmaro
