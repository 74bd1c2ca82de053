// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/News.h"

#include "NewsServer.h"
#include "platform/CodePage.h"
#include "platform/HttpFetch.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTcpServer>
#include <QTest>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

using velmaro::NewsSettings;
using velmaro::NewsSettingsOpener;
using velmaro::TNews;

namespace {

const QString ModeText = QString::fromUtf8("Режим: полная очистка.");
constexpr qsizetype MiB = 1024 * 1024;

// What the settings store holds and how the worker used it; shared with the worker's thread.
struct FakeStore {
    std::mutex mutex;
    std::map<std::string, std::string> values;
    QByteArrayList writes;
    int opened = 0;
    int closed = 0;
    bool failing = false;

    QByteArrayList writesSoFar() {
        std::lock_guard lock(mutex);
        return writes;
    }
    int openedSoFar() {
        std::lock_guard lock(mutex);
        return opened;
    }
};

class FakeSettings : public NewsSettings {
public:
    explicit FakeSettings(std::shared_ptr<FakeStore> store) : m_store(std::move(store)) {
        std::lock_guard lock(m_store->mutex);
        ++m_store->opened;
    }
    ~FakeSettings() override {
        std::lock_guard lock(m_store->mutex);
        ++m_store->closed;
    }

    std::string ReadString(const std::string& Section, const std::string& Name,
                           const std::string& Default) override {
        std::lock_guard lock(m_store->mutex);
        const auto found = m_store->values.find(Section + "/" + Name);
        return found == m_store->values.end() ? Default : found->second;
    }

    void WriteString(const std::string& Section, const std::string& Name,
                     const std::string& Value) override {
        std::lock_guard lock(m_store->mutex);
        if (m_store->failing) {
            throw std::runtime_error("Failed to set data for 'lastdate'");
        }
        m_store->values[Section + "/" + Name] = Value;
        m_store->writes.append(QByteArray::fromStdString(Section + "/" + Name + "=" + Value));
    }

private:
    std::shared_ptr<FakeStore> m_store;
};

NewsSettingsOpener openerFor(const std::shared_ptr<FakeStore>& store) {
    return [store] { return std::make_unique<FakeSettings>(store); };
}

QByteArray newsText(const QByteArray& date, const QByteArray& text) {
    return "quarnolabsnews\r\nnews\r\n" + date + "\r\n\r\n" + text;
}

// A news answer of three full pieces and a short one, with zero bytes placed to show that each
// cuts off only the rest of its own 1025-byte piece.
QByteArray newsWithZeroBytes() {
    QByteArray body = newsText("2026-12-10", QByteArray(1025 - 36, 'a'));
    body += QByteArray(100, 'b') + '\0' + QByteArray(924, 'x');
    body += '\0' + QByteArray(1024, 'z');
    body += QByteArray(20, 'c') + '\0' + QByteArray(5, 'y');
    return body;
}

} // namespace

class NewsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_window;
    QLabel* m_hint = nullptr;
    std::shared_ptr<FakeStore> m_store;

    // Runs one worker to its end and waits until it has freed itself.
    void runWorker(const std::string& address) {
        const QPointer<TNews> worker = TNews::Start(m_hint, openerFor(m_store), address);
        QVERIFY(worker);
        QTRY_VERIFY_WITH_TIMEOUT(worker.isNull(), 20000);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(velmaro::platform::CodePage::select("CP1251")); }
    void cleanupTestCase() { velmaro::platform::CodePage::select("UTF-8"); }

    void init() {
        m_window = std::make_unique<QWidget>();
        m_hint = new QLabel(ModeText, m_window.get());
        m_hint->setObjectName("sLabel_Hint");
        m_window->show();
        m_store = std::make_shared<FakeStore>();
    }

    void cleanup() { m_window.reset(); }

    void newsCheck_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QByteArrayList>("writes");

        const QByteArray missing;
        const QByteArray date = "2026-12-10";
        const QByteArrayList written = {"news/lastdate=2026-12-10"};
        const QByteArray longText(MiB - 36, 'x');

        QTest::newRow("first start: shown as 8-bit text, line breaks kept, date stored")
            << missing << 200 << newsText(date, "\xcd\xee\xe2\xee\xe5:\r\nline 2")
            << QString::fromUtf8("Новое:\r\nline 2") << written;
        QTest::newRow("same date again: not shown, date written again")
            << date << 200 << newsText(date, "again") << ModeText << written;
        QTest::newRow("older but different date: shown")
            << QByteArray("2026-12-11") << 200 << newsText("2026-12-01", "older") << "older"
            << QByteArrayList{"news/lastdate=2026-12-01"};
        QTest::newRow("empty stored date and empty new date: shown (empty)")
            << QByteArray("") << 200 << QByteArray("quarnolabsnews\r\nnews\r\n") << ""
            << QByteArrayList{"news/lastdate="};
        QTest::newRow("exactly 36 characters: label cleared")
            << QByteArray("2026-01-01") << 200 << newsText(date, "") << "" << written;
        QTest::newRow("'NEWS' in capitals: ignored")
            << missing << 200 << QByteArray("quarnolabsnews\r\nNEWS\r\n2026-12-10\r\n\r\ntext")
            << ModeText << QByteArrayList{};
        QTest::newRow("magic alone: ignored")
            << missing << 200 << QByteArray("quarnolabsnews") << ModeText << QByteArrayList{};
        QTest::newRow("markup shown as plain text")
            << missing << 200 << newsText(date, "<b>bold</b> <a href=\"http://x/\">link</a>")
            << "<b>bold</b> <a href=\"http://x/\">link</a>" << written;
        QTest::newRow("zero bytes cut off the rest of their own piece only")
            << missing << 200 << newsWithZeroBytes()
            << QString(QByteArray(1025 - 36, 'a') + QByteArray(100, 'b') + QByteArray(20, 'c'))
            << written;
        QTest::newRow("404 with an error page: ignored")
            << missing << 404 << QByteArray("<html><body>Not Found</body></html>") << ModeText
            << QByteArrayList{};
        QTest::newRow("404 whose page is a news text: read like any text")
            << missing << 404 << newsText(date, "page") << "page" << written;
        QTest::newRow("answer of exactly 1 MiB: shown")
            << missing << 200 << newsText(date, longText) << QString(longText) << written;
        QTest::newRow("answer longer than 1 MiB: no news")
            << missing << 200 << newsText(date, longText + 'x') << ModeText << QByteArrayList{};
    }

    void newsCheck() {
        QFETCH(QByteArray, stored);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, label);
        QFETCH(QByteArrayList, writes);

        if (!stored.isNull()) {
            m_store->values["news/lastdate"] = stored.toStdString();
        }
        NewsServer server;
        server.answer(status, body);
        runWorker(server.address());

        QCOMPARE(server.requests().size(), 1);
        QCOMPARE(m_hint->text(), label);
        if (label != ModeText) {
            QCOMPARE(m_hint->textFormat(), Qt::PlainText);
        }
        QCOMPARE(m_store->writesSoFar(), writes);
        QCOMPARE(m_store->closed, m_store->opened);
    }

    void requestAsksServerNotCache() {
        NewsServer server;
        server.answer(200, newsText("2026-12-10", "text"));
        runWorker(server.address());

        QCOMPARE(server.requests().size(), 1);
        const QByteArray request = server.requests().first();
        QVERIFY2(request.startsWith("GET /news/NEWS.txt HTTP/1.1\r\n"), request.constData());
        QVERIFY2(request.contains("\r\nCache-Control: no-cache"), request.constData());
        QVERIFY2(request.contains("\r\nUser-Agent: Velmaro"), request.constData());
    }

    void noServerListening() {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();

        runWorker("http://127.0.0.1:" + std::to_string(port) + "/news/NEWS.txt");
        QCOMPARE(m_hint->text(), ModeText);
        QCOMPARE(m_store->openedSoFar(), 0);
    }

    void noAddressEndsAtOnce() {
        runWorker("");
        QCOMPARE(m_hint->text(), ModeText);
        QCOMPARE(m_store->openedSoFar(), 0);
    }

    void settingsErrorIsSilent() {
        m_store->failing = true;
        NewsServer server;
        server.answer(200, newsText("2026-12-10", "text"));
        runWorker(server.address());

        QCOMPARE(m_hint->text(), ModeText);
        QCOMPARE(m_store->openedSoFar(), 1);
        QCOMPARE(m_store->closed, 1);
    }

    // The window closes while the server holds the answer back: the transfer ends at once and
    // the worker touches neither the settings nor anything else.
    void closingEndsSilentTransferAtOnce() {
        NewsServer server;
        server.staySilent();
        const QPointer<TNews> worker = TNews::Start(m_hint, openerFor(m_store), server.address());
        QTRY_COMPARE(server.requests().size(), 1);
        QVERIFY(worker);

        m_window.reset();
        QTRY_VERIFY_WITH_TIMEOUT(worker.isNull(), 1000);
        QCOMPARE(m_store->openedSoFar(), 0);
    }
};

int main(int argc, char** argv) {
    // The tests talk to their own server on 127.0.0.1, never through a proxy of the machine.
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);
    velmaro::platform::initHttp();
    QApplication app(argc, argv);
    NewsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "NewsTest.moc"
