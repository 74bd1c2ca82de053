// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/LogoImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmaro {

LogoImage::LogoImage(const QString& svgFile, const QRect& picture, QWidget* parent)
    : QWidget(parent), m_renderer(svgFile), m_picture(picture) {
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
}

void LogoImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_renderer.render(&painter, m_picture);
}

void LogoImage::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
}

void LogoImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Q_EMIT clicked();
}

} // namespace velmaro
