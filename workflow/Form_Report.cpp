// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/Form_Report.h"

#include "cleaner/ReportFile.h"
#include "cleaner/ReportLines.h"
#include "workflow/CodePageText.h"
#include "workflow/Prompts.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <exception>

namespace velmaro {

namespace {

const QString SaveCaption = QStringLiteral("Сохранить отчёт");
const QString SaveFilter = QStringLiteral("Text file (*.txt *.TXT)");
const QString DefaultFileName = QStringLiteral("Report.txt");

// The title picture: a sheet of paper with lines of text and a folded corner.
QPixmap titlePicture() {
    QPixmap picture(48, 63);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPolygonF sheet({{4, 2}, {34, 2}, {44, 12}, {44, 60}, {4, 60}});
    painter.setPen(QPen(QColor(90, 110, 140), 1.5));
    painter.setBrush(Qt::white);
    painter.drawPolygon(sheet);
    painter.drawPolyline(QPolygonF({{34, 2}, {34, 12}, {44, 12}}));
    painter.setPen(QPen(QColor(150, 170, 200), 2));
    for (int y = 20; y <= 52; y += 8)
        painter.drawLine(QPointF(10, y), QPointF(y == 52 ? 26 : 38, y));
    return picture;
}

} // namespace

TForm_Report::TForm_Report(QWidget* owner, const QString& searchSummary, int deletedCount,
                           std::int64_t freedSize, const std::vector<std::string>& failedFiles)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    buildControls();
    FormCreate(searchSummary, deletedCount, freedSize, failedFiles);
}

void TForm_Report::buildControls() {
    setObjectName(QStringLiteral("Form_Report"));
    setWindowTitle(QStringLiteral("Отчёт"));
    setFixedSize(616, 444);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    m_imageTitle = new QLabel(this);
    m_imageTitle->setObjectName(QStringLiteral("Image_Title"));
    m_imageTitle->setGeometry(7, 8, 48, 63);
    m_imageTitle->setPixmap(titlePicture());

    m_memoReport = new QPlainTextEdit(this);
    m_memoReport->setObjectName(QStringLiteral("sMemo_Report"));
    m_memoReport->setGeometry(62, 8, 549, 398);
    m_memoReport->setReadOnly(true);
    m_memoReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memoReport->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memoReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = m_memoReport->palette();
    palette.setColor(QPalette::Base, QColor(237, 245, 255));
    palette.setColor(QPalette::Text, Qt::black);
    m_memoReport->setPalette(palette);

    const QIcon saveGlyph = style()->standardIcon(QStyle::SP_DialogSaveButton);
    m_saveReport = new QPushButton(saveGlyph, SaveCaption, this);
    m_saveReport->setObjectName(QStringLiteral("sBitBtn_SaveReport"));
    m_saveReport->setGeometry(62, 412, 237, 25);
    m_saveReport->setIconSize(QSize(16, 16));
    m_saveReport->setAutoDefault(false);
    connect(m_saveReport, &QPushButton::clicked, this, &TForm_Report::N1Click);

    m_close = new QPushButton(QStringLiteral("OK"), this);
    m_close->setObjectName(QStringLiteral("sBitBtn_Close"));
    m_close->setGeometry(305, 412, 306, 25);
    m_close->setDefault(true);
    connect(m_close, &QPushButton::clicked, this, &TForm_Report::sBitBtn_CloseClick);

    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu_Report"));
    QAction* saveItem = m_popupMenu->addAction(saveGlyph, SaveCaption);
    saveItem->setObjectName(QStringLiteral("N1"));
    connect(saveItem, &QAction::triggered, this, &TForm_Report::N1Click);
    m_memoReport->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_memoReport, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        m_popupMenu->popup(m_memoReport->viewport()->mapToGlobal(at));
    });

    setTabOrder(m_close, m_saveReport);
    setTabOrder(m_saveReport, m_memoReport);
    m_close->setFocus();
}

void TForm_Report::FormCreate(const QString& searchSummary, int deletedCount,
                              std::int64_t freedSize, const std::vector<std::string>& failedFiles) {
    const QLocale locale;
    const std::string date =
        locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    const std::string summary = searchSummary.toStdString();
    const std::string decimalSeparator = locale.decimalPoint().toStdString();
    m_fileLines =
        ReportLines({date, summary, decimalSeparator, deletedCount, freedSize, failedFiles});
    for (const std::string& line : m_fileLines)
        m_memoReport->appendPlainText(CodePageText(line));
}

void TForm_Report::N1Click() {
    Prompts& prompts = Prompts::current();
    try {
        const QString chosen = prompts.saveFileName(this, QString(), DefaultFileName, SaveFilter);
        if (chosen.isEmpty())
            return;
        // Encoded as the dialog decoded the names it listed, so a picked file is found again.
        const std::string name = ReportFileName(QFile::encodeName(chosen).toStdString());
        if (WriteReportFile(name, m_fileLines)) {
            prompts.message(this, Prompts::Icon::Information, QString(),
                            QStringLiteral("Отчёт сохранён."));
            return;
        }
    } catch (const std::exception&) {
        // Reported below like a failed write.
    }
    prompts.message(this, Prompts::Icon::Warning, QString(),
                    QStringLiteral("Ошибка при сохранении отчёта."));
}

void TForm_Report::sBitBtn_CloseClick() {
    close();
}

} // namespace velmaro
