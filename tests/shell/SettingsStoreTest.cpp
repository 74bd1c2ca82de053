// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SettingsStore.h"

#include "TempFolder.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "shell/RegistryException.h"

#include <QFile>
#include <QTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using velmaro::ERegistryException;
using velmaro::SettingsStore;
namespace platform = velmaro::platform;

namespace {

const std::string kProduct = "HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2";

QByteArray readAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The error text a call raises, or "" when it raises none.
template <typename Call>
QString errorOf(Call call) {
    try {
        call();
    } catch (const ERegistryException& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class SettingsStoreTest : public QObject {
    Q_OBJECT

    const velmaro::test::TempFolder m_dir;
    std::string m_path;

    // A settings file holding these value lines in the section "windowmain".
    void writeSection(const QByteArray& valueLines) {
        writeAll(QString::fromStdString(m_path), "Windows Registry Editor Version 5.00\r\n\r\n[" +
                                                     QByteArray::fromStdString(kProduct) +
                                                     "\\windowmain]\r\n" + valueLines + "\r\n");
    }

private Q_SLOTS:
    void init() {
        m_path = m_dir.path("Velmaro 2.reg");
        QFile::remove(QString::fromStdString(m_path));
    }

    void firstUseGivesDefaultsAndCreatesTheProductKey() {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_dir.path()));
        {
            SettingsStore store;
            QCOMPARE(store.ReadString("Skin", "Name", "default"), std::string("default"));
            QCOMPARE(store.ReadInteger("windowmain", "splitter", 224), 224);
            QCOMPARE(store.ReadBool("windowmain", "M", false), false);
            QCOMPARE(store.ReadBool("ExtCr", "*.tmp", true), true);
            store.Close();
        }
        const QByteArray text =
            readAll(QString::fromStdString(m_dir.path("Quarno Labs/Velmaro 2.reg")));
        QCOMPARE(text, QByteArray("Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\software\\Quarno Labs]\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2]\r\n\r\n"));
    }

    void writesEveryValueAsText() {
        {
            SettingsStore store(m_path);
            store.WriteString("Skin", "Name", "default");
            store.WriteBool("ExtCr", "*.tmp", true);
            store.WriteBool("ExtCr", "*.log?", false);
            store.WriteBool("windowmain", "M", false);
            store.WriteInteger("windowmain", "L", -12);
            store.WriteInteger("windowmain", "T", 0);
            store.WriteInteger("windowmain", "W", 1024);
            store.WriteInteger("windowmain", "H", 768);
            store.WriteInteger("windowmain", "splitter", 224);
            // Reads see the writes of the same use.
            QCOMPARE(store.ReadInteger("windowmain", "L", 5), -12);
            store.Close();
        }
        const QByteArray text = readAll(QString::fromStdString(m_path));
        QVERIFY(
            text.contains("[HKEY_CURRENT_USER\\software\\Quarno Labs\\Velmaro 2\\windowmain]\r\n"
                          "\"M\"=\"0\"\r\n\"L\"=\"-12\"\r\n\"T\"=\"0\"\r\n\"W\"=\"1024\"\r\n"
                          "\"H\"=\"768\"\r\n\"splitter\"=\"224\"\r\n"));
        QVERIFY(text.contains("\"*.tmp\"=\"1\"\r\n\"*.log?\"=\"0\"\r\n"));

        const auto tree = platform::Registry(m_path).read();
        const platform::RegistryValue* w = tree.findValue(kProduct + "\\windowmain", "W");
        QVERIFY(w);
        QCOMPARE(w->Type, platform::REG_SZ);
        QCOMPARE(w->Data, std::string("1\0"
                                      "0\0"
                                      "2\0"
                                      "4\0"
                                      "\0\0",
                                      10));

        SettingsStore again(m_path);
        QCOMPARE(again.ReadString("skin", "name", "x"), std::string("default"));
        QCOMPARE(again.ReadInteger("WINDOWMAIN", "l", 0), -12);
        QCOMPARE(again.ReadBool("ExtCr", "*.TMP", false), true);
        QCOMPARE(again.ReadBool("ExtCr", "*.log?", true), false);
    }

    void readsIntegers_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("value");
        const int d = 77;
        QTest::newRow("leading blanks") << QByteArray(" 42") << 42;
        QTest::newRow("minus") << QByteArray("-1") << -1;
        QTest::newRow("zero") << QByteArray("0") << 0;
        QTest::newRow("two") << QByteArray("2") << 2;
        QTest::newRow("plus") << QByteArray("+7") << 7;
        QTest::newRow("dollar hex") << QByteArray("$1F") << 31;
        QTest::newRow("0x hex") << QByteArray("0x1f") << 31;
        QTest::newRow("x hex") << QByteArray("x1F") << 31;
        QTest::newRow("negative hex") << QByteArray("  -$10") << -16;
        QTest::newRow("32-bit hex wraps") << QByteArray("$FFFFFFFF") << -1;
        QTest::newRow("smallest") << QByteArray("-2147483648") << -2147483647 - 1;
        QTest::newRow("letters after digits") << QByteArray("12abc") << d;
        QTest::newRow("empty") << QByteArray("") << d;
        QTest::newRow("above 32 bits") << QByteArray("2147483648") << d;
        QTest::newRow("hex above 32 bits") << QByteArray("$100000000") << d;
        QTest::newRow("trailing blank") << QByteArray("1 ") << d;
        QTest::newRow("tab before") << QByteArray("\t5") << d;
        QTest::newRow("two signs") << QByteArray("--1") << d;
        QTest::newRow("prefix alone") << QByteArray("0x") << d;
        QTest::newRow("word") << QByteArray("wide") << d;
    }

    void readsIntegers() {
        QFETCH(QByteArray, stored);
        QFETCH(int, value);
        writeSection("\"W\"=\"" + stored + "\"\r\n");
        SettingsStore store(m_path);
        QCOMPARE(store.ReadInteger("windowmain", "W", 77), value);
        QCOMPARE(store.ReadBool("windowmain", "W", value != 0), value != 0);
    }

    void readsTextTypesAndRaisesOnOthers() {
        writeSection("\"W\"=dword:00000320\r\n"
                     "\"path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,00,00\r\n"
                     "\"nul\"=hex(1):61,00,00,00,62,00,00,00\r\n"
                     "\"none\"=hex(4):\r\n"
                     "\"broken\"=hex(1):00,d8,00,00\r\n");
        SettingsStore store(m_path);
        QCOMPARE(errorOf([&] { store.ReadInteger("windowmain", "W", 0); }),
                 QStringLiteral("Invalid data type for 'W'"));
        QCOMPARE(errorOf([&] { store.ReadString("windowmain", "w", ""); }),
                 QStringLiteral("Invalid data type for 'w'"));
        QCOMPARE(store.ReadString("windowmain", "path", ""), std::string("%HOME%"));
        QCOMPARE(store.ReadString("windowmain", "nul", ""), std::string("a"));
        QCOMPARE(store.ReadString("windowmain", "none", "default"), std::string());
        QCOMPARE(errorOf([&] { store.ReadString("windowmain", "broken", ""); }),
                 QStringLiteral("Failed to get data for 'broken'"));
    }

    void twoUsesAtOnceKeepBothValues() {
        SettingsStore window(m_path);
        SettingsStore news(m_path);
        window.WriteInteger("windowmain", "W", 900);
        news.WriteString("news", "lastdate", "10.12.2026");
        news.Close();
        window.Close();
        SettingsStore after(m_path);
        QCOMPARE(after.ReadInteger("windowmain", "W", 0), 900);
        QCOMPARE(after.ReadString("news", "lastdate", ""), std::string("10.12.2026"));
    }

    void namesTheFileCannotHoldNeverBlockTheSave() {
        // Read, this file used to make every later save fail.
        const QByteArray refused = "Windows Registry Editor Version 5.00\r\n\r\n[\r]\r\n";
        const QString path = QString::fromStdString(m_path);
        writeAll(path, refused);
        {
            SettingsStore store(m_path);
            QCOMPARE(store.ReadInteger("windowmain", "W", 7), 7);
            QCOMPARE(errorOf([&] { store.WriteString("windowmain", "a\rb", "x"); }),
                     QStringLiteral("Failed to set data for 'a\rb'"));
            QCOMPARE(errorOf([&] { store.WriteString("two\nlines", "W", "1"); }),
                     QStringLiteral("Failed to create key two\nlines"));
            store.WriteInteger("windowmain", "W", 900);
            QCOMPARE(errorOf([&] { store.Close(); }), QString());
        }
        QCOMPARE(readAll(path + QStringLiteral(".bad")), refused);
        SettingsStore after(m_path);
        QCOMPARE(after.ReadInteger("windowmain", "W", 0), 900);
        QCOMPARE(after.ReadString("windowmain", "a\rb", "<missing>"), std::string("<missing>"));
    }

    void folderThatCannotBeCreatedRaisesOnlyForWrites() {
        const QString plainFile = QString::fromStdString(m_dir.path("plain"));
        writeAll(plainFile, "keep");
        const std::string path = plainFile.toStdString() + "/Quarno Labs/Velmaro 2.reg";
        {
            SettingsStore reader(path);
            QCOMPARE(reader.ReadInteger("windowmain", "W", 3), 3);
            QCOMPARE(errorOf([&] { reader.Close(); }), QString());
        }
        SettingsStore writer(path);
        writer.WriteBool("windowmain", "M", false);
        writer.WriteInteger("windowmain", "L", 1);
        QCOMPARE(errorOf([&] { writer.Close(); }),
                 QStringLiteral("Failed to create key windowmain"));
        QCOMPARE(readAll(plainFile), QByteArray("keep"));
    }

    void folderThatCannotBeWrittenRaisesAndKeepsTheFile() {
        {
            SettingsStore store(m_path);
            store.WriteInteger("windowmain", "W", 800);
        }
        const QByteArray before = readAll(QString::fromStdString(m_path));
        const QByteArray folder = QByteArray::fromStdString(m_dir.path());
        ::chmod(folder.constData(), 0555);
        ::chmod(m_path.c_str(), 0644);
        ::chmod((m_path + ".lock").c_str(), 0644);
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(100);
            if (::access(folder.constData(), W_OK) == 0)
                ::_exit(101);
            SettingsStore store(m_path);
            store.WriteInteger("windowmain", "W", 1000);
            store.WriteInteger("windowmain", "H", 700);
            const QString error = errorOf([&] { store.Close(); });
            ::_exit(error == QStringLiteral("Failed to set data for 'W'") ? 0 : 102);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::chmod(folder.constData(), 0700);
        QVERIFY(WIFEXITED(status));
        QVERIFY2(WEXITSTATUS(status) != 100, "could not drop privileges");
        QVERIFY2(WEXITSTATUS(status) != 101, "the folder stayed writable");
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(readAll(QString::fromStdString(m_path)), before);
    }
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
