// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace velmaro {
namespace {

// Window rectangles end exclusively (a right edge is x + width), in 64 bits, so that stored
// coordinates near the ends of an int cannot overflow.
struct Span {
    std::int64_t begin;
    std::int64_t end;
};

std::int64_t overlap(Span a, Span b) {
    return std::max<std::int64_t>(0, std::min(a.end, b.end) - std::max(a.begin, b.begin));
}

Span horizontal(const QRect& r) {
    return {r.x(), std::int64_t{r.x()} + r.width()};
}

Span vertical(const QRect& r) {
    return {r.y(), std::int64_t{r.y()} + r.height()};
}

// value moved into [low, high]; low wins when the span is empty.
std::int64_t clampInto(std::int64_t value, std::int64_t low, std::int64_t high) {
    return std::max(low, std::min(value, high));
}

int toInt(std::int64_t value) {
    return static_cast<int>(
        clampInto(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// topLeft moved as little as it takes to bring the window's title bar inside area.
QPoint intoReach(QPoint topLeft, QSize size, const QRect& area) {
    const Span across = horizontal(area);
    const Span down = vertical(area);
    const std::int64_t left =
        clampInto(topLeft.x(), across.begin - size.width() + WindowPlacement::GripWidth,
                  across.end - WindowPlacement::GripWidth);
    const std::int64_t top =
        clampInto(topLeft.y(), down.begin, down.end - WindowPlacement::TitleBarHeight);
    return {toInt(left), toInt(top)};
}

} // namespace

QSize WindowPlacement::boundedSize(QSize stored, QSize minimum, const QVector<QRect>& areas) {
    if (!areas.isEmpty()) {
        QRect bound;
        for (const QRect& area : areas)
            bound = bound.united(area);
        stored = stored.boundedTo(bound.size());
    }
    return stored.expandedTo(minimum);
}

bool WindowPlacement::reachable(QPoint topLeft, QSize size, const QRect& area) {
    const Span across = {topLeft.x(), std::int64_t{topLeft.x()} + size.width()};
    const Span titleBar = {topLeft.y(), std::int64_t{topLeft.y()} + TitleBarHeight};
    return overlap(across, horizontal(area)) >= GripWidth &&
           overlap(titleBar, vertical(area)) >= GripHeight;
}

QPoint WindowPlacement::withinReach(QPoint topLeft, QSize size, const QVector<QRect>& areas) {
    const auto inReach = [&](const QRect& area) { return reachable(topLeft, size, area); };
    if (areas.isEmpty() || std::any_of(areas.begin(), areas.end(), inReach))
        return topLeft;
    QPoint best = topLeft;
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (const QRect& area : areas) {
        const QPoint moved = intoReach(topLeft, size, area);
        const std::int64_t distance = std::abs(std::int64_t{moved.x()} - topLeft.x()) +
                                      std::abs(std::int64_t{moved.y()} - topLeft.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = moved;
        }
    }
    return best;
}

} // namespace velmaro
