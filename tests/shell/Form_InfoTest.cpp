// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Form_Info.h"

#include "shell/UrlOpener.h"

#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using velmaro::Form_Info;
using velmaro::TForm_Info;

class Form_InfoTest : public QObject {
    Q_OBJECT

    QList<QUrl> m_opened;

    template <typename Widget>
    static Widget* child(QWidget& form, const char* name) {
        auto* widget = form.findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

private Q_SLOTS:
    void init() {
        m_opened.clear();
        velmaro::SetUrlOpener([this](const QUrl& url) { m_opened.append(url); });
    }
    void cleanup() { velmaro::SetUrlOpener({}); }

    void showsTitleTextsAndFixedLayout() {
        TForm_Info form;
        QCOMPARE(Form_Info, &form);
        QCOMPARE(form.windowTitle(), QStringLiteral("О программе"));
        QCOMPARE(form.minimumSize(), QSize(484, 256));
        QCOMPARE(form.maximumSize(), QSize(484, 256));
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(form.font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(form.font().pixelSize(), 11);

        auto* title = child<QLabel>(form, "sLabelFX_Title");
        QCOMPARE(title->text(), QStringLiteral("Velmaro 2.25 beta"));
        QCOMPARE(title->font().pixelSize(), 19);
        QVERIFY(title->font().bold());
        QCOMPARE(title->alignment(), Qt::AlignCenter);
        auto* memo = child<QPlainTextEdit>(form, "sMemo_Info");
        QCOMPARE(memo->toPlainText(), QStringLiteral("Бета."));
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        auto* ok = child<QPushButton>(form, "sButton_Ok");
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QVERIFY(ok->isDefault());

        const struct {
            const char* name;
            QRect place;
        } controls[] = {
            {"sPanel_Logo", {0, 0, 128, 128}},   {"Image_Logo", {0, 1, 128, 128}},
            {"sPanel_Dev", {0, 128, 128, 128}},  {"Image_Dev", {0, 1, 128, 128}},
            {"sBevel1", {122, 0, 9, 256}},       {"sLabelFX_Title", {128, 0, 353, 49}},
            {"sMemo_Info", {134, 55, 347, 162}}, {"sButton_Ok", {240, 223, 137, 25}},
        };
        for (const auto& control : controls)
            QCOMPARE(child<QWidget>(form, control.name)->geometry(), control.place);
        QCOMPARE(child<QWidget>(form, "Image_Logo")->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(child<QWidget>(form, "Image_Dev")->cursor().shape(), Qt::PointingHandCursor);
    }

    void logosAreDrawnWhereTheyBelong() {
        TForm_Info form;
        const QImage logo = child<QWidget>(form, "Image_Logo")->grab().toImage();
        const QImage dev = child<QWidget>(form, "Image_Dev")->grab().toImage();
        // The product logo sits centred (64 x 64), the maker's logo at the top left (128 x 110).
        QVERIFY(logo.pixel(64, 64) != logo.pixel(2, 2));
        QVERIFY(logo.pixel(100, 100) == logo.pixel(2, 2));
        QVERIFY(dev.pixel(64, 42) != dev.pixel(2, 120));
    }

    void logosOpenTheirPagesAndLeaveTheWindowOpen() {
        TForm_Info form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(child<QWidget>(form, "Image_Logo"), Qt::LeftButton);
        QTest::mouseClick(child<QWidget>(form, "Image_Dev"), Qt::LeftButton);
        QCOMPARE(m_opened, (QList<QUrl>{TForm_Info::ProductPage(), TForm_Info::HomePage()}));
        QVERIFY(form.isVisible());
        QVERIFY(TForm_Info::ProductPage().isValid());
        QVERIFY(TForm_Info::HomePage().isValid());
    }

    void okEnterEscAndCloseBoxEndTheModalLoop_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("OK button") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("Esc") << 2;
        QTest::newRow("close box") << 3;
    }

    void okEnterEscAndCloseBoxEndTheModalLoop() {
        QFETCH(int, way);
        QMainWindow owner;
        owner.setGeometry(100, 50, 600, 500);
        owner.show();
        TForm_Info form(&owner);
        QPoint offset(-1000, -1000);
        QTimer::singleShot(0, &form, [&] {
            offset = form.geometry().center() - owner.geometry().center();
            switch (way) {
            case 0:
                QTest::mouseClick(child<QPushButton>(form, "sButton_Ok"), Qt::LeftButton);
                break;
            case 1:
                QTest::keyClick(&form, Qt::Key_Return);
                break;
            case 2:
                QTest::keyClick(&form, Qt::Key_Escape);
                break;
            default:
                form.close();
            }
        });
        QTimer::singleShot(5000, &form, [&] { form.done(-1); });
        const int result = form.exec();
        QVERIFY(result != -1);
        QVERIFY(!form.isVisible());
        QVERIFY2(offset.manhattanLength() <= 2, "the window is centred over its owner");
        QVERIFY(m_opened.isEmpty());
    }
};

QTEST_MAIN(Form_InfoTest)
#include "Form_InfoTest.moc"
