// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/SkinManager.h"

#include "shell/Resources.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>

namespace velmaro {

SkinManager::SkinManager(QObject* parent) : QObject(parent), m_skinName(defaultSkinName()) {
    InitResources();
}

QString SkinManager::defaultSkinName() {
    return QStringLiteral("default");
}

void SkinManager::SetSkinName(const QString& name) {
    m_skinName = name;
    if (m_active)
        apply();
}

void SkinManager::SetActive(bool active) {
    m_active = active;
    apply();
}

QString SkinManager::styleSheetFor(const QString&) {
    QFile file(QStringLiteral(":/skins/default.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void SkinManager::apply() const {
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!application)
        return;
    if (m_active) {
        // Fusion draws the same on every desktop, so the style sheet looks as designed.
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        application->setStyleSheet(styleSheetFor(m_skinName));
    } else {
        application->setStyleSheet(QString());
    }
}

} // namespace velmaro
