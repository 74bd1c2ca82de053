#pragma once

#include <QTemporaryDir>
#include <QtGlobal>

// A fresh, empty settings folder for the life of the object: XDG_CONFIG_HOME points into a
// temporary folder, so a test never reads or writes the user's own settings.
class TestSettingsFolder {
public:
    TestSettingsFolder() { qputenv("XDG_CONFIG_HOME", m_folder.path().toLocal8Bit()); }
    ~TestSettingsFolder() { qunsetenv("XDG_CONFIG_HOME"); }
    TestSettingsFolder(const TestSettingsFolder&) = delete;
    TestSettingsFolder& operator=(const TestSettingsFolder&) = delete;

    QString path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};
