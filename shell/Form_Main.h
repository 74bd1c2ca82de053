// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/ActionStates.h"

#include <QIcon>
#include <QMainWindow>
#include <QVector>
#include <memory>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QToolButton;
class QTreeView;
class QTreeWidget;

namespace velmaro {

class DeletionPass;
class ResultListModel;
class SearchRun;
class SkinManager;
class TFindFile;

namespace platform {
class DriveSource;
}

// The main window: tool bar with the search, stop, delete, mode, about and quit buttons and a
// hint panel; the junk-type catalogue and the search locations on the left; the result list on
// the right; the status bar with the current folder and a progress bar; and the delete panel
// that replaces the result list while files are deleted.
//
// The members are split by concern over several files: Form_Main.cpp (life cycle and the
// frame's handlers), Form_MainLayout.cpp (the controls), Form_MainActions.cpp (actions and the
// catalogue's popup menu), Form_MainDelete.cpp (the deletion pass and its report),
// Form_MainSettings.cpp (settings read at creation and written at close), Form_MainPlacement.cpp
// (the outer rectangle under a window manager's frame), Form_MainLists.cpp
// (drive list, presets and search strings), Form_MainModes.cpp (full and quick mode). Controls
// are public and carry their names as objectName, so the workflow code and tests reach them.
// The enabled states of the start, stop, delete and mode controls are derived in one place
// (updateActions) from the window's state.
class TForm_Main : public QMainWindow {
    Q_OBJECT

public:
    // Builds the window and runs FormCreate, which lists the drives of drives. An error of
    // FormCreate is shown in the error box and the window is still usable. Sets the global
    // Form_Main to this window. drives must outlive the window.
    explicit TForm_Main(const platform::DriveSource& drives, QWidget* parent = nullptr);
    ~TForm_Main() override;

    // Fills the location list with the drives: fixed ones checked, removable ones unchecked.
    void FillDriveList();

    // The roots of the checked location rows, each followed by ";", as raw bytes; empty when
    // none is checked.
    std::string BuildLocationString() const;
    // The masks of the checked catalogue rows, each followed by ";"; empty when none is checked.
    std::string BuildMaskString() const;

    // The catalogue's popup menu: recommended rows, all rows, no row, inverted checks.
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();

    // Applies the mode that the mode button's down state selects: the notebook page, the hint
    // text and the start action's state.
    void ToolButton_ModeQuickClick();
    // Act_Delete: deletes the files of the checked result rows, one by one, with the delete
    // panel and its bar in place of the list and events processed after each file; removes
    // every attempted row and then shows the report modally. The start, delete and mode
    // controls are disabled meanwhile and enabled again afterwards (delete only when rows
    // remain), also when an error escapes, which is then raised again. Does nothing while a
    // pass runs. When the window is closed during the pass, the pass stops after its current
    // file and no report is shown.
    void Act_DeleteExecute();
    // Shows the about window modally.
    void ToolButton_InfoClick();
    // Asks the window to close, the same way as its close box.
    void ToolButton_QuitClick();

    QFrame* sToolBar = nullptr;
    QToolButton* ToolButton_StartFind = nullptr;
    QToolButton* ToolButton_StopFind = nullptr;
    QToolButton* ToolButton_Delete = nullptr;
    QToolButton* ToolButton_ModeQuick = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton_Info = nullptr;
    QFrame* sPanel_Hint = nullptr;
    QLabel* sLabel_Hint = nullptr;
    QToolButton* ToolButton_Quit = nullptr;

    QSplitter* sSplitter_Main = nullptr;
    QStackedWidget* sNotebook_Cr = nullptr;
    QTreeWidget* sListView_CrExt = nullptr;
    QTreeWidget* sListView_Location = nullptr;
    QTreeWidget* sListView_QC = nullptr;
    QTreeView* sListView_Result = nullptr;

    QStatusBar* sStatusBar = nullptr;
    QProgressBar* sProgressBar_St = nullptr;
    QLabel* sLabel_DirF = nullptr;

    QFrame* sPanel_Delete = nullptr;
    QLabel* sLabel_Delete = nullptr;
    QProgressBar* sProgressBar_Delete = nullptr;

    QObject* ActionList = nullptr;
    QAction* Act_StartFind = nullptr;
    QAction* Act_StopFind = nullptr;
    QAction* Act_Delete = nullptr;
    QAction* Act_QuickClear = nullptr;

    QMenu* PopupMenu_CrExt = nullptr;
    QAction* N1 = nullptr;
    QAction* N5 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;

    SkinManager* sSkinManager = nullptr;

    // The search component: path filters of the cleaner, hidden and system entries found,
    // threaded, its events handled by the window's search run.
    TFindFile& FindFile();
    // The rows of sListView_Result.
    ResultListModel& results() { return *m_results; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Watches the window's platform window for its first expose.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kDefaultPaneWidth = 224;
    static constexpr QSize kMinimumOuterSize{800, 600};

    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& CanClose);

    void createControls();
    QToolButton* addToolButton(const char* name, int image);
    void addToolSeparator();
    void createToolBar();
    void createLeftPane();
    void createResultList();
    void createStatusBar();
    void createDeletePanel();
    void createActions();
    void createCatalogueMenu();
    void createSearchRun();
    // Sets the enabled states of Act_StartFind, Act_StopFind, Act_Delete and
    // ToolButton_ModeQuick from m_actionStates and whether rows are listed. Called whenever one
    // of these facts changes.
    void updateActions();
    // For the window's close: a running deletion pass stops after its current file.
    void stopDeletionForClose();
    void layOutFloatingControls();

    // Places the window's outer (frame) rectangle at outer. A window manager tells the frame's
    // size only once it has framed the window, so the rectangle is applied now with the frame
    // known now, and again when the window is first shown in the normal state (for a window
    // restored maximised: when it is first restored), so that the frame ends up exactly at
    // outer however large the window manager made it.
    void setOuterGeometry(const QRect& outer);
    void applyOuterGeometry();
    // Applies the outer rectangle again if it still waits for the window's frame.
    void placeOnceFramed();
    // Keeps the 800 x 600 minimum on the outer size whenever the frame's size changes.
    void followFrameMargins();
    // The outer rectangle as it is now: the window with its frame.
    QRect outerGeometry() const;

    // The left pane's width: the notebook's width once shown, the width it is to get before.
    int paneWidth() const;
    void setPaneWidth(int width);

    const platform::DriveSource& m_drives;
    ResultListModel* m_results = nullptr;
    ActionStates m_actionStates;
    std::unique_ptr<SearchRun> m_searchRun;
    DeletionPass* m_deletionPass = nullptr; // the running pass, else null
    bool m_closedDuringDeletion = false;
    QVector<QIcon> m_toolImages;
    int m_paneWidth;
    QRect m_outerGeometry;
    bool m_outerGeometryPending = false; // to be applied again once the frame is known
    QRect m_placedGeometry;              // the client rectangle it was last applied as
    QRect m_maximisedGeometry;           // the client rectangle while last maximised
    QMargins m_frameMargins;             // the frame the minimum size was set for
};

// The one main window while it exists, else null.
extern TForm_Main* Form_Main;

} // namespace velmaro
