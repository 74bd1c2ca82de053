// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "workflow/DateTimeText.h"

#include <QLocale>
#include <QString>
#include <array>
#include <cstddef>
#include <vector>

namespace velmaro {

class ResultRowStore;

// The texts a result row shows, made from its bytes and numbers when the row is first painted
// and kept for the last few hundred rows asked for (a screenful is a few dozen), so that the
// texts never cost memory for every row of a long list. The columns: the name and the folder
// through the system's code page, SizeToText of the size, the creation time as the short date
// and the long time (the date alone at midnight). GUI thread.
class ResultRowTexts {
public:
    static constexpr int ColumnCount = 4;

    // Dates and sizes in the formats of the default locale as it is at construction.
    ResultRowTexts();

    // The text of column Column (0 to 3) of row Row of Rows.
    const QString& text(const ResultRowStore& Rows, std::size_t Row, int Column);
    // Forgets every kept text: after rows moved or the code page changed.
    void clear();

private:
    struct Entry {
        std::size_t row;
        std::array<QString, ColumnCount> texts;
    };

    std::vector<Entry> m_entries; // an entry for row r sits at r % size, the newest one wins
    DateTimeText m_dates;
};

} // namespace velmaro
