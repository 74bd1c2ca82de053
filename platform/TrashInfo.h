// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmaro::platform {

// The texts of the desktop's trash (the freedesktop.org trash layout), apart from the file
// system work: what a ".trashinfo" file says and which names a trashed file may take.

// Path percent-encoded as a trash info file's Path= wants it (RFC 2396): letters, digits,
// "-_.!~*'()" and "/" stand as they are; every other byte, those from 0x80 up included,
// becomes "%" and two upper-case hexadecimal digits.
std::string PercentEncodedPath(std::string_view path);

// The whole text of a ".trashinfo" file for a file trashed from path (percent-encoded here;
// absolute for the home trash, relative to the top directory for a drive's trash) at
// deletionDate (local time, "YYYY-MM-DDThh:mm:ss").
std::string TrashInfoText(std::string_view path, std::string_view deletionDate);

// The name the number-th try gives a file named name in the trash: name itself for 1, else
// the number put before the extension ("a.tmp" takes "a.2.tmp", "README" takes "README.2",
// ".hidden" takes ".hidden.2"). The name is shortened where needed so that it and its
// ".trashinfo" name both fit into a folder entry (255 bytes), the number and the extension
// kept, the part before them cut.
std::string TrashEntryName(std::string_view name, unsigned number);

// The file name of the info file of a trash entry: entry + ".trashinfo".
std::string TrashInfoName(std::string_view entry);

} // namespace velmaro::platform
