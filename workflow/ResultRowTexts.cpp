// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/ResultRowTexts.h"

#include "workflow/CodePageText.h"
#include "workflow/ResultRowStore.h"
#include "workflow/SizeText.h"

#include <limits>

namespace velmaro {

namespace {

// More rows than any window shows at once, so that painting never evicts a row it still needs.
constexpr std::size_t keptRows = 512;
constexpr std::size_t noRow = std::numeric_limits<std::size_t>::max();

} // namespace

ResultRowTexts::ResultRowTexts() : m_entries(keptRows, Entry{noRow, {}}), m_dates(QLocale()) {}

const QString& ResultRowTexts::text(const ResultRowStore& Rows, std::size_t Row, int Column) {
    Entry& entry = m_entries[Row % keptRows];
    if (entry.row != Row) {
        entry.row = Row;
        entry.texts = {CodePageText(Rows.name(Row)), CodePageText(Rows.folder(Row)),
                       SizeToText(static_cast<double>(Rows.fileSize(Row))),
                       m_dates.dateTime(Rows.created(Row))};
    }
    return entry.texts[static_cast<std::size_t>(Column)];
}

void ResultRowTexts::clear() {
    for (Entry& entry : m_entries)
        entry = Entry{noRow, {}};
}

} // namespace velmaro
