// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cleaner/DeletionPass.h"
#include "cli/FindOptions.h"
#include "engine/FileDetails.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace velmaro {

// Writes velmaro-find's output records to a stream. As text: paths as raw bytes, unescaped,
// each record ended by a newline or, with FindOutput::Null, by a NUL. With FindOutput::Json:
// one JSON object per line, {"event":...} first, paths as JSON strings where they are valid
// UTF-8 and as arrays of byte values where not (see AppendJsonBytes). Called on one thread at
// a time (the search's worker during a threaded search, the main thread after it).
class RecordWriter {
public:
    RecordWriter(std::FILE* Stream, FindOutput Output) : m_stream(Stream), m_output(Output) {}

    // A match: its full path and, with FindOutput::Long, the size, the attribute word and the
    // three times. With FindOutput::Events the line is "match<TAB>PATH". As JSON:
    // {"event":"match","path":P,"size":N,"attributes":N,"created":T,"modified":T,"accessed":T},
    // the times as FormatDateTime writes them.
    void match(const TFileDetails& FileInfo);

    // The events of --events; as JSON {"event":"begin"}, {"event":"folder","path":P} and
    // {"event":"finish","aborted":false|true}.
    void begin();
    void folder(const std::string& Folder);
    void finish(bool Aborted);

    // JSON only (nothing as text): what the deletion pass did with one file,
    // {"event":E,"path":P,"size":N} with E "deleted", "trashed" or "would-delete" (by Action)
    // for a file that went, "failed" or "would-fail" for one that stayed. A row whose file an
    // earlier row counted writes nothing.
    void result(const DeletionPass::FileDone& Done, CleanUp Action);

    // JSON only: the pass's totals, {"event":"report","removed":N,"freed":N,"failed":N}.
    void report(int Removed, std::int64_t Freed, std::size_t Failed);

private:
    void endRecord();
    void beginObject(const char* Event);
    void endObject();

    std::FILE* m_stream;
    FindOutput m_output;
    std::string m_line;
};

// A local TDateTime as "YYYY-MM-DD HH:MM:SS.mmm".
std::string FormatDateTime(TDateTime Value);

} // namespace velmaro
