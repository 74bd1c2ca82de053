// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace velmaro {

// Draws every window of the program in a skin. The program carries one skin, "default", a
// style sheet built into it. The manager keeps whatever name it is given, so a name stored by
// another build survives a run unchanged, and draws a name it does not know as "default".
class SkinManager : public QObject {
    Q_OBJECT

public:
    explicit SkinManager(QObject* parent = nullptr);

    // The name of the built-in skin.
    static QString defaultSkinName();

    // The skin's name as it was given, known or not.
    const QString& SkinName() const { return m_skinName; }
    // Takes name as the skin to draw; redraws at once when the manager is active.
    void SetSkinName(const QString& name);

    bool Active() const { return m_active; }
    // Active: the application is drawn in the skin. Inactive: in the plain platform style.
    void SetActive(bool active);

    // The style sheet the skin named name draws with: the built-in one for "default" and for
    // every name the program does not know.
    static QString styleSheetFor(const QString& name);

private:
    void apply() const;

    QString m_skinName;
    bool m_active = false;
};

} // namespace velmaro
