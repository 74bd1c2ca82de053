// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSvgRenderer>
#include <QWidget>

namespace velmaro {

// A picture that reacts to clicks: draws an SVG picture into a fixed rectangle of the
// widget on a transparent background, shows the hand pointer, and emits clicked when the
// left button is pressed and released over it.
class LogoImage : public QWidget {
    Q_OBJECT

public:
    // svgFile is a resource path such as ":/velmaro-logo.svg"; picture is where it is drawn,
    // in the widget's coordinates.
    LogoImage(const QString& svgFile, const QRect& picture, QWidget* parent);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QSvgRenderer m_renderer;
    QRect m_picture;
    bool m_pressed = false;
};

} // namespace velmaro
