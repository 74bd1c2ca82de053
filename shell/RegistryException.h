// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

namespace velmaro {

// A failure of the settings store; what() is the text shown to the user, such as
// "Invalid data type for 'W'".
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace velmaro
