// velmaro-find: the command-line front end of the search engine, for scripts and benchmarks.

#include "cli/FindHelp.h"
#include "cli/FindOptions.h"
#include "cli/RecordWriter.h"
#include "engine/CharTables.h"
#include "engine/FindFile.h"
#include "platform/CodePage.h"
#include "platform/EventLoop.h"
#include "shell/ProductVersion.h"

#include <cstdio>
#include <span>

int main(int argc, char** argv) {
    using namespace velmaro;
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
    findFile.SetThreaded(options.Threaded);
    if (options.Readers)
        findFile.setReaders(*options.Readers);
    findFile.OnFileMatch = [&](TFindFile&, const TFileDetails& info) { writer.match(info); };
    if (options.Output.Events) {
        findFile.OnSearchBegin = [&](TFindFile&) { writer.begin(); };
        findFile.OnFolderChange = [&](TFindFile&, const std::string& folder, TFolderIgnore&) {
            writer.folder(folder);
        };
        findFile.OnSearchFinish = [&](TFindFile& sender) { writer.finish(sender.Aborted()); };
    }
    findFile.Execute();
    loop.runUntil([&] { return !findFile.Busy(); });
    return std::fflush(stdout) == 0 ? 0 : 1;
}
