// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CleanUpRun.h"

#include "cleaner/DeletionPass.h"
#include "cleaner/DeletionPreview.h"
#include "cleaner/FileDeletion.h"
#include "cleaner/ReportFile.h"
#include "cleaner/ReportLines.h"
#include "cleaner/SearchSummary.h"
#include "cleaner/TrashMove.h"
#include "cli/LocaleTexts.h"
#include "cli/MatchRows.h"
#include "cli/RecordWriter.h"
#include "cli/StopSignals.h"
#include "platform/Trash.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace velmaro {

namespace {

// Whether the report file can be created or written, tried without changing what it holds;
// otherwise the system's error.
int reportFileError(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    close(fd);
    return 0;
}

// The way the pass deals with each file, with what it needs.
struct Disposal {
    std::unique_ptr<platform::Trash> trash;
    std::unique_ptr<FileDisposal> disposal;
};

Disposal disposalFor(CleanUp action) {
    Disposal chosen;
    switch (action) {
    case CleanUp::Trash:
        chosen.trash = std::make_unique<platform::Trash>(platform::Trash::DataHomeFromEnvironment(),
                                                         geteuid());
        chosen.disposal = std::make_unique<TrashMove>(*chosen.trash);
        break;
    case CleanUp::DryRun:
        chosen.disposal = std::make_unique<DeletionPreview>();
        break;
    default:
        chosen.disposal = std::make_unique<FileDeletion>();
    }
    return chosen;
}

} // namespace

int RunCleanUp(const FindOptions& Options, MatchRows& Rows, std::int64_t SearchMilliseconds,
               const StopSignals& Signals, RecordWriter& Writer, std::FILE* Out, std::FILE* Err) {
    if (Options.ReportFile) {
        if (const int error = reportFileError(*Options.ReportFile)) {
            std::fprintf(Err, "velmaro-find: cannot write the report to %s: %s\n",
                         Options.ReportFile->c_str(), std::strerror(error));
            return 2;
        }
    }
    const Disposal chosen = disposalFor(Options.Action);
    DeletionPass pass(Rows, *chosen.disposal);
    bool stopped = false;
    pass.onFileDone = [&](const DeletionPass::FileDone& done) {
        Writer.result(done, Options.Action);
        if (Signals.stopRequested()) {
            stopped = true;
            pass.requestStop();
        }
    };
    pass.Execute();

    const std::string date = LocaleDate(std::time(nullptr));
    const std::string summary =
        SearchSummaryLine(DurationText(SearchMilliseconds, LocaleTimeSeparator()));
    const std::string decimalSeparator = LocaleDecimalSeparator();
    const std::vector<std::string> lines =
        ReportLines({date, summary, decimalSeparator, pass.DeletedCount(), pass.FreedSize(),
                     pass.FailedFiles()});
    bool written = true;
    if (Options.Output.Json) {
        Writer.report(pass.DeletedCount(), pass.FreedSize(), pass.FailedFiles().size());
        written = std::fflush(Out) == 0;
    } else {
        written = WriteReportLines(Out, lines, "\n");
    }
    if (Options.ReportFile && !WriteReportFile(*Options.ReportFile, lines)) {
        std::fprintf(Err, "velmaro-find: cannot write the report to %s: %s\n",
                     Options.ReportFile->c_str(), std::strerror(errno));
        written = false;
    }
    if (stopped)
        std::fprintf(Err, "velmaro-find: stopped; %d files were not attempted\n", Rows.Count());
    return written && !stopped && pass.FailedFiles().empty() ? 0 : 1;
}

} // namespace velmaro
