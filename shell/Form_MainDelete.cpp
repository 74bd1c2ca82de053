// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's deletion of the checked result rows and the report that follows it.

#include "cleaner/DeletionPass.h"
#include "cleaner/FileDeletion.h"
#include "shell/Form_Main.h"
#include "workflow/Form_Report.h"
#include "workflow/ResultListModel.h"
#include "workflow/ResultListRows.h"
#include "workflow/SearchRun.h"

#include <QCoreApplication>
#include <QFrame>
#include <QProgressBar>
#include <QTreeView>
#include <exception>

namespace velmaro {

void TForm_Main::Act_DeleteExecute() {
    // Events are processed after every file; a second start from among them is ignored.
    if (m_deletionPass)
        return;
    ResultListRows rows(*m_results);
    FileDeletion deletion;
    DeletionPass pass(rows, deletion);
    m_deletionPass = &pass;
    m_closedDuringDeletion = false;
    std::exception_ptr error;
    try {
        m_actionStates.deletionStarted();
        updateActions();
        sListView_Result->hide();
        sPanel_Delete->show();
        sProgressBar_Delete->setValue(0);
        sProgressBar_Delete->setMaximum(rows.Count());
        pass.onFileDone = [this](const DeletionPass::FileDone&) {
            sProgressBar_Delete->setValue(sProgressBar_Delete->value() + 1);
            QCoreApplication::processEvents();
        };
        pass.Execute();
    } catch (...) {
        error = std::current_exception();
    }

    // The attempted rows leave the list in one step, before the list is shown again.
    rows.finish();
    m_actionStates.reportShown();
    updateActions();
    sListView_Result->show();
    sPanel_Delete->hide();
    // A window closed during the pass is on its way out: a modal report would hold up the end
    // of the program, so the report is left out and the pass has stopped after its current file.
    if (!m_closedDuringDeletion) {
        TForm_Report report(this, m_searchRun->SearchSummary(), pass.DeletedCount(),
                            pass.FreedSize(), pass.FailedFiles());
        report.exec();
    }
    m_deletionPass = nullptr;
    m_actionStates.deletionFinished();
    updateActions();
    if (error)
        std::rethrow_exception(error);
}

void TForm_Main::stopDeletionForClose() {
    if (!m_deletionPass)
        return;
    m_closedDuringDeletion = true;
    m_deletionPass->requestStop();
}

} // namespace velmaro
