// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegistryTree.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmaro::platform {

// Reads the text of a Windows registry export ("Windows Registry Editor Version 5.00",
// "[key]" lines, "name"="text", @=, dword:, hex: and hex(n): with "\" continuation lines,
// ";" comments), encoded as UTF-8 (with or without a byte-order mark) or as UTF-16LE with a
// byte-order mark, as regedit writes it. Returns nothing when the text is not such an export
// or is cut short: invalid encoding, a missing header, a line of another form, a last line
// without its line end. Deletion entries ("[-key]", "name"=-) are not accepted, nor any key
// path or value name that FormatRegistryText would refuse, so every tree read can be written
// again. Time and memory grow linearly with the size of the text.
std::optional<RegistryTree> ParseRegistryText(std::string_view bytes);

// The tree as the text of a registry export that regedit imports: UTF-8, CR LF line ends,
// a blank line after the header and after every key. Text values that form clean text are
// written in quotes, REG_DWORD values of four bytes as dword:, everything else as hex(n):.
// Returns nothing when a key path or value name cannot be written in that form (see below).
// ParseRegistryText reads what this writes back as an equal tree.
std::optional<std::string> FormatRegistryText(const RegistryTree& tree);

// Whether a key path can be written and read back: not empty, not beginning with "-" (which
// would read as a deletion), valid UTF-8 without a CR or LF.
bool IsWritableKeyPath(std::string_view path);

// Whether a value name can be written and read back: valid UTF-8 without a CR or LF.
bool IsWritableValueName(std::string_view name);

} // namespace velmaro::platform
