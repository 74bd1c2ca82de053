// SPDX-License-Identifier: GPL-3.0-or-later
// The enabled states of the start, stop, delete and mode controls through the phases of the
// window: start-up, mode switches, searches, deletion passes and their reports.

#include "shell/ActionStates.h"

#include <QStringList>
#include <QTest>

using velmaro::ActionStates;
using Enabled = ActionStates::Enabled;

Q_DECLARE_METATYPE(ActionStates::Enabled)

class ActionStatesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Events: quick / full (the mode button), search / finish, delete / report / done (a pass
    // starts, opens its report, ends). Enabled: start, stop, delete, mode.
    void phases_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<bool>("rowsListed");
        QTest::addColumn<Enabled>("enabled");
        const auto row = [](const char* name, const char* events, bool rows, Enabled enabled) {
            QTest::newRow(name) << QString::fromLatin1(events) << rows << enabled;
        };
        row("after start-up", "", false, {true, false, false, true});
        row("quick mode", "quick", false, {false, false, false, true});
        row("back to full mode", "quick full", false, {true, false, false, true});
        row("search running", "search", false, {false, true, false, false});
        row("search finished with rows", "search finish", true, {true, false, true, true});
        row("search finished without rows", "search finish", false, {true, false, false, true});
        row("quick mode after a search keeps delete", "search finish quick", true,
            {false, false, true, true});
        row("deletion running", "search finish delete", true, {false, false, false, false});
        row("report open", "search finish delete report", true, {true, false, false, true});
        row("deletion finished, rows left", "search finish delete report done", true,
            {true, false, true, true});
        row("deletion finished, no rows left", "search finish delete report done", false,
            {true, false, false, true});
        row("a pass in quick mode enables the start", "search finish quick delete report done",
            true, {true, false, true, true});
        row("closed during a pass: no report", "search finish quick delete done", true,
            {true, false, true, true});
        row("a mode switch after that disables it again",
            "search finish quick delete report done full quick", true, {false, false, true, true});
        row("a search started in quick mode", "search finish quick delete report done search",
            false, {false, true, false, false});
        row("and finished in quick mode", "search finish quick delete report done search finish",
            false, {true, false, false, true});
    }
    void phases() {
        QFETCH(QString, events);
        QFETCH(bool, rowsListed);
        QFETCH(Enabled, enabled);
        ActionStates states;
        for (const QString& event : events.split(u' ', Qt::SkipEmptyParts)) {
            if (event == u"quick" || event == u"full")
                states.setQuickMode(event == u"quick");
            else if (event == u"search")
                states.searchStarted();
            else if (event == u"finish")
                states.searchFinished();
            else if (event == u"delete")
                states.deletionStarted();
            else if (event == u"report")
                states.reportShown();
            else if (event == u"done")
                states.deletionFinished();
            else
                QFAIL(qPrintable(QStringLiteral("unknown event ") + event));
        }
        const Enabled shown = states.enabled(rowsListed);
        QCOMPARE(shown.StartFind, enabled.StartFind);
        QCOMPARE(shown.StopFind, enabled.StopFind);
        QCOMPARE(shown.Delete, enabled.Delete);
        QCOMPARE(shown.ModeQuick, enabled.ModeQuick);
    }
};

QTEST_APPLESS_MAIN(ActionStatesTest)
#include "ActionStatesTest.moc"
