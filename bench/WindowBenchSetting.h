// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CharTables.h"
#include "platform/CodePage.h"
#include "platform/Drives.h"
#include "workflow/Prompts.h"

#include <QTemporaryDir>
#include <QtGlobal>
#include <string>
#include <utility>
#include <vector>

// The setting of a benchmark that drives the real main window: the program's own start-up
// steps (the code page, then the character tables), the offscreen platform unless
// QT_QPA_PLATFORM names another, settings in a temporary folder so that the user's own are
// neither read nor written, Root as the window's only drive (never the machine's drives), and
// every message box answered without a user. Make it before the QApplication; it lasts as long
// as the benchmark.
class WindowBenchSetting final : public velmaro::platform::DriveSource {
public:
    // Root: a folder without a trailing "/".
    explicit WindowBenchSetting(std::string Root) : m_root(std::move(Root)) {
        velmaro::platform::CodePage::selectFromLocale();
        velmaro::BuildCharTables();
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", m_settings.path().toLocal8Bit());
        velmaro::Prompts::install(&m_answers);
    }
    ~WindowBenchSetting() override { velmaro::Prompts::install(nullptr); }
    WindowBenchSetting(const WindowBenchSetting&) = delete;
    WindowBenchSetting& operator=(const WindowBenchSetting&) = delete;

    std::vector<velmaro::platform::Drive> drives() const override {
        return {{m_root, m_root + "/", velmaro::platform::DriveKind::Fixed}};
    }

private:
    // Takes note of nothing and saves nowhere.
    class Answers final : public velmaro::Prompts {
    public:
        void message(QWidget*, Icon, const QString&, const QString&) override {}
        QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
            return {};
        }
    };

    std::string m_root;
    QTemporaryDir m_settings;
    Answers m_answers;
};
