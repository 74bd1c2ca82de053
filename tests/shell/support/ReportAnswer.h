// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workflow/Form_Report.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>
#include <functional>
#include <utility>

// Answers the report window of a deletion pass instead of a user: each time one is shown
// modally, remembers its text, lets the test act on it, then closes it. Watches for its
// lifetime.
class ReportAnswer {
public:
    explicit ReportAnswer(std::function<void(velmaro::TForm_Report&)> act = {})
        : m_act(std::move(act)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(5);
    }

    int shown = 0;
    QString text;

private:
    void answer() {
        auto* report = qobject_cast<velmaro::TForm_Report*>(QApplication::activeModalWidget());
        if (!report || !report->isVisible())
            return;
        ++shown;
        text = report->findChild<QPlainTextEdit*>(QStringLiteral("sMemo_Report"))->toPlainText();
        if (m_act)
            m_act(*report);
        report->sBitBtn_CloseClick();
    }

    std::function<void(velmaro::TForm_Report&)> m_act;
    QTimer m_timer;
};
