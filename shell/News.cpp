// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/News.h"

#include "platform/ThreadPriority.h"
#include "workflow/CodePageText.h"

#include <QCoreApplication>
#include <QLabel>
#include <array>
#include <cstring>

namespace velmaro {

namespace {

constexpr std::size_t ChunkSize = 1025;
// A news text is short; an answer beyond this is broken or hostile and counts as no news.
constexpr std::size_t MaxAnswerBytes = 1024 * 1024;

// The characters First to First + Count - 1 of Text, counted from 1; only those that exist.
std::string field(const std::string& Text, std::size_t First, std::size_t Count) {
    return First <= Text.size() ? Text.substr(First - 1, Count) : std::string();
}

} // namespace

TNews::TNews(QLabel* Hint, NewsSettingsOpener OpenSettings, std::string Address)
    : m_address(std::move(Address)), m_openSettings(std::move(OpenSettings)), m_hint(Hint) {}

TNews* TNews::Start(QLabel* Hint, NewsSettingsOpener OpenSettings, std::string Address) {
    auto* worker = new TNews(Hint, std::move(OpenSettings), std::move(Address));
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    if (Hint) {
        connect(Hint, &QObject::destroyed, worker, &TNews::closeDown);
    }
    if (auto* application = QCoreApplication::instance()) {
        connect(application, &QCoreApplication::aboutToQuit, worker, &TNews::closeDown);
    }
    worker->start();
    return worker;
}

std::string TNews::configuredAddress() {
    return VELMARO_NEWS_URL;
}

std::string TNews::Fetch(const std::string& Address, platform::HttpCancel& Cancel) {
    platform::HttpFetch request(Cancel);
    if (!request.open(Address)) {
        return {};
    }
    std::string result;
    std::size_t received = 0;
    std::array<char, ChunkSize> buffer;
    for (;;) {
        buffer.fill(0);
        const std::size_t count = request.read(buffer.data(), buffer.size());
        if (count == 0) {
            break;
        }
        received += count;
        if (received > MaxAnswerBytes) {
            return {};
        }
        result.append(buffer.data(), strnlen(buffer.data(), buffer.size()));
    }
    return Cancel.cancelled() ? std::string() : result;
}

void TNews::run() {
    platform::SetCurrentThreadPriority(platform::THREAD_PRIORITY_LOWEST);
    try {
        Execute();
    } catch (...) {
        // Background work is silent: whatever was done before the error stays done.
    }
}

void TNews::Execute() {
    if (m_address.empty()) {
        return;
    }
    const std::string news = Fetch(m_address, m_cancel);
    if (field(news, 1, 14) != "quarnolabsnews" || field(news, 17, 4) != "news") {
        return;
    }
    const std::string date = field(news, 23, 10);
    const std::string text = field(news, 37, std::string::npos);

    std::string stored;
    {
        const std::unique_ptr<NewsSettings> settings = m_openSettings();
        stored = settings->ReadString("news", "lastdate", "");
        settings->WriteString("news", "lastdate", date);
    }
    if (stored != date || stored.empty()) {
        showNews(text);
    }
}

// Hands the text to the GUI thread without waiting for it. The call is queued to this object,
// which lives on the GUI thread and is deleted there only after the worker has ended, so the
// call either runs before that or not at all.
void TNews::showNews(const std::string& Text) {
    const QString shown = CodePageText(Text);
    std::lock_guard lock(m_mutex);
    if (m_closed) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this, shown] {
            if (QLabel* hint = m_hint.data()) {
                hint->setTextFormat(Qt::PlainText);
                hint->setText(shown);
                hint->repaint();
            }
        },
        Qt::QueuedConnection);
}

// On the GUI thread, when the label goes away or the application is about to quit.
void TNews::closeDown() {
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_cancel.cancel();
}

} // namespace velmaro
