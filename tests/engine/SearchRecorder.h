// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/FindFile.h"
#include "platform/EventLoop.h"

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace velmaro::testing {

// How a walk test runs the search: inside Execute or on the worker, and with how many reader
// threads reading ahead (0: the walk reads every folder itself).
struct WalkMode {
    bool threaded = false;
    std::size_t readers = 0;
};

// Every walk table runs in each of these.
inline const WalkMode WalkModes[] = {{false, 0}, {true, 0}, {false, 2}, {true, 2}};

inline std::string walkModeName(const WalkMode& mode) {
    return std::string(mode.threaded ? "Threaded" : "Plain") +
           (mode.readers == 0 ? "Walk" : "ReadAhead" + std::to_string(mode.readers));
}

inline void PrintTo(const WalkMode& mode, std::ostream* out) {
    *out << walkModeName(mode);
}

// Runs a TFindFile plain or threaded and records its events in order, one line each:
// "begin", "folder REL", "match REL", "finish aborted=0|1", where REL is the path relative to
// the fixture root. The event handlers of a test may add their own behaviour around the
// recording through the hooks.
class SearchRecorder {
public:
    SearchRecorder(std::string root, WalkMode mode)
        : m_root(std::move(root)), m_findFile(std::make_unique<TFindFile>(m_loop.createWindow())) {
        TFindFile& find = *m_findFile;
        find.SetThreaded(mode.threaded);
        find.setReaders(mode.readers);
        find.OnSearchBegin = [this](TFindFile&) { record("begin"); };
        find.OnFolderChange = [this](TFindFile& sender, const std::string& folder,
                                     TFolderIgnore& ignore) {
            record("folder " + relative(folder));
            if (folderHook)
                folderHook(sender, folder, ignore);
        };
        find.OnFileMatch = [this](TFindFile& sender, const TFileDetails& info) {
            record("match " + relative(info.Location + info.Name));
            if (matchHook)
                matchHook(sender, info);
        };
        find.OnSearchFinish = [this](TFindFile& sender) {
            record(sender.Aborted() ? "finish aborted=1" : "finish aborted=0");
        };
    }

    TFindFile& find() { return *m_findFile; }
    TSearchCriteria& criteria() { return m_findFile->Criteria(); }
    platform::EventLoop& loop() { return m_loop; }

    // Starts the search and, when threaded, serves the event loop until it has finished.
    void run() {
        m_findFile->Execute();
        waitUntilIdle();
    }

    void waitUntilIdle() {
        m_loop.runUntil([this] { return !m_findFile->Busy(); });
    }

    // Destroys the component (as its owner would while a search may still run).
    void destroy() { m_findFile.reset(); }

    std::vector<std::string> events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }

    // The events with the given prefix ("match "), in order.
    std::vector<std::string> events(const std::string& prefix) const {
        std::vector<std::string> chosen;
        for (const std::string& event : events())
            if (event.starts_with(prefix))
                chosen.push_back(event);
        return chosen;
    }

    TFolderChangeEvent folderHook;
    TFileMatchEvent matchHook;

private:
    std::string relative(const std::string& path) const {
        return path.starts_with(m_root) ? path.substr(m_root.size()) : path;
    }

    void record(std::string event) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
    }

    std::string m_root;
    platform::EventLoop m_loop;
    std::unique_ptr<TFindFile> m_findFile;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_events;
};

} // namespace velmaro::testing
