// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/FindOptions.h"

#include <cstdint>
#include <cstdio>

namespace velmaro {

class MatchRows;
class RecordWriter;
class StopSignals;

// The clean-up that velmaro-find's options ask for (--delete, --trash or --dry-run), run over
// the matches of the finished search with the same deletion pass as the window: each file is
// deleted, moved into the trash, or only looked at (see FileDeletion, TrashMove,
// DeletionPreview). As text, the report follows on Out, its lines in the system's code page,
// each ended by a line feed; as JSON, one result per file and the totals (RecordWriter).
// With --report the report is also written to that file as the window saves it (CR LF), under
// the name as given. The report's date, the search's duration and the freed size follow the C
// library's locale. A stop that Signals notes (SIGINT, SIGTERM, SIGHUP) ends the pass after the
// file it is working on; the report then tells what was done. Messages go to Err.
//
// Returns the exit status: 0 when every file went (for a dry run: would go), 1 when some
// stayed, the pass was stopped, or the output or the report file could not be written, 2
// when the report file cannot be written at all (found out before anything is touched).
// Main thread, once the search has ended.
int RunCleanUp(const FindOptions& Options, MatchRows& Rows, std::int64_t SearchMilliseconds,
               const StopSignals& Signals, RecordWriter& Writer, std::FILE* Out, std::FILE* Err);

} // namespace velmaro
