// SPDX-License-Identifier: GPL-3.0-or-later
#include "workflow/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace velmaro {
namespace {

class DialogPrompts final : public Prompts {
public:
    void message(QWidget* parent, Icon icon, const QString& title, const QString& text) override {
        QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
        box.exec();
    }

    QString saveFileName(QWidget* parent, const QString& caption, const QString& file,
                         const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, file, filter);
    }

private:
    static QMessageBox::Icon boxIcon(Icon icon) {
        switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Critical:
            break;
        }
        return QMessageBox::Critical;
    }
};

DialogPrompts g_dialogPrompts;
Prompts* g_installed = nullptr;

} // namespace

Prompts& Prompts::current() {
    return g_installed ? *g_installed : g_dialogPrompts;
}

void Prompts::install(Prompts* prompts) {
    g_installed = prompts;
}

} // namespace velmaro
