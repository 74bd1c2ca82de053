// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTreeWidget;

namespace velmaro {

// Fills list with the junk-type catalogue, one unchecked row per type in catalogue order:
// caption = mask (also the row's value), second column = description, category key and
// recommended flag carried under CategoryKeyRole and RecommendedRole (see CheckList.h).
void FillCatalogueList(QTreeWidget& list);

} // namespace velmaro
