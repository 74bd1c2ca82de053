#include "workflow/SearchRun.h"

#include "platform/CodePage.h"
#include "workflow/Prompts.h"
#include "workflow/QtMessageWindow.h"
#include "workflow/SizeText.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
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

QString displayText(std::string_view bytes) {
    return QString::fromStdU16String(platform::CodePage::system().toUtf16(bytes));
}

} // namespace

SearchRun::SearchRun(const SearchControls& Controls, std::function<std::string()> BuildLocation,
                     std::function<std::string()> BuildMask, QObject* Parent)
    : QObject(Parent), m_controls(Controls), m_buildLocation(std::move(BuildLocation)),
      m_buildMask(std::move(BuildMask)), m_feed(*Controls.ResultList), m_handOff(*this),
      m_findFile(std::make_unique<QtMessageWindow>()) {
    // Folder names are shown as they are, never read as markup.
    m_controls.FolderLabel->setTextFormat(Qt::PlainText);
    // Every row is one line: with uniform heights the list lays out a new batch of rows without
    // measuring each of the rows it holds, which keeps adding rows cheap in a long list.
    m_controls.ResultList->setUniformRowHeights(true);
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
    // Hidden while cleared, so that the list is not redrawn for every row it loses.
    m_controls.ResultList->hide();
    m_controls.ResultList->clear();
    m_controls.ResultList->show();

    m_controls.StartFind->setEnabled(false);
    m_controls.StopFind->setEnabled(true);
    m_controls.Delete->setEnabled(false);
    m_controls.ModeQuick->setEnabled(false);
    m_controls.ProgressBar->show();

    m_searchStart = Now();
    m_duration.start();
    m_folderCounter = folderLabelPeriod;
    m_searchSummary.clear();
    m_foundSize = 0;
    m_rowMaker = ResultRowMaker();
    m_handOff.reopen();
    m_findFile.Execute();
}

void SearchRun::Act_StopFindExecute() {
    m_findFile.Abort();
    m_handOff.abort();
}

void SearchRun::Close() {
    m_findFile.Abort();
    m_handOff.close();
}

void SearchRun::FindFileFileMatch(TFindFile&, const TFileDetails& FileInfo) {
    // The row's texts are made here, off the GUI thread; the duplicate test runs there.
    m_handOff.run([this, row = m_rowMaker.make(FileInfo)] {
        if (m_feed.add(row))
            m_foundSize += row.Size;
    });
}

void SearchRun::FindFileFolderChange(TFindFile&, const std::string& Folder, TFolderIgnore&) {
    ++m_folderCounter;
    const bool showFolder = m_folderCounter > folderLabelPeriod;
    if (showFolder)
        m_folderCounter = 0;
    const bool advance = m_folderCounter > progressDelay;
    if (!showFolder && !advance)
        return;
    // The conversion runs here, off the GUI thread.
    const QString folder = showFolder ? displayText(Folder) : QString();
    m_handOff.run([this, showFolder, advance, folder] {
        if (showFolder)
            m_controls.FolderLabel->setText(folder);
        if (advance) {
            QProgressBar& bar = *m_controls.ProgressBar;
            bar.setValue(std::max(bar.value(), bar.minimum()) + 1);
            if (bar.value() == progressWrap)
                bar.setValue(0);
        }
    });
}

void SearchRun::FindFileSearchFinish(TFindFile& Sender) {
    m_feed.flush();
    m_controls.StartFind->setEnabled(true);
    m_controls.StopFind->setEnabled(false);
    m_controls.ModeQuick->setEnabled(true);
    m_controls.Delete->setEnabled(m_controls.ResultList->topLevelItemCount() > 0);
    m_controls.ProgressBar->hide();

    m_searchSummary = QStringLiteral("Продолжительность поиска: ") +
                      DateTimeText().duration(m_duration.elapsed()) + u'.';
    m_controls.FolderLabel->setText(m_searchSummary + QStringLiteral(" Размер найденых файлов: ") +
                                    SizeToText(static_cast<double>(m_foundSize)) + u'.');
    if (!Sender.Aborted())
        Prompts::current().message(m_controls.Window, Prompts::Icon::Information,
                                   QStringLiteral("Поиск"), QStringLiteral("Поиск завершен."));
}

void SearchRun::showApplicationError(const std::string& ClassName, const std::string& Message) {
    const QString text = displayText(ClassName) + QStringLiteral(": ") + displayText(Message);
    m_handOff.run([this, text] {
        Prompts::current().message(m_controls.Window, Prompts::Icon::Critical,
                                   QStringLiteral("Application Error"), text);
    });
}

} // namespace velmaro
