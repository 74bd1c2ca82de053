// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>
#include <QVector>

namespace velmaro {

// Bounds a stored window placement (the outer rectangle) by the screens it can be shown on, so
// that a damaged or stale settings value can neither make a giant window nor keep the window
// out of sight on every start. A placement the user can still reach comes back exactly as
// stored, a window partly off a screen's edge included.
//
// The rule, applied to the available areas (the work areas) of all screens:
// - Size: at most the width and height of the rectangle that holds every available area, and
//   never below the window's minimum, even on a smaller screen.
// - Reach: the window is within reach when its title-bar strip (the top TitleBarHeight pixels of
//   the frame) shows at least GripWidth pixels wide and GripHeight pixels high on the available
//   area of one screen. Such a window is not moved.
// - Otherwise the window moves, as little as it takes, until its whole title-bar strip lies
//   inside the available area of the screen that needs the smallest move, with at least
//   GripWidth pixels of its width on it. Its size does not change.
//
// Pure functions on rectangles; any thread may call them.
class WindowPlacement {
public:
    static constexpr int TitleBarHeight = 20;
    static constexpr int GripWidth = 100;
    static constexpr int GripHeight = TitleBarHeight / 2;

    // The stored size bounded by areas and raised to minimum, each dimension on its own. With no
    // area at all only the minimum applies.
    static QSize boundedSize(QSize stored, QSize minimum, const QVector<QRect>& areas);

    // The top-left corner of the outer rectangle at topLeft with the given size: topLeft itself
    // when the window is within reach of one of areas, else moved into reach of the nearest one;
    // topLeft unchanged when areas is empty. Coordinates may be anything an int holds (a QRect
    // cannot hold them all, hence corner and size).
    static QPoint withinReach(QPoint topLeft, QSize size, const QVector<QRect>& areas);

    // Whether the title-bar strip of the window at topLeft shows enough of itself on area.
    static bool reachable(QPoint topLeft, QSize size, const QRect& area);
};

} // namespace velmaro
