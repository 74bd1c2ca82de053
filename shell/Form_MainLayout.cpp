// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's controls: their kinds, names, captions, sizes and places.

#include "shell/ColumnSizer.h"
#include "shell/ElidedCellToolTip.h"
#include "shell/Form_Main.h"
#include "workflow/CatalogueList.h"
#include "workflow/ResultListModel.h"

#include <QFontInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmaro {
namespace {

constexpr int kToolBarHeight = 70;
constexpr int kToolButtonWidth = 71;
constexpr int kToolSeparatorWidth = 8;
constexpr int kStatusBarHeight = 19;
constexpr int kLabelDirFLeft = 230;
constexpr int kLabelDirFRightGap = 15;

// The delete panel has no anchors: its centre keeps its proportional place in the client
// area, which is (292 + 425 / 2, 239 + 66 / 2) in the 792 x 567 design.
constexpr double kDeletePanelCentreX = (292 + 425 / 2.0) / 792.0;
constexpr double kDeletePanelCentreY = (239 + 66 / 2.0) / 567.0;

const char* const kToolImages[] = {"start", "stop",        "delete", "quick",
                                   "spare", "placeholder", "about",  "quit"};

QFont tahoma(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // The Tahoma of fonts-wine draws a true bold at these sizes only from its bitmap strikes,
    // which smoothing skips; smoothed, its bold looks like its regular face spaced wider.
    if (bold && QFontInfo(font).family() == QLatin1String("Tahoma"))
        font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// Makes list a read-only report-style list with check boxes whose headers ignore clicks.
void setUpCheckList(QTreeView* list, const char* name) {
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->setAlternatingRowColors(true);
    list->header()->setSectionsClickable(false);
    list->header()->setSectionsMovable(false);
}

QTreeWidget* makeCheckList(QWidget* parent, const char* name, const QStringList& headers) {
    auto* list = new QTreeWidget(parent);
    setUpCheckList(list, name);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    return list;
}

QProgressBar* makeProgressBar(QWidget* parent, const char* name) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

} // namespace

void TForm_Main::createControls() {
    setObjectName(QStringLiteral("Form_Main"));
    setFont(tahoma(11, false));
    for (const char* image : kToolImages)
        m_toolImages.append(QIcon(QStringLiteral(":/images/tool-%1.svg").arg(image)));

    createToolBar();
    auto* client = new QWidget(this);
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    sSplitter_Main = new QSplitter(Qt::Horizontal, client);
    sSplitter_Main->setObjectName(QStringLiteral("sSplitter_Main"));
    sSplitter_Main->setHandleWidth(4);
    sSplitter_Main->setOpaqueResize(false);
    sSplitter_Main->setChildrenCollapsible(false);
    clientLayout->addWidget(sSplitter_Main);
    setCentralWidget(client);
    createLeftPane();
    createResultList();
    sSplitter_Main->setStretchFactor(0, 0);
    sSplitter_Main->setStretchFactor(1, 1);
    createStatusBar();
    createDeletePanel();
}

QToolButton* TForm_Main::addToolButton(const char* name, int image) {
    auto* button = new QToolButton(sToolBar);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(kToolButtonWidth, kToolBarHeight);
    button->setIconSize(QSize(64, 64));
    button->setIcon(m_toolImages[image]);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    sToolBar->layout()->addWidget(button);
    return button;
}

void TForm_Main::addToolSeparator() {
    auto* separator = new QFrame(sToolBar);
    separator->setProperty("toolSeparator", true);
    separator->setFixedSize(kToolSeparatorWidth, kToolBarHeight);
    sToolBar->layout()->addWidget(separator);
}

void TForm_Main::createToolBar() {
    sToolBar = new QFrame(this);
    sToolBar->setObjectName(QStringLiteral("sToolBar"));
    sToolBar->setFixedHeight(kToolBarHeight);
    auto* layout = new QHBoxLayout(sToolBar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ToolButton_StartFind = addToolButton("ToolButton_StartFind", 0);
    ToolButton_StopFind = addToolButton("ToolButton_StopFind", 1);
    ToolButton_Delete = addToolButton("ToolButton_Delete", 2);
    addToolSeparator();
    ToolButton_ModeQuick = addToolButton("ToolButton_ModeQuick", 3);
    ToolButton_ModeQuick->setCheckable(true);
    addToolSeparator();
    ToolButton3 = addToolButton("ToolButton3", 5);
    ToolButton3->setEnabled(false);
    addToolSeparator();
    ToolButton_Info = addToolButton("ToolButton_Info", 6);

    sPanel_Hint = new QFrame(sToolBar);
    sPanel_Hint->setObjectName(QStringLiteral("sPanel_Hint"));
    sPanel_Hint->setFixedSize(185, kToolBarHeight);
    sPanel_Hint->setFrameShape(QFrame::Box);
    sPanel_Hint->setLineWidth(1);
    sLabel_Hint = new QLabel(sPanel_Hint);
    sLabel_Hint->setObjectName(QStringLiteral("sLabel_Hint"));
    sLabel_Hint->setGeometry(1, 1, 183, 68);
    sLabel_Hint->setFont(tahoma(11, true));
    sLabel_Hint->setAlignment(Qt::AlignCenter);
    sLabel_Hint->setWordWrap(true);
    layout->addWidget(sPanel_Hint);

    ToolButton_Quit = addToolButton("ToolButton_Quit", 7);
    addToolSeparator();
    layout->addStretch(1);
    setMenuWidget(sToolBar);
}

void TForm_Main::createLeftPane() {
    sNotebook_Cr = new QStackedWidget(sSplitter_Main);
    sNotebook_Cr->setObjectName(QStringLiteral("sNotebook_Cr"));

    auto* full = new QWidget(sNotebook_Cr);
    full->setObjectName(QStringLiteral("full"));
    auto* fullLayout = new QVBoxLayout(full);
    fullLayout->setContentsMargins(0, 0, 0, 0);
    fullLayout->setSpacing(4);
    sListView_CrExt =
        makeCheckList(full, "sListView_CrExt", {QStringLiteral("Тип"), QStringLiteral("Описание")});
    new ColumnSizer(sListView_CrExt, {{70, 70}, {0, 63}});
    ElidedCellToolTip::install(sListView_CrExt);
    sListView_CrExt->setContextMenuPolicy(Qt::CustomContextMenu);
    FillCatalogueList(*sListView_CrExt);
    fullLayout->addWidget(sListView_CrExt, 1);
    sListView_Location =
        makeCheckList(full, "sListView_Location", {QStringLiteral("Места для поиска")});
    sListView_Location->setIconSize(QSize(16, 16));
    sListView_Location->setFixedHeight(128);
    new ColumnSizer(sListView_Location, {{0, 0}});
    ElidedCellToolTip::install(sListView_Location);
    fullLayout->addWidget(sListView_Location);
    sNotebook_Cr->addWidget(full);

    auto* quick = new QWidget(sNotebook_Cr);
    quick->setObjectName(QStringLiteral("quick"));
    auto* quickLayout = new QVBoxLayout(quick);
    quickLayout->setContentsMargins(0, 0, 0, 0);
    sListView_QC = makeCheckList(quick, "sListView_QC", {QStringLiteral("Быстрая очистка")});
    sListView_QC->setEnabled(false);
    new ColumnSizer(sListView_QC, {{0, 0}});
    quickLayout->addWidget(sListView_QC);
    sNotebook_Cr->addWidget(quick);

    sSplitter_Main->addWidget(sNotebook_Cr);
}

void TForm_Main::createResultList() {
    // The list sits on a page of its own, which keeps the list's place in the splitter while the
    // deletion pass hides the list: the left pane keeps its width.
    auto* page = new QWidget(sSplitter_Main);
    page->setObjectName(QStringLiteral("resultPage"));
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    m_results = new ResultListModel(this);
    sListView_Result = new QTreeView(page);
    setUpCheckList(sListView_Result, "sListView_Result");
    sListView_Result->setModel(m_results);
    new ColumnSizer(sListView_Result, {{0, 120}, {0, 200}, {70, 70}, {120, 120}});
    ElidedCellToolTip::install(sListView_Result);
    pageLayout->addWidget(sListView_Result);
    sSplitter_Main->addWidget(page);
}

void TForm_Main::createStatusBar() {
    sStatusBar = new QStatusBar(this);
    sStatusBar->setObjectName(QStringLiteral("sStatusBar"));
    sStatusBar->setFixedHeight(kStatusBarHeight);
    setStatusBar(sStatusBar);

    sProgressBar_St = makeProgressBar(sStatusBar, "sProgressBar_St");
    sProgressBar_St->setGeometry(0, 2, 224, 16);
    sProgressBar_St->hide();

    sLabel_DirF = new QLabel(sStatusBar);
    sLabel_DirF->setObjectName(QStringLiteral("sLabel_DirF"));
    sLabel_DirF->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    sLabel_DirF->setGeometry(kLabelDirFLeft, 2, 1, 13);
}

void TForm_Main::createDeletePanel() {
    sPanel_Delete = new QFrame(this);
    sPanel_Delete->setObjectName(QStringLiteral("sPanel_Delete"));
    sPanel_Delete->setFixedSize(425, 66);
    sPanel_Delete->setFrameShape(QFrame::StyledPanel);

    auto* picture = new QLabel(sPanel_Delete);
    picture->setGeometry(8, 8, 48, 48);
    picture->setPixmap(QIcon(QStringLiteral(":/images/delete-panel.svg")).pixmap(48, 48));

    sLabel_Delete = new QLabel(QStringLiteral("Удаление"), sPanel_Delete);
    sLabel_Delete->setObjectName(QStringLiteral("sLabel_Delete"));
    sLabel_Delete->setGeometry(62, 8, 355, 17);
    sLabel_Delete->setFont(tahoma(13, true));
    sLabel_Delete->setAlignment(Qt::AlignCenter);

    sProgressBar_Delete = makeProgressBar(sPanel_Delete, "sProgressBar_Delete");
    sProgressBar_Delete->setGeometry(62, 36, 355, 20);
    sPanel_Delete->hide();
}

void TForm_Main::layOutFloatingControls() {
    sLabel_DirF->setGeometry(kLabelDirFLeft, 2,
                             std::max(0, width() - kLabelDirFLeft - kLabelDirFRightGap), 13);
    const int left = qRound(width() * kDeletePanelCentreX - sPanel_Delete->width() / 2.0);
    const int top = qRound(height() * kDeletePanelCentreY - sPanel_Delete->height() / 2.0);
    sPanel_Delete->move(left, top);
    sPanel_Delete->raise();
}

} // namespace velmaro
