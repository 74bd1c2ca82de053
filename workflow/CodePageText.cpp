// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/CodePageText.h"

#include "platform/CodePage.h"

namespace velmaro {

QString CodePageText(std::string_view Bytes) {
    return QString::fromStdU16String(platform::CodePage::system().toUtf16(Bytes));
}

} // namespace velmaro
