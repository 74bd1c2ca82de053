// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Form_Main.h"

#include "shell/Form_Info.h"
#include "shell/Resources.h"
#include "shell/SkinManager.h"
#include "workflow/Guard.h"
#include "workflow/SearchRun.h"

#include <QCloseEvent>
#include <QSplitter>
#include <QStackedWidget>
#include <QWindow>

namespace velmaro {

TForm_Main* Form_Main = nullptr;

TForm_Main::TForm_Main(const platform::DriveSource& drives, QWidget* parent)
    : QMainWindow(parent), m_drives(drives), m_paneWidth(kDefaultPaneWidth) {
    InitResources();
    createControls();
    createActions();
    createCatalogueMenu();
    sSkinManager = new SkinManager(this);
    sSkinManager->setObjectName(QStringLiteral("sSkinManager"));
    createSearchRun();
    setWindowTitle(QStringLiteral("Velmaro"));
    setWindowIcon(QIcon(QStringLiteral(":/images/velmaro.svg")));
    resize(792, 567);
    // A platform window tells the frame's size, which every outer size includes, and its
    // expose tells when a window manager has framed it.
    winId();
    windowHandle()->installEventFilter(this);
    followFrameMargins();
    Form_Main = this;
    RunGuarded(this, [this] { FormCreate(); });
}

TForm_Main::~TForm_Main() {
    // The search run may still drive the controls until its worker has ended.
    m_searchRun.reset();
    if (Form_Main == this)
        Form_Main = nullptr;
}

TFindFile& TForm_Main::FindFile() {
    return m_searchRun->FindFile();
}

void TForm_Main::ToolButton_InfoClick() {
    TForm_Info about(this);
    about.exec();
}

void TForm_Main::ToolButton_QuitClick() {
    close();
}

void TForm_Main::FormShow() {
    // Lays the pane, its lists and the splitter out again at the size the window is shown at.
    setPaneWidth(m_paneWidth + 1);
    setPaneWidth(m_paneWidth - 1);
}

int TForm_Main::paneWidth() const {
    return sNotebook_Cr->isVisible() ? sSplitter_Main->sizes().value(0) : m_paneWidth;
}

void TForm_Main::setPaneWidth(int width) {
    m_paneWidth = width;
    const int total = sSplitter_Main->width() - sSplitter_Main->handleWidth();
    sSplitter_Main->setSizes({width, std::max(0, total - width)});
}

void TForm_Main::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    followFrameMargins();
    if (!event->spontaneous())
        RunGuarded(this, [this] { FormShow(); });
}

void TForm_Main::closeEvent(QCloseEvent* event) {
    // An error while saving the settings is shown, and the window closes all the same: a
    // settings folder that cannot be written must never keep the user from quitting.
    bool CanClose = true;
    RunGuarded(this, [this, &CanClose] { FormCloseQuery(CanClose); });
    event->setAccepted(CanClose);
}

void TForm_Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    placeOnceFramed();
    layOutFloatingControls();
}

} // namespace velmaro
