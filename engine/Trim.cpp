// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Trim.h"

namespace velmaro {

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

std::string_view Trim(std::string_view Text) {
    while (!Text.empty() && isBlank(Text.front()))
        Text.remove_prefix(1);
    while (!Text.empty() && isBlank(Text.back()))
        Text.remove_suffix(1);
    return Text;
}

} // namespace velmaro
