// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TempFolder.h"
#include "platform/Registry.h"
#include "shell/SettingsStore.h"

#include <QByteArray>
#include <QStringList>
#include <QtGlobal>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// A fresh, empty settings folder for the life of the object: XDG_CONFIG_HOME points into a
// temporary folder, so a test never reads or writes the user's own settings.
class TestSettingsFolder {
public:
    TestSettingsFolder() { qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_folder.path())); }
    ~TestSettingsFolder() { qunsetenv("XDG_CONFIG_HOME"); }
    TestSettingsFolder(const TestSettingsFolder&) = delete;
    TestSettingsFolder& operator=(const TestSettingsFolder&) = delete;

    // The settings file the program uses.
    static std::string file() { return velmaro::platform::Registry::DefaultPath(); }

    // Removes the settings file, as before a first start.
    void clear() const { std::filesystem::remove(file()); }

    // Section/name of the settings, or "<missing>".
    static std::string read(const char* section, const char* name) {
        velmaro::SettingsStore store(file());
        return store.ReadString(section, name, "<missing>");
    }

    static void write(const char* section, const char* name, const std::string& value) {
        velmaro::SettingsStore store(file());
        store.WriteString(section, name, value);
        store.Close();
    }

    // The value names of a section in file order.
    static QStringList names(const char* section) {
        const velmaro::platform::RegistryTree tree = velmaro::platform::Registry(file()).read();
        const auto* key = tree.findKey(
            std::string("HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\") + section);
        QStringList names;
        if (key)
            for (const auto& value : key->Values)
                names.append(QString::fromStdString(value.Name));
        return names;
    }

    // Replaces the settings file with a registry export holding valueLines (such as
    // "\"W\"=dword:00000320") in section. Throws std::runtime_error when it cannot.
    static void writeExport(const char* section, const QByteArray& valueLines) {
        const std::filesystem::path path = file();
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << "Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\"
            << section << "]\r\n"
            << valueLines.toStdString() << "\r\n\r\n";
        if (!out.flush())
            throw std::runtime_error("cannot write the settings file " + path.string());
    }

private:
    velmaro::test::TempFolder m_folder;
};
