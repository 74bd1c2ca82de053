// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HttpFetch.h"
#include "shell/NewsSettings.h"

#include <QPointer>
#include <QThread>
#include <mutex>
#include <string>

class QLabel;

namespace velmaro {

// The news worker: fetches the maker's news text in the background, remembers its date in the
// settings section "news" and shows a new text once in the hint label. Every failure is silent.
class TNews : public QThread {
    Q_OBJECT

public:
    // Starts a worker on the GUI thread and returns at once. The worker runs at the lowest
    // priority and frees itself when it has ended; the pointer returned is only for watching
    // it (a QPointer), never for keeping or deleting it. With an empty Address it ends at once
    // without touching the network or the settings. When Hint is destroyed or the application
    // is about to quit, a transfer in progress ends at once and the worker touches nothing more.
    static TNews* Start(QLabel* Hint, NewsSettingsOpener OpenSettings,
                        std::string Address = configuredAddress());

    // The news address the program was built with (the VELMARO_NEWS_URL build option); empty
    // unless the build sets one.
    static std::string configuredAddress();

    // Downloads the whole resource at Address and returns it as 8-bit text, read in pieces of
    // 1025 bytes of which each keeps only the bytes before its first zero byte. Empty when
    // nothing could be fetched, when the transfer was cancelled, and when the answer is longer
    // than 1 MiB.
    static std::string Fetch(const std::string& Address, platform::HttpCancel& Cancel);

protected:
    void run() override;

private:
    TNews(QLabel* Hint, NewsSettingsOpener OpenSettings, std::string Address);

    void Execute();
    void showNews(const std::string& Text);
    void closeDown();

    const std::string m_address;
    const NewsSettingsOpener m_openSettings;
    // Read on the GUI thread only.
    const QPointer<QLabel> m_hint;
    platform::HttpCancel m_cancel;
    std::mutex m_mutex;
    bool m_closed = false;
};

} // namespace velmaro
