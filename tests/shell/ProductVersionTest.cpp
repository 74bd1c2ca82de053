// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ProductVersion.h"

#include "TempFolder.h"
#include "platform/VersionBlock.h"

#include <QTest>

using namespace velmaro;
using platform::VersionBlock;

namespace {

// The standard resource with translation language/codePage and a string table tableKey
// holding the given ProductVersion block (or none).
std::string craft(std::uint16_t language, std::uint16_t codePage, const std::string& tableKey,
                  const std::optional<VersionBlock>& productVersion) {
    VersionBlock root =
        platform::DescribeVersionResource(
            {{2, 25, 0, 0}, {2, 25, 0, 0}, language, codePage, {{"CompanyName", "Quarno Labs"}}})
            .value();
    VersionBlock& table = root.Children.at(0).Children.at(0);
    table.Key = tableKey;
    if (productVersion)
        table.Children.push_back(*productVersion);
    return platform::SerializeVersionBlock(root).value();
}

VersionBlock text(const char* value) {
    return platform::VersionTextBlock("ProductVersion", value).value();
}

} // namespace

class ProductVersionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void thisBuildCarriesItsVersion() { QCOMPARE(GetProductVersion(), std::string("2.25 beta")); }

    void fileWithoutResourceGivesEmptyText() {
        const velmaro::test::TempFolder dir;
        QCOMPARE(ProductVersionOf(dir.file("plain", "#!/bin/sh\n")), std::string());
        QCOMPARE(ProductVersionOf(dir.path("missing")), std::string());
    }

    void craftedResources_data() {
        QTest::addColumn<QByteArray>("resource");
        QTest::addColumn<QString>("version");
        const auto row = [](const char* name, const std::string& resource, const char* version) {
            QTest::newRow(name) << QByteArray::fromStdString(resource)
                                << QString::fromUtf8(version);
        };
        row("this build's form", craft(0x0419, 0x04E3, "041904E3", text("2.25 beta")), "2.25 beta");
        row("language 0x0400 selects table 040004E3", craft(0x0400, 0x04E3, "040004E3", text("x")),
            "x");
        row("table not named by the translation", craft(0x0400, 0x04E3, "041904E3", text("x")), "");
        row("missing ProductVersion", craft(0x0419, 0x04E3, "041904E3", std::nullopt), "");
        row("terminator only", craft(0x0419, 0x04E3, "041904E3", text("")), "");
        VersionBlock embedded = text("1.0");
        embedded.Value = std::string("1\0\0\0.\0"
                                     "0\0\0\0",
                                     10);
        row("text ends at its first NUL", craft(0x0419, 0x04E3, "041904E3", embedded), "1");

        VersionBlock root = platform::DescribeVersionResource({{}, {}, 0x0419, 0x04E3, {}}).value();
        root.Children.at(0).Children.at(0).Children.push_back(text("2.25 beta"));
        VersionBlock& translation = root.Children.at(1).Children.at(0);
        translation.Value.resize(2);
        translation.ValueLength = 2;
        row("translation of 2 bytes", platform::SerializeVersionBlock(root).value(), "");
        translation.ValueLength = 4;
        row("translation claiming 4 bytes where 2 exist",
            platform::SerializeVersionBlock(root).value(), "");
    }

    void craftedResources() {
        QFETCH(QByteArray, resource);
        QFETCH(QString, version);
        QCOMPARE(QString::fromStdString(ProductVersionIn(resource.toStdString())), version);
    }
};

QTEST_GUILESS_MAIN(ProductVersionTest)
#include "ProductVersionTest.moc"
