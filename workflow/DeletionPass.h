#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmaro {

class DeletionRows;

// Deletes the file of every checked row, top to bottom, and removes every row it attempted;
// unchecked rows stay in their order. For each file: the attributes are saved, READONLY is
// cleared (0x38), the file is deleted, after a pause of 1 ms its existence is tested, and a
// survivor is counted as failed and gets its saved attributes back. A file counts as deleted
// only when the system says that its path names no file (or a plain folder now stands there);
// any other failure to read it, a link in its path for one, counts it as still present.
// The totals stay readable after Execute, also when an exception escaped from it.
class DeletionPass {
public:
    explicit DeletionPass(DeletionRows& rows) : m_rows(rows) {}

    // Called after each attempted file, once its row is removed: the place to move a progress
    // bar and to process pending window events. Not called for unchecked rows.
    std::function<void()> onFileDone;

    // Runs the pass from the first row. Resets the totals first.
    void Execute();

    // Asks a running pass to stop after the file it is working on (for instance when the
    // window closes while events are processed); rows not yet attempted stay as they are.
    void requestStop() { m_stopRequested = true; }

    int DeletedCount() const { return m_deletedCount; }
    std::int64_t FreedSize() const { return m_freedSize; }
    // The full path of every file still present after its attempt, in the order of the pass.
    const std::vector<std::string>& FailedFiles() const { return m_failedFiles; }

private:
    DeletionRows& m_rows;
    bool m_stopRequested = false;
    int m_deletedCount = 0;
    std::int64_t m_freedSize = 0;
    std::vector<std::string> m_failedFiles;
};

} // namespace velmaro
