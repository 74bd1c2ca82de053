// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ContentSearchOptions.h"
#include "engine/StringVariants.h"
#include "platform/FileStream.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace velmaro {

// The error of a file that cannot be opened for the content search.
class EFOpenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The number of bytes each search asks for per read.
inline constexpr std::size_t ContentBlockSize = 61440;

// Opens FileName (raw path bytes) and searches it for the phrase in the encoding its first
// bytes announce: FF FE little-endian UTF-16, FE FF big-endian UTF-16, EF BB BF UTF-8, anything
// else 8-bit text in the system's code page. The mark itself is never searched. Returns the test
// result: whether the phrase was found, inverted by csoNegate. Throws EFOpenError when the file
// cannot be opened or is not a regular file. The file is closed in every case.
bool SearchFile(const std::string& FileName, const TStringVariants& Variants,
                TContentSearchOptions Options);

// The three searches run from File's position to its end in one forward pass, in blocks of
// ContentBlockSize bytes, and return the test result as SearchFile does. Length counts units of
// the phrase (bytes, UTF-16 code units, bytes); a phrase of no units is never found. A partial
// match that breaks is not searched again from its second unit: the search goes on with the
// unit at which it broke (so "aab" is not found in "aaab"). With csoWholeWord the units before
// and after a match must be delimiters (the ends of the text count as delimiters); a unit read
// ahead from the file for that test is given back.

// 8-bit text; case folding and word tests through the 8-bit character tables.
bool SearchAnsi(platform::FileStream& File, const char* Phrase, std::size_t Length,
                TContentSearchOptions Options);

// UTF-16 text, little-endian, or big-endian when Swap; Phrase is in host byte order. An odd
// last byte of the file belongs to no unit.
bool SearchUtf16(platform::FileStream& File, const char16_t* Phrase, std::size_t Length, bool Swap,
                 TContentSearchOptions Options);

// UTF-8 text: bytes folded through the 8-bit tables; a match must start at a character start
// (a character is at most 8 bytes), and the word tests decode the neighbouring characters to
// one UTF-16 unit each (one that does not decode so counts as a delimiter).
bool SearchUtf8(platform::FileStream& File, const char* Phrase, std::size_t Length,
                TContentSearchOptions Options);

} // namespace velmaro
