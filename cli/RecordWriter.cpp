// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RecordWriter.h"

#include "cli/JsonText.h"

#include <chrono>
#include <cinttypes>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace velmaro {

std::string FormatDateTime(TDateTime Value) {
    using namespace std::chrono;
    // The integer part counts days from 30 December 1899; the fraction is the time of day,
    // counted away from zero for days before it.
    double days = std::trunc(Value);
    auto milliseconds =
        static_cast<std::int64_t>(std::llround(std::fabs(Value - days) * 86400000.0));
    if (milliseconds >= 86400000) {
        milliseconds -= 86400000;
        days += Value < 0 ? -1 : 1;
    }
    constexpr sys_days epoch = 1899y / December / 30;
    const year_month_day date{epoch + std::chrono::days{static_cast<long>(days)}};
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d.%03d", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(milliseconds / 3600000),
                  int(milliseconds / 60000 % 60), int(milliseconds / 1000 % 60),
                  int(milliseconds % 1000));
    return text;
}

void RecordWriter::endRecord() {
    m_line.push_back(m_output.Null ? '\0' : '\n');
    std::fwrite(m_line.data(), 1, m_line.size(), m_stream);
    m_line.clear();
}

void RecordWriter::beginObject(const char* Event) {
    m_line.append("{\"event\":");
    AppendJsonString(m_line, Event);
}

void RecordWriter::endObject() {
    m_line.push_back('}');
    endRecord();
}

void RecordWriter::match(const TFileDetails& FileInfo) {
    if (m_output.Json) {
        beginObject("match");
        m_line.append(",\"path\":");
        AppendJsonBytes(m_line, FileInfo.Location + FileInfo.Name);
        m_line.append(",\"size\":").append(std::to_string(FileInfo.Size));
        m_line.append(",\"attributes\":").append(std::to_string(FileInfo.Attributes));
        for (const auto& [key, time] : {std::pair{",\"created\":", FileInfo.CreatedTime},
                                        std::pair{",\"modified\":", FileInfo.ModifiedTime},
                                        std::pair{",\"accessed\":", FileInfo.AccessedTime}}) {
            m_line.append(key);
            AppendJsonString(m_line, FormatDateTime(time));
        }
        endObject();
        return;
    }
    if (m_output.Events)
        m_line.append("match\t");
    m_line.append(FileInfo.Location).append(FileInfo.Name);
    if (m_output.Long) {
        char numbers[48];
        std::snprintf(numbers, sizeof numbers, "\t%" PRId64 "\t%08" PRIX32 "\t", FileInfo.Size,
                      FileInfo.Attributes);
        m_line.append(numbers)
            .append(FormatDateTime(FileInfo.CreatedTime))
            .append("\t")
            .append(FormatDateTime(FileInfo.ModifiedTime))
            .append("\t")
            .append(FormatDateTime(FileInfo.AccessedTime));
    }
    endRecord();
}

void RecordWriter::begin() {
    if (m_output.Json) {
        beginObject("begin");
        endObject();
        return;
    }
    m_line.append("begin");
    endRecord();
}

void RecordWriter::folder(const std::string& Folder) {
    if (m_output.Json) {
        beginObject("folder");
        m_line.append(",\"path\":");
        AppendJsonBytes(m_line, Folder);
        endObject();
        return;
    }
    m_line.append("folder\t").append(Folder);
    endRecord();
}

void RecordWriter::finish(bool Aborted) {
    if (m_output.Json) {
        beginObject("finish");
        m_line.append(Aborted ? ",\"aborted\":true" : ",\"aborted\":false");
        endObject();
        return;
    }
    m_line.append(Aborted ? "finish\taborted=1" : "finish\taborted=0");
    endRecord();
}

void RecordWriter::result(const DeletionPass::FileDone& Done, CleanUp Action) {
    if (!m_output.Json || Done.Result == DeletionPass::FileResult::countedEarlier)
        return;
    const bool gone = Done.Result == DeletionPass::FileResult::gone;
    const char* event = Action == CleanUp::DryRun  ? (gone ? "would-delete" : "would-fail")
                        : !gone                    ? "failed"
                        : Action == CleanUp::Trash ? "trashed"
                                                   : "deleted";
    beginObject(event);
    m_line.append(",\"path\":");
    AppendJsonBytes(m_line, Done.Path);
    m_line.append(",\"size\":").append(std::to_string(Done.Size));
    endObject();
}

void RecordWriter::report(int Removed, std::int64_t Freed, std::size_t Failed) {
    if (!m_output.Json)
        return;
    beginObject("report");
    m_line.append(",\"removed\":").append(std::to_string(Removed));
    m_line.append(",\"freed\":").append(std::to_string(Freed));
    m_line.append(",\"failed\":").append(std::to_string(Failed));
    endObject();
}

} // namespace velmaro
