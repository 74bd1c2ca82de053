// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/Form_Info.h"

#include "shell/LogoImage.h"
#include "shell/ProductVersion.h"
#include "shell/UrlOpener.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

namespace velmaro {

TForm_Info* Form_Info = nullptr;

namespace {

QFont tahoma(int pixelHeight, bool bold = false) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

TForm_Info::TForm_Info(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form_Info"));
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(484, 256);
    setFont(tahoma(11));

    sPanel_Logo = place(new QFrame(this), "sPanel_Logo", 0, 0, 128, 128);
    Image_Logo = place(
        new LogoImage(QStringLiteral(":/velmaro-logo.svg"), QRect(32, 32, 64, 64), sPanel_Logo),
        "Image_Logo", 0, 1, 128, 128);
    sPanel_Dev = place(new QFrame(this), "sPanel_Dev", 0, 128, 128, 128);
    Image_Dev = place(
        new LogoImage(QStringLiteral(":/quarno-labs-logo.svg"), QRect(0, 0, 128, 110), sPanel_Dev),
        "Image_Dev", 0, 1, 128, 128);

    // A line along the right edge of its strip, the full height of the window.
    sBevel1 = place(new QFrame(this), "sBevel1", 122, 0, 9, 256);
    sBevel1->setStyleSheet(QStringLiteral("QFrame#sBevel1 { border: none;"
                                          " border-right: 2px groove palette(mid); }"));

    sLabelFX_Title =
        place(new QLabel(QStringLiteral("Velmaro"), this), "sLabelFX_Title", 128, 0, 353, 49);
    sLabelFX_Title->setFont(tahoma(19, true));
    sLabelFX_Title->setAlignment(Qt::AlignCenter);

    sMemo_Info =
        place(new QPlainTextEdit(QStringLiteral("Бета."), this), "sMemo_Info", 134, 55, 347, 162);
    sMemo_Info->setReadOnly(true);
    sMemo_Info->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sMemo_Info->setFocusPolicy(Qt::NoFocus);

    sButton_Ok =
        place(new QPushButton(QStringLiteral("OK"), this), "sButton_Ok", 240, 223, 137, 25);
    sButton_Ok->setDefault(true);
    sButton_Ok->setFocus();

    connect(Image_Logo, &LogoImage::clicked, this, &TForm_Info::Image_LogoClick);
    connect(Image_Dev, &LogoImage::clicked, this, &TForm_Info::Image_DevClick);
    connect(sButton_Ok, &QPushButton::clicked, this, &TForm_Info::sButton_OkClick);

    Form_Info = this;
    FormCreate();
}

TForm_Info::~TForm_Info() {
    if (Form_Info == this)
        Form_Info = nullptr;
}

QUrl TForm_Info::ProductPage() {
    return QUrl(QStringLiteral(VELMARO_PRODUCT_URL));
}

QUrl TForm_Info::HomePage() {
    return QUrl(QStringLiteral(VELMARO_HOME_URL));
}

void TForm_Info::FormCreate() {
    sLabelFX_Title->setText(sLabelFX_Title->text() + QLatin1Char(' ') +
                            QString::fromStdString(GetProductVersion()));
}

void TForm_Info::Image_LogoClick() {
    OpenUrl(ProductPage());
}

void TForm_Info::Image_DevClick() {
    OpenUrl(HomePage());
}

void TForm_Info::sButton_OkClick() {
    accept();
}

} // namespace velmaro
