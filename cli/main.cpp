// SPDX-License-Identifier: GPL-3.0-or-later
// velmaro-find: the command-line front end of the search engine and of the clean-up, for
// scripts, timers and benchmarks.

#include "cli/CleanUpRun.h"
#include "cli/FindHelp.h"
#include "cli/FindOptions.h"
#include "cli/MatchRows.h"
#include "cli/RecordWriter.h"
#include "cli/StopSignals.h"
#include "cli/TestFixtureGuard.h"
#include "engine/CharTables.h"
#include "engine/FindFile.h"
#include "platform/CodePage.h"
#include "platform/EventLoop.h"
#include "shell/ProductVersion.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <span>

int main(int argc, char** argv) {
    using namespace velmaro;
    if (!ApplyTestFixtureGuard())
        return 2;
    platform::CodePage::selectFromLocale();
    BuildCharTables();

    platform::EventLoop loop;
    TFindFile findFile(loop.createWindow());
    FindOptions options;
    try {
        options =
            ParseFindOptions(std::span<char* const>(argv + 1, argv + argc), findFile.Criteria());
    } catch (const OptionError& error) {
        std::fprintf(stderr, "velmaro-find: %s\nTry 'velmaro-find --help' for more information.\n",
                     error.what());
        return 2;
    }
    if (options.Help) {
        std::fputs(FindHelpText(), stdout);
        return 0;
    }
    if (options.Version) {
        std::printf("velmaro-find %s\n", GetProductVersion().c_str());
        return 0;
    }

    RecordWriter writer(stdout, options.Output);
    MatchRows rows;
    const bool cleanUp = options.Action != CleanUp::None;
    // A clean-up lists the matches only as JSON; as text it prints its report alone.
    const bool listMatches = !cleanUp || options.Output.Json;
    findFile.SetThreaded(options.Threaded);
    if (options.Readers)
        findFile.setReaders(*options.Readers);
    findFile.OnFileMatch = [&](TFindFile&, const TFileDetails& info) {
        if (listMatches)
            writer.match(info);
        if (cleanUp)
            rows.add(info);
    };
    // A clean-up is stopped by a signal only between two files; one that comes during the
    // search ends the search, and nothing is touched.
    std::optional<StopSignals> signals;
    if (cleanUp)
        signals.emplace();
    if (options.Output.Events || cleanUp) {
        findFile.OnFolderChange = [&](TFindFile& sender, const std::string& folder,
                                      TFolderIgnore&) {
            if (options.Output.Events)
                writer.folder(folder);
            if (signals && signals->stopRequested())
                sender.Abort();
        };
    }
    if (options.Output.Events) {
        findFile.OnSearchBegin = [&](TFindFile&) { writer.begin(); };
        findFile.OnSearchFinish = [&](TFindFile& sender) { writer.finish(sender.Aborted()); };
    }
    const auto searchStart = std::chrono::steady_clock::now();
    findFile.Execute();
    loop.runUntil([&] { return !findFile.Busy(); });
    if (signals && signals->stopRequested()) {
        std::fprintf(stderr, "velmaro-find: stopped during the search; nothing was changed\n");
        return 1;
    }
    if (cleanUp) {
        const auto searchTime = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - searchStart);
        return RunCleanUp(options, rows, searchTime.count(), *signals, writer, stdout, stderr);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
