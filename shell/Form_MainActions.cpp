// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's actions, its tool-bar wiring and the catalogue's popup menu.

#include "cleaner/CleanerPreset.h"
#include "shell/Form_Main.h"
#include "workflow/Guard.h"
#include "workflow/ResultListModel.h"
#include "workflow/SearchRun.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>

namespace velmaro {
namespace {

struct ActionText {
    const char* name;
    const char* category;
    const char* caption;
    const char* hint;
    QKeySequence shortcut;
};

QAction* makeAction(QObject* list, const ActionText& text) {
    auto* action = new QAction(QString::fromUtf8(text.caption), list);
    action->setObjectName(QString::fromLatin1(text.name));
    action->setProperty("category", QString::fromLatin1(text.category));
    action->setToolTip(QString::fromUtf8(text.hint));
    action->setShortcut(text.shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

} // namespace

void TForm_Main::createActions() {
    ActionList = new QObject(this);
    ActionList->setObjectName(QStringLiteral("ActionList"));
    Act_StartFind = makeAction(ActionList, {"Act_StartFind", "Find", "Начать поиск", "Начать поиск",
                                            QKeySequence(Qt::CTRL | Qt::Key_S)});
    Act_StopFind = makeAction(ActionList, {"Act_StopFind", "Find", "Прервать поиск",
                                           "Прервать поиск", QKeySequence(Qt::CTRL | Qt::Key_D)});
    Act_Delete = makeAction(ActionList, {"Act_Delete", "Delete", "Удалить", "Удалить файлы", {}});
    // Kept for a later quick-clean command: no control uses it and it is not added to the
    // window, so its shortcut does nothing.
    Act_QuickClear =
        makeAction(ActionList, {"Act_QuickClear", "Mode", "Быстрый режим", "Бытрый режим очистки",
                                QKeySequence(Qt::CTRL | Qt::Key_Q)});

    const struct {
        QToolButton* button;
        QAction* action;
        int image;
    } buttons[] = {{ToolButton_StartFind, Act_StartFind, 0},
                   {ToolButton_StopFind, Act_StopFind, 1},
                   {ToolButton_Delete, Act_Delete, 2}};
    for (const auto& entry : buttons) {
        entry.action->setIcon(m_toolImages[entry.image]);
        entry.button->setDefaultAction(entry.action);
        addAction(entry.action);
    }

    connect(ToolButton_ModeQuick, &QToolButton::clicked, this,
            [this] { RunGuarded(this, [this] { ToolButton_ModeQuickClick(); }); });
    connect(ToolButton_Info, &QToolButton::clicked, this,
            [this] { RunGuarded(this, [this] { ToolButton_InfoClick(); }); });
    connect(ToolButton_Quit, &QToolButton::clicked, this,
            [this] { RunGuarded(this, [this] { ToolButton_QuitClick(); }); });
}

void TForm_Main::createSearchRun() {
    m_searchRun = std::make_unique<SearchRun>(
        SearchControls{this, m_results, sLabel_DirF, sProgressBar_St},
        [this] { return BuildLocationString(); }, [this] { return BuildMaskString(); });
    ApplyCleanerPreset(m_searchRun->FindFile().Criteria());
    connect(m_searchRun.get(), &SearchRun::runningChanged, this, [this](bool running) {
        if (running)
            m_actionStates.searchStarted();
        else
            m_actionStates.searchFinished();
        updateActions();
    });
    // Whether rows are listed is one of the facts.
    connect(m_results, &QAbstractItemModel::rowsInserted, this, &TForm_Main::updateActions);
    connect(m_results, &QAbstractItemModel::rowsRemoved, this, &TForm_Main::updateActions);
    connect(m_results, &QAbstractItemModel::modelReset, this, &TForm_Main::updateActions);
    updateActions();
    connect(Act_StartFind, &QAction::triggered, this,
            [this] { RunGuarded(this, [this] { m_searchRun->Act_StartFindExecute(); }); });
    connect(Act_StopFind, &QAction::triggered, this,
            [this] { RunGuarded(this, [this] { m_searchRun->Act_StopFindExecute(); }); });
    connect(Act_Delete, &QAction::triggered, this,
            [this] { RunGuarded(this, [this] { Act_DeleteExecute(); }); });
}

void TForm_Main::updateActions() {
    const ActionStates::Enabled enabled = m_actionStates.enabled(m_results->rowCount() > 0);
    Act_StartFind->setEnabled(enabled.StartFind);
    Act_StopFind->setEnabled(enabled.StopFind);
    Act_Delete->setEnabled(enabled.Delete);
    ToolButton_ModeQuick->setEnabled(enabled.ModeQuick);
}

void TForm_Main::createCatalogueMenu() {
    PopupMenu_CrExt = new QMenu(this);
    PopupMenu_CrExt->setObjectName(QStringLiteral("PopupMenu_CrExt"));
    const auto addItem = [this](const char* name, const char* caption,
                                void (TForm_Main::*click)()) {
        QAction* item = PopupMenu_CrExt->addAction(QString::fromUtf8(caption));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this,
                [this, click] { RunGuarded(this, [this, click] { (this->*click)(); }); });
        return item;
    };
    N1 = addItem("N1", "Рекомендуемые", &TForm_Main::N1Click);
    N5 = PopupMenu_CrExt->addSeparator();
    N5->setObjectName(QStringLiteral("N5"));
    N2 = addItem("N2", "Выделить всё", &TForm_Main::N2Click);
    N3 = addItem("N3", "Убрать выделение", &TForm_Main::N3Click);
    N4 = addItem("N4", "Инвертировать", &TForm_Main::N4Click);

    connect(sListView_CrExt, &QWidget::customContextMenuRequested, this, [this](QPoint place) {
        PopupMenu_CrExt->popup(sListView_CrExt->viewport()->mapToGlobal(place));
    });
}

} // namespace velmaro
