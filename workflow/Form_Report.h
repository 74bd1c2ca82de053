// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace velmaro {

// The report shown at the end of a deletion pass: the date, the search summary, the number of
// deleted files, the freed space and the paths of the files that survived, in a read-only
// text box, with a button (and a context-menu item) that saves the text as a file. Its text
// is built once when it is created. Message boxes and the file dialog go through
// Prompts::current().
class TForm_Report : public QDialog {
    Q_OBJECT

public:
    // searchSummary: the summary line of the last search. failedFiles: the full paths of the
    // surviving files as raw bytes, in the order of the pass. owner: the window the report is
    // centred over (the main window).
    TForm_Report(QWidget* owner, const QString& searchSummary, int deletedCount,
                 std::int64_t freedSize, const std::vector<std::string>& failedFiles);

    // Asks for a file name and saves the report under it (".txt" appended unless the name
    // has that extension), in the system's code page with CR LF line ends; the failed paths
    // are written as their raw bytes. Says "Отчёт сохранён." or, on any failure,
    // "Ошибка при сохранении отчёта."; the window stays open either way. A cancelled dialog
    // does nothing.
    void N1Click();

    // Closes the window, which ends its modal run.
    void sBitBtn_CloseClick();

private:
    void buildControls();
    void FormCreate(const QString& searchSummary, int deletedCount, std::int64_t freedSize,
                    const std::vector<std::string>& failedFiles);

    QLabel* m_imageTitle = nullptr;
    QPlainTextEdit* m_memoReport = nullptr;
    QPushButton* m_saveReport = nullptr;
    QPushButton* m_close = nullptr;
    QMenu* m_popupMenu = nullptr;
    // The report's lines as they are saved; the text box shows them through the code page.
    std::vector<std::string> m_fileLines;
};

} // namespace velmaro
