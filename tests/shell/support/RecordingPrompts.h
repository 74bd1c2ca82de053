// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workflow/Prompts.h"

#include <QString>
#include <QVector>

// Answers every prompt of the program instead of a user and remembers what it was shown.
// Installed for its lifetime.
class RecordingPrompts final : public velmaro::Prompts {
public:
    struct Message {
        Icon icon;
        QString title;
        QString text;
    };

    RecordingPrompts() { install(this); }
    ~RecordingPrompts() override { install(nullptr); }
    RecordingPrompts(const RecordingPrompts&) = delete;
    RecordingPrompts& operator=(const RecordingPrompts&) = delete;

    void message(QWidget*, Icon icon, const QString& title, const QString& text) override {
        messages.append({icon, title, text});
    }

    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return saveAnswer;
    }

    QVector<Message> messages;
    QString saveAnswer;
};
