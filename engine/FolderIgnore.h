// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmaro {

// The answer of an OnFolderChange handler for the folder just entered.
enum TFolderIgnore {
    fiNone,              // search the folder's files and its subfolders
    fiJustThis,          // skip this folder's files, still enter its subfolders
    fiJustSubfolders,    // search this folder's files, do not enter its subfolders
    fiThisAndSubfolders, // skip both
};

} // namespace velmaro
