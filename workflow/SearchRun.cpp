// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/SearchRun.h"

#include "cleaner/SearchSummary.h"
#include "workflow/CodePageText.h"
#include "workflow/DateTimeText.h"
#include "workflow/Prompts.h"
#include "workflow/QtMessageWindow.h"
#include "workflow/ResultListModel.h"
#include "workflow/SizeText.h"

#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <memory>
#include <utility>

namespace velmaro {

namespace {

// The folder label shows a new folder once in this many folders plus one; the first folder
// of a search is shown at once.
constexpr std::int32_t folderLabelPeriod = 50;
// Within each period the bar advances for the counter values above this.
constexpr std::int32_t progressDelay = 10;
constexpr int progressWrap = 100;

// The recorded changes are applied this often, plus a millisecond for every rowsPerExtraMs
// rows listed: the list's view lays out all its rows after every batch, and this keeps that
// work to a small share of the GUI thread's time however long the list grows.
constexpr int applyInterval = 100; // milliseconds
constexpr int rowsPerExtraMs = 10000;

} // namespace

SearchRun::SearchRun(const SearchControls& Controls, std::function<std::string()> BuildLocation,
                     std::function<std::string()> BuildMask, std::size_t HandOffCapacity,
                     QObject* Parent)
    : QObject(Parent), m_controls(Controls), m_buildLocation(std::move(BuildLocation)),
      m_buildMask(std::move(BuildMask)), m_handOff(
                                             *this, [this] { applyRecorded(); }, HandOffCapacity),
      m_errorHandOff(*this), m_findFile(std::make_unique<QtMessageWindow>()) {
    // Folder names are shown as they are, never read as markup.
    m_controls.FolderLabel->setTextFormat(Qt::PlainText);
    m_applyTimer.setSingleShot(true);
    connect(&m_applyTimer, &QTimer::timeout, this, &SearchRun::applyRecorded);
    m_findFile.SetThreaded(true);
    m_findFile.OnFileMatch = [this](TFindFile& sender, const TFileDetails& fileInfo) {
        FindFileFileMatch(sender, fileInfo);
    };
    m_findFile.OnFolderChange = [this](TFindFile& sender, const std::string& folder,
                                       TFolderIgnore& ignoreFolder) {
        FindFileFolderChange(sender, folder, ignoreFolder);
    };
    m_findFile.OnSearchFinish = [this](TFindFile& sender) { FindFileSearchFinish(sender); };
    m_previousErrorHook =
        SetApplicationErrorHook([this](const std::string& className, const std::string& message) {
            showApplicationError(className, message);
        });
}

SearchRun::~SearchRun() {
    Close();
    SetApplicationErrorHook(std::move(m_previousErrorHook));
}

bool SearchRun::CheckCriteria() {
    TFileCriteria& files = m_findFile.Criteria().Files();
    files.SetLocation(m_buildLocation());
    files.SetFileName(m_buildMask());
    const char* missing = nullptr;
    if (files.Location().empty())
        missing = "Выберите места для поиска.";
    else if (files.FileName().empty())
        missing = "Выберите типы файлов для поиска.";
    if (missing == nullptr)
        return true;
    Prompts::current().message(m_controls.Window, Prompts::Icon::Warning, QString(),
                               QString::fromUtf8(missing));
    return false;
}

void SearchRun::Act_StartFindExecute() {
    if (!CheckCriteria())
        return;
    // One reset for the views, however many rows the list held.
    m_controls.Results->clear();
    m_running = true;
    Q_EMIT runningChanged(true);
    m_controls.ProgressBar->show();

    m_searchStart = Now();
    m_duration.start();
    m_folderCounter = folderLabelPeriod;
    m_searchSummary.clear();
    m_foundSize = 0;
    m_handOff.reopen();
    m_errorHandOff.reopen();
    m_applyTimer.start(applyInterval);
    m_findFile.Execute();
}

void SearchRun::Act_StopFindExecute() {
    m_findFile.Abort();
    m_handOff.abort();
    m_errorHandOff.abort();
}

void SearchRun::Close() {
    m_findFile.Abort();
    m_handOff.close();
    m_errorHandOff.close();
}

void SearchRun::FindFileFileMatch(TFindFile&, const TFileDetails& FileInfo) {
    if (m_handOff.addRow(FileInfo))
        m_foundSize += FileInfo.Size;
}

void SearchRun::FindFileFolderChange(TFindFile&, const std::string& Folder, TFolderIgnore&) {
    ++m_folderCounter;
    if (m_folderCounter > folderLabelPeriod) {
        m_folderCounter = 0;
        m_handOff.showFolder(Folder);
    }
    if (m_folderCounter > progressDelay)
        m_handOff.stepBar();
}

void SearchRun::applyRecorded() {
    const SearchHandOff::Recorded recorded = m_handOff.take(m_taken);
    m_controls.Results->append(m_taken);
    if (recorded.folder)
        m_controls.FolderLabel->setText(CodePageText(*recorded.folder));
    if (recorded.barSteps > 0) {
        // Each step adds one and wraps to 0 on reaching 100: several steps at once land where
        // as many single steps would.
        QProgressBar& bar = *m_controls.ProgressBar;
        const int from = std::max(bar.value(), bar.minimum());
        bar.setValue((from + recorded.barSteps % progressWrap) % progressWrap);
    }
    if (m_running)
        m_applyTimer.start(applyInterval + m_controls.Results->rowCount() / rowsPerExtraMs);
}

void SearchRun::FindFileSearchFinish(TFindFile& Sender) {
    // Every row found is listed before anything else of the finish happens.
    m_running = false;
    m_applyTimer.stop();
    applyRecorded();
    Q_EMIT runningChanged(false);
    m_controls.ProgressBar->hide();

    m_searchSummary = QString::fromStdString(
        SearchSummaryLine(DateTimeText().duration(m_duration.elapsed()).toStdString()));
    m_controls.FolderLabel->setText(m_searchSummary + QStringLiteral(" Размер найденых файлов: ") +
                                    SizeToText(static_cast<double>(m_foundSize)) + u'.');
    if (!Sender.Aborted())
        Prompts::current().message(m_controls.Window, Prompts::Icon::Information,
                                   QStringLiteral("Поиск"), QStringLiteral("Поиск завершен."));
}

void SearchRun::showApplicationError(const std::string& ClassName, const std::string& Message) {
    const QString text = CodePageText(ClassName) + QStringLiteral(": ") + CodePageText(Message);
    m_errorHandOff.run([this, text] {
        Prompts::current().message(m_controls.Window, Prompts::Icon::Critical,
                                   QStringLiteral("Application Error"), text);
    });
}

} // namespace velmaro
