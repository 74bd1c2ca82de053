// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileIdentity.h"

#include <cstdint>
#include <string>

namespace velmaro {

// The rows a deletion pass works through: the result list as the pass sees it. Folder and name
// are the raw bytes the search reported, never a display text.
class DeletionRows {
public:
    virtual ~DeletionRows() = default;

    // The current number of rows, checked and unchecked.
    virtual int Count() const = 0;
    virtual bool isChecked(int row) const = 0;
    // The file's folder, ending in "/".
    virtual std::string folder(int row) const = 0;
    virtual std::string name(int row) const = 0;
    // The file's size in bytes as the search listed it.
    virtual std::int64_t size(int row) const = 0;
    // The file's identity as the search described it.
    virtual platform::FileIdentity identity(int row) const = 0;
    // Removes the row; the rows after it move up by one.
    virtual void removeRow(int row) = 0;
};

} // namespace velmaro
