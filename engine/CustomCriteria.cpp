// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CustomCriteria.h"

namespace velmaro {

void TCustomCriteria::Assign(const TCustomCriteria* Source) {
    AssignError(Source);
}

void TCustomCriteria::AssignError(const TCustomCriteria* Source) const {
    const std::string sourceName = Source ? Source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

} // namespace velmaro
