// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegistryTree.h"

#include <cstddef>
#include <functional>
#include <string>

namespace velmaro::platform {

// The current user's registry hive kept in one file in the text form of a registry export
// (see RegistryFormat.h). Reads take no lock: writers replace the file in one rename, so a
// reader sees either the old or the new file. Every write is read-modify-write under an
// exclusive flock on "<file>.lock" beside it and a mutex inside the process, so concurrent
// writers (threads or processes) never lose each other's values, and values this program
// does not know survive.
//
// The file is opened without blocking, so a FIFO or a device in its place cannot stall the
// program; anything but a regular file of at most MaxFileSize bytes is unreadable. A file
// that is a symbolic link is read and written through the link: the file at the end of the
// link is replaced in its own folder, and the link stays.
class Registry {
public:
    // The largest file read: a thousand times what the program stores, and read within a
    // fraction of a second.
    static constexpr std::size_t MaxFileSize = 4 * 1024 * 1024;

    // How an update ended.
    enum class UpdateResult {
        Done,         // written, or nothing to write because the edit changed nothing
        FolderFailed, // the folder or the lock file could not be created or opened
        ReadFailed,   // the present file exists but could not be read; it was left alone
        WriteFailed,  // the new file could not be written; the present file is unchanged
    };

    // A registry kept in the file at filePath (raw bytes, used as given).
    explicit Registry(std::string filePath);

    // "$XDG_CONFIG_HOME/Quarno Labs/Velmaro 2.reg", with ~/.config when XDG_CONFIG_HOME is
    // unset or not an absolute path. Empty when no home folder is known.
    static std::string DefaultPath();

    const std::string& filePath() const { return m_filePath; }

    // The hive as the file holds it now. A missing, unreadable or unparsable file reads as an
    // empty hive, so callers see their defaults. Returns at once whatever the file is; the
    // time grows linearly with its size. Any thread.
    RegistryTree read() const;

    // Runs edit on the hive as the file holds it under the locks and writes the result: to a
    // temporary file with a random name in the same folder ("<file>.XXXXXX.new", created
    // O_EXCL | O_NOFOLLOW; the folder is created with its parents when missing, mode 0700),
    // flushed to disk, then renamed over the file, which keeps its permission bits (a new
    // file gets 0600). Temporary files that killed writers left behind are removed. A file
    // that cannot be used (not parsable, not a regular file, larger than MaxFileSize) is
    // first moved aside as "<file>.bad" ("<file>.2.bad", ... when that exists, so none is
    // ever lost) and the edit starts from an empty hive. When the edit changes nothing,
    // nothing is written. Any thread; writers wait for each other.
    UpdateResult update(const std::function<void(RegistryTree&)>& edit) const;

private:
    std::string m_filePath;
};

} // namespace velmaro::platform
