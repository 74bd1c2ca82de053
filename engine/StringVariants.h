// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmaro {

// A search phrase prepared once in the three encodings a file may hold.
struct TStringVariants {
    std::string Ansi;       // as given, in the system's 8-bit code page
    std::u16string Unicode; // UTF-16 code units in host byte order
    std::string Utf8;       // UTF-8 bytes
};

// An 8-bit string of the system's code page as UTF-16 (MultiByteToWideChar from the system's
// code page, the string taken as NUL-terminated: conversion stops at the first NUL byte).
// Bytes that form no character of the code page become U+FFFD. Empty gives empty.
std::u16string AnsiToUnicode(const std::string& S);

// The three forms of S: S itself, AnsiToUnicode(S), and that as UTF-8.
TStringVariants MakeStringVariants(const std::string& S);

} // namespace velmaro
