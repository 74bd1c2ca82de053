// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velmaro {

class LogoImage;

// The about window: the product name with its version, a short note, the product logo and
// the maker's logo, each logo opening a page of the maker's web site (through OpenUrl). A
// small fixed-size modal window; OK, Enter, Esc and the close box close it. Create it with
// the main window as parent (it is centred over it), run exec(), and destroy it afterwards.
class TForm_Info : public QDialog {
    Q_OBJECT

public:
    explicit TForm_Info(QWidget* parent = nullptr);
    ~TForm_Info() override;

    // The page addresses the logos open (build options VELMARO_PRODUCT_URL and
    // VELMARO_HOME_URL).
    static QUrl ProductPage();
    static QUrl HomePage();

private:
    void FormCreate();
    void Image_LogoClick();
    void Image_DevClick();
    void sButton_OkClick();

    QFrame* sPanel_Logo;
    LogoImage* Image_Logo;
    QFrame* sPanel_Dev;
    LogoImage* Image_Dev;
    QFrame* sBevel1;
    QLabel* sLabelFX_Title;
    QPlainTextEdit* sMemo_Info;
    QPushButton* sButton_Ok;
};

// The about window while it exists, otherwise nullptr.
extern TForm_Info* Form_Info;

} // namespace velmaro
