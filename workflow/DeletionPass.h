#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace velmaro {

class DeletionRows;

// Deletes the file of every checked row, top to bottom, and removes every row it attempted;
// unchecked rows stay in their order. For each file: the attributes are saved, READONLY is
// cleared (0x38), the file is deleted, after a pause its existence is tested, and a survivor
// is counted as failed and gets its saved attributes back.
//
// Only the file the row listed is touched (see platform::ListedFile): a file replaced since
// the search, one that another program holds open, and one behind a mount or a link that
// appeared in its path are left alone, mode included, and count as failed. A file counts as
// deleted only when the system says that its path no longer names it; any other failure to
// read it counts it as still present. A file that no longer exists when its turn comes counts
// as deleted, once: a row whose path this pass has already counted as deleted adds nothing.
// The totals stay readable after Execute, also when an exception escaped from it.
// Runs on the thread that owns the rows (the GUI thread in the program).
class DeletionPass {
public:
    // The pause between a deletion and its existence test.
    static constexpr std::chrono::microseconds DefaultPause = std::chrono::milliseconds(1);

    // Rows must outlive the pass. Pause is the wait after each deletion; DefaultPause unless a
    // benchmark measures the pass without it.
    explicit DeletionPass(DeletionRows& rows, std::chrono::microseconds pause = DefaultPause)
        : m_rows(rows), m_pause(pause) {}

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
    // Attempts the file of a checked row; true when it counts as deleted.
    bool deleteFile(const std::string& path, int row);

    DeletionRows& m_rows;
    std::chrono::microseconds m_pause;
    bool m_stopRequested = false;
    int m_deletedCount = 0;
    std::int64_t m_freedSize = 0;
    std::vector<std::string> m_failedFiles;
    // The paths counted as deleted so far in this pass.
    std::unordered_set<std::string> m_deletedPaths;
};

} // namespace velmaro
