#pragma once

#include "workflow/DateTimeText.h"
#include "workflow/ResultRow.h"

#include <QLocale>
#include <QString>
#include <string>

namespace velmaro {

struct TFileDetails;

// Builds the result rows of one search on the search worker, so that the GUI thread only
// inserts them. Not thread-safe: one thread at a time.
class ResultRowMaker {
public:
    // Dates in the formats of Locale; sizes in those of the default locale.
    explicit ResultRowMaker(const QLocale& Locale = QLocale());

    // The row of File: its bytes, its size, and its texts.
    ResultRow make(const TFileDetails& File);

private:
    DateTimeText m_dates;
    // Files of one folder arrive together: its display text is converted once.
    std::string m_folder;
    QString m_folderText;
};

} // namespace velmaro
