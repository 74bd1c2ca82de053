#pragma once

#include "cli/FindOptions.h"
#include "engine/FileDetails.h"

#include <cstdio>
#include <string>

namespace velmaro {

// Writes velmaro-find's output records to a stream: paths as raw bytes, unescaped, each
// record ended by a newline or, with FindOutput::Null, by a NUL.
class RecordWriter {
public:
    RecordWriter(std::FILE* Stream, FindOutput Output) : m_stream(Stream), m_output(Output) {}

    // A match: its full path and, with FindOutput::Long, the size, the attribute word and the
    // three times. With FindOutput::Events the line is "match<TAB>PATH".
    void match(const TFileDetails& FileInfo);

    // The events of --events.
    void begin();
    void folder(const std::string& Folder);
    void finish(bool Aborted);

private:
    void endRecord();

    std::FILE* m_stream;
    FindOutput m_output;
    std::string m_line;
};

// A local TDateTime as "YYYY-MM-DD HH:MM:SS.mmm".
std::string FormatDateTime(TDateTime Value);

} // namespace velmaro
