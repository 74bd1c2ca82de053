// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velmaro::platform {

// The temporary file name for replacing the file at path: path, ".", six letters or digits
// drawn from random, ".new" ("Velmaro 2.reg.k3Xq9Z.new"). It ends in ".new" and holds no "~"
// or "$", so the cleaner's junk masks never list it.
std::string TemporaryFileName(std::string_view path, std::uint64_t random);

// Whether name (a bare file name) has the form of a temporary name of the file fileName.
bool IsTemporaryFileName(std::string_view fileName, std::string_view name);

// Writes bytes to a new temporary file beside path and renames it over path, so that path
// holds the old or the new bytes whatever happens. The temporary file is created with
// O_CREAT | O_EXCL | O_NOFOLLOW, so nothing planted under its name (a link least of all) is
// followed or written; while a name is taken, random draws another. The file gets mode (the
// permission bits, umask not applied), is flushed before the rename, and the folder after it.
// Returns false, with path unchanged and no temporary file left, when any step fails.
bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode,
                 const std::function<std::uint64_t()>& random);

// ReplaceFile with names drawn from the system's random source.
bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode);

// Removes the temporary files of path that writers left when they ended before their rename
// (a crash, kill -9). Only for callers that hold the lock every writer of path holds, so that
// no temporary file is still being written. Errors are ignored.
void RemoveStaleTemporaryFiles(const std::string& path);

} // namespace velmaro::platform
