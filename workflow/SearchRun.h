#pragma once

#include "engine/ApplicationError.h"
#include "engine/DateTime.h"
#include "engine/FindFile.h"
#include "workflow/GuiHandOff.h"
#include "workflow/ResultListFeed.h"
#include "workflow/ResultRowMaker.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

class QAbstractButton;
class QAction;
class QLabel;
class QProgressBar;
class QTreeWidget;
class QWidget;

namespace velmaro {

// The main window's controls that a search run drives. None may be null.
struct SearchControls {
    QWidget* Window;            // the main window: parent of the message boxes
    QTreeWidget* ResultList;    // sListView_Result
    QLabel* FolderLabel;        // sLabel_DirF
    QProgressBar* ProgressBar;  // sProgressBar_St, range 0 to 100
    QAction* StartFind;         // Act_StartFind
    QAction* StopFind;          // Act_StopFind
    QAction* Delete;            // Act_Delete
    QAbstractButton* ModeQuick; // ToolButton_ModeQuick
};

// One search of the main window at a time: checks the chosen locations and junk types, runs
// the search component over them on its worker thread, lists every found file once per
// report (a report of a file in one of the last two rows adds nothing), shows activity in the
// status bar, and ends with the duration and the found size in the status bar and, unless the
// search was stopped, the box "Поиск завершен.".
//
// The handlers of the worker hand their changes of the controls to the GUI thread and wait
// until they took effect, so each duplicate test sees every row added before it; the rows
// enter the list widget in batches (see ResultListFeed). Stopping a search releases a waiting
// worker at once; closing also drops the changes not yet made.
// Lives on the GUI thread, which must keep serving its event loop while a search runs: the
// search ends there.
class SearchRun : public QObject {
    Q_OBJECT

public:
    // BuildLocation and BuildMask give the ";"-separated roots of the checked locations and
    // masks of the checked junk types (raw bytes; empty when none is checked). Shows an error
    // on the search worker in the box "Application Error" for as long as this object exists.
    SearchRun(const SearchControls& Controls, std::function<std::string()> BuildLocation,
              std::function<std::string()> BuildMask, QObject* Parent = nullptr);
    // Stops a running search as Close does and waits until its worker has ended; no
    // OnSearchFinish follows.
    ~SearchRun() override;

    // The search component, threaded, with the handlers below as its events. The owner sets
    // its path filters and attribute criteria; the locations and masks are set by
    // CheckCriteria.
    TFindFile& FindFile() { return m_findFile; }

    // Sets the criteria's Location and FileName from the two lists, then tells whether a
    // search may start; when not, the warning that says what is missing has been shown.
    bool CheckCriteria();
    // Act_StartFind: checks the criteria, clears the list, switches the controls to the
    // running state and starts the search. A refused start changes nothing else.
    void Act_StartFindExecute();
    // Act_StopFind: asks the running search to stop; it then finishes as usual, without box.
    void Act_StopFindExecute();
    // For the window's close: stops the search, releases a worker waiting for the GUI thread
    // and drops its changes not yet made. The search then finishes without box when the event
    // loop still runs; otherwise the destructor joins the worker.
    void Close();

    // The events of the search component. FindFileFileMatch and FindFileFolderChange run on
    // the search worker, FindFileSearchFinish on the GUI thread after the worker has ended.
    void FindFileFileMatch(TFindFile& Sender, const TFileDetails& FileInfo);
    void FindFileFolderChange(TFindFile& Sender, const std::string& Folder,
                              TFolderIgnore& IgnoreFolder);
    void FindFileSearchFinish(TFindFile& Sender);

    // The state of the last search, read on the GUI thread: its local start time, the folder
    // throttle counter (read it only while no search runs), the total size of the listed
    // files (final once the search finished) and the summary "Продолжительность поиска: " +
    // duration + "." (empty while it runs).
    TDateTime SearchStart() const { return m_searchStart; }
    std::int32_t FolderCounter() const { return m_folderCounter; }
    std::int64_t FoundSize() const { return m_foundSize; }
    const QString& SearchSummary() const { return m_searchSummary; }

private:
    void showApplicationError(const std::string& ClassName, const std::string& Message);

    SearchControls m_controls;
    std::function<std::string()> m_buildLocation;
    std::function<std::string()> m_buildMask;

    TDateTime m_searchStart = 0;
    std::int32_t m_folderCounter = 0; // written only by the worker while a search runs
    std::int64_t m_foundSize = 0;     // GUI thread
    QString m_searchSummary;
    // Measures the duration, which the wall clock would get wrong when it is set meanwhile.
    QElapsedTimer m_duration;
    ResultRowMaker m_rowMaker; // the worker's while a search runs
    ResultListFeed m_feed;

    // Declared before the component: the component's destructor joins the worker, which may
    // still be using the hand-off until then.
    GuiHandOff m_handOff;
    TApplicationErrorHook m_previousErrorHook;
    TFindFile m_findFile;
};

} // namespace velmaro
