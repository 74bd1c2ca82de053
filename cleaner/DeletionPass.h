// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace velmaro {

class DeletionRows;
class FileDisposal;

// Works through the rows top to bottom: hands the file of every checked row to the disposal
// (delete it, move it into the trash, or only look) and removes every row it attempted;
// unchecked rows stay in their order. It counts the files that went with the sizes the search
// listed (the sizes only where the disposal frees space) and collects the paths of the files
// that stayed, in the order of the pass. A file counts once: a row whose path this pass has
// already counted as gone adds nothing and is not attempted again. The totals stay readable
// after Execute, also when an exception escaped from it. Runs on the thread that owns the rows
// (the GUI thread in the window).
class DeletionPass {
public:
    // What became of the file of one attempted row.
    enum class FileResult {
        gone,          // deleted, moved (or, in a preview, would be): counted
        failed,        // still present: among the failed files
        countedEarlier // the same path went through an earlier row: nothing counted
    };

    // One attempted row, as onFileDone receives it; the references live for the call only.
    struct FileDone {
        const std::string& Path; // the full path, raw bytes
        std::int64_t Size;       // the size the search listed
        FileResult Result;
    };

    // Rows and disposal must outlive the pass.
    DeletionPass(DeletionRows& rows, FileDisposal& disposal) : m_rows(rows), m_disposal(disposal) {}

    // Called after each attempted row, once it is removed: the place to move a progress bar, to
    // process pending window events, to print a result. Not called for unchecked rows.
    std::function<void(const FileDone&)> onFileDone;

    // Runs the pass from the first row. Resets the totals first.
    void Execute();

    // Asks a running pass to stop after the file it is working on (for instance when the
    // window closes while events are processed); rows not yet attempted stay as they are.
    void requestStop() { m_stopRequested = true; }

    int DeletedCount() const { return static_cast<int>(m_deletedPaths.size()); }
    std::int64_t FreedSize() const { return m_freedSize; }
    // The full path of every file still present after its attempt, in the order of the pass.
    const std::vector<std::string>& FailedFiles() const { return m_failedFiles; }

private:
    DeletionRows& m_rows;
    FileDisposal& m_disposal;
    bool m_stopRequested = false;
    std::int64_t m_freedSize = 0;
    std::vector<std::string> m_failedFiles;
    // The paths counted as gone so far in this pass, each once.
    std::unordered_set<std::string> m_deletedPaths;
};

} // namespace velmaro
