#pragma once

#include "platform/Registry.h"
#include "shell/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>
#include <string>

// A fresh, empty settings folder for the life of the object: XDG_CONFIG_HOME points into a
// temporary folder, so a test never reads or writes the user's own settings.
class TestSettingsFolder {
public:
    TestSettingsFolder() { qputenv("XDG_CONFIG_HOME", m_folder.path().toLocal8Bit()); }
    ~TestSettingsFolder() { qunsetenv("XDG_CONFIG_HOME"); }
    TestSettingsFolder(const TestSettingsFolder&) = delete;
    TestSettingsFolder& operator=(const TestSettingsFolder&) = delete;

    QString path() const { return m_folder.path(); }

    // The settings file the program uses.
    static std::string file() { return velmaro::platform::Registry::DefaultPath(); }

    // Removes the settings file, as before a first start.
    void clear() const { QFile::remove(QString::fromStdString(file())); }

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
    // "\"W\"=dword:00000320") in section.
    static void writeExport(const char* section, const QByteArray& valueLines) {
        const QString path = QString::fromStdString(file());
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write the settings file");
        out.write("Windows Registry Editor Version 5.00\r\n\r\n"
                  "[HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\" +
                  QByteArray(section) + "]\r\n" + valueLines + "\r\n\r\n");
    }

private:
    QTemporaryDir m_folder;
};
