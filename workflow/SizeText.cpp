// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/SizeText.h"

#include "cleaner/SizeText.h"

#include <QLocale>

namespace velmaro {

QString SizeToText(double Value) {
    return QString::fromStdString(SizeToText(Value, QLocale().decimalPoint().toStdString()));
}

} // namespace velmaro
