// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SearchThread.h"

#include "engine/ApplicationError.h"
#include "engine/FindFile.h"
#include "platform/ThreadPriority.h"

namespace velmaro {

TSearchThread::TSearchThread(TFindFile& FindFile, TThreadPriority Priority)
    : m_findFile(FindFile), m_thread([this, Priority] { Execute(Priority); }) {}

TSearchThread::~TSearchThread() {
    if (m_thread.joinable())
        m_thread.join();
}

void TSearchThread::Execute(TThreadPriority priority) {
    // A priority the system refuses (raising it needs privileges) is silently not applied.
    platform::SetCurrentThreadPriority(PlatformThreadPriority(priority));
    try {
        m_findFile.SearchTargets();
    } catch (...) {
        ShowCurrentException();
    }
    m_findFile.postSearchDone();
}

} // namespace velmaro
