// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ApplicationError.h"
#include "engine/DateTime.h"
#include "engine/FindFile.h"
#include "workflow/GuiHandOff.h"
#include "workflow/ResultRowStore.h"
#include "workflow/SearchHandOff.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class QLabel;
class QProgressBar;
class QWidget;

namespace velmaro {

class ResultListModel;

// The main window's parts that a search run drives. None may be null.
struct SearchControls {
    QWidget* Window;           // the main window: parent of the message boxes
    ResultListModel* Results;  // the rows of sListView_Result
    QLabel* FolderLabel;       // sLabel_DirF
    QProgressBar* ProgressBar; // sProgressBar_St, range 0 to 100
};

// One search of the main window at a time: checks the chosen locations and junk types, runs
// the search component over them on its worker thread, lists every found file once per
// report (a report of a file in one of the last two rows adds nothing), shows activity in the
// status bar, and ends with the duration and the found size in the status bar and, unless the
// search was stopped, the box "Поиск завершен.". The window derives its actions' enabled
// states from running() and runningChanged().
//
// The handlers on the worker change no control: they record the rows, the folder to show and
// the bar's steps in a SearchHandOff, and the GUI thread moves what is recorded into the list,
// the label and the bar in batches, on a timer and when the search finishes, before anything
// else of the finish. Stopping lists every row found so far; closing drops what was not yet
// listed. Lives on the GUI thread, which must keep serving its event loop while a search runs:
// the search ends there.
class SearchRun : public QObject {
    Q_OBJECT

public:
    // BuildLocation and BuildMask give the ";"-separated roots of the checked locations and
    // masks of the checked junk types (raw bytes; empty when none is checked). Shows an error
    // on the search worker in the box "Application Error" for as long as this object exists.
    // HandOffCapacity is the number of rows the worker may record before it waits for the GUI
    // thread to take them (see SearchHandOff).
    SearchRun(const SearchControls& Controls, std::function<std::string()> BuildLocation,
              std::function<std::string()> BuildMask,
              std::size_t HandOffCapacity = SearchHandOff::DefaultCapacity,
              QObject* Parent = nullptr);
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
    // Act_StartFind: checks the criteria, clears the list, shows the bar, starts the search and
    // reports running() as true. A refused start changes nothing else.
    void Act_StartFindExecute();
    // Act_StopFind: asks the running search to stop; it then finishes as usual, without box,
    // with every row found until then listed.
    void Act_StopFindExecute();
    // For the window's close: stops the search and drops what it found but did not list yet;
    // a worker waiting for the GUI thread goes on at once. The search then finishes without
    // box when the event loop still runs; otherwise the destructor joins the worker.
    void Close();

    // The events of the search component. FindFileFileMatch and FindFileFolderChange run on
    // the search worker (or on the GUI thread when the component is not threaded),
    // FindFileSearchFinish on the GUI thread after the worker has ended.
    void FindFileFileMatch(TFindFile& Sender, const TFileDetails& FileInfo);
    void FindFileFolderChange(TFindFile& Sender, const std::string& Folder,
                              TFolderIgnore& IgnoreFolder);
    void FindFileSearchFinish(TFindFile& Sender);

    // GUI thread: moves the rows, the folder and the bar's steps recorded so far into the
    // controls now. The timer and the finish call it; nothing is lost by calling it more often.
    void applyRecorded();

    // Whether a search started and its finish handler has not yet run.
    bool running() const { return m_running; }

    // The state of the last search, read on the GUI thread: its local start time, the folder
    // throttle counter (read it only while no search runs), the total size of the listed
    // files (final once the search finished) and the summary "Продолжительность поиска: " +
    // duration + "." (empty while it runs).
    TDateTime SearchStart() const { return m_searchStart; }
    std::int32_t FolderCounter() const { return m_folderCounter; }
    std::int64_t FoundSize() const { return m_foundSize; }
    const QString& SearchSummary() const { return m_searchSummary; }

Q_SIGNALS:
    // A search started (true) or its finish handler began (false): emitted after the list is
    // cleared, and at the finish after every row is listed and before the summary and box.
    void runningChanged(bool Running);

private:
    void showApplicationError(const std::string& ClassName, const std::string& Message);

    SearchControls m_controls;
    std::function<std::string()> m_buildLocation;
    std::function<std::string()> m_buildMask;

    bool m_running = false;
    TDateTime m_searchStart = 0;
    std::int32_t m_folderCounter = 0; // written only by the worker while a search runs
    std::int64_t m_foundSize = 0;     // written only by the worker while a search runs
    QString m_searchSummary;
    // Measures the duration, which the wall clock would get wrong when it is set meanwhile.
    QElapsedTimer m_duration;
    QTimer m_applyTimer;
    ResultRowStore m_taken; // the rows of the last take, kept for their memory

    // Declared before the component: the component's destructor joins the worker, which may
    // still be using the hand-offs until then.
    SearchHandOff m_handOff;
    GuiHandOff m_errorHandOff; // the error box, for which the worker waits
    TApplicationErrorHook m_previousErrorHook;
    TFindFile m_findFile;
};

} // namespace velmaro
