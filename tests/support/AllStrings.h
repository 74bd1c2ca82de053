// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmaro::testing {

// Every string of at most maxLength characters drawn from alphabet, the empty one first and
// shorter ones before longer ones: the inputs of the exhaustive comparisons with a reference.
inline std::vector<std::string> allStrings(const std::string& alphabet, std::size_t maxLength) {
    std::vector<std::string> out(1);
    for (std::size_t from = 0; from < out.size(); ++from)
        if (out[from].size() < maxLength)
            for (char c : alphabet)
                out.push_back(out[from] + c);
    return out;
}

} // namespace velmaro::testing
