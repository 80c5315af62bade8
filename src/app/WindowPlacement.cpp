#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

namespace
{

// The length and start of one side: as long as wanted but no longer than the
// area, and starting inside it. Done in 64 bits: stored values may be anything.
std::pair<int, int> FitSide(
    int64_t start, int64_t length, int64_t areaStart, int64_t areaLength, int64_t minimum)
{
    const int64_t fitted = std::max(minimum, std::min(length, areaLength));
    const int64_t last = std::max(areaStart, areaStart + areaLength - fitted);
    return { static_cast<int>(std::clamp(start, areaStart, last)), static_cast<int>(fitted) };
}

} // namespace

QRect FitToArea(const TStoredPlace& wanted, const QRect& area, const QSize& minimum)
{
    const auto [left, width]
        = FitSide(wanted.Left, wanted.Width, area.x(), area.width(), minimum.width());
    const auto [top, height]
        = FitSide(wanted.Top, wanted.Height, area.y(), area.height(), minimum.height());
    return QRect(left, top, width, height);
}

QScreen* ScreenFor(const TStoredPlace& wanted)
{
    const auto middle = [](int64_t start, int64_t length) {
        return static_cast<int>(std::clamp<int64_t>(start + length / 2, INT32_MIN, INT32_MAX));
    };
    const QPoint centre(middle(wanted.Left, wanted.Width), middle(wanted.Top, wanted.Height));
    if (QScreen* screen = QGuiApplication::screenAt(centre))
        return screen;
    return QGuiApplication::primaryScreen();
}

QRect PlaceClearOf(const QRect& window, const QRect& avoid, const QRect& area)
{
    const QRect inside
        = FitToArea({ window.x(), window.y(), window.width(), window.height() }, area, QSize(0, 0));
    if (!inside.intersects(avoid))
        return inside;
    const QSize size = inside.size();
    // Beside each edge of `avoid`, as near to where the window is as that allows.
    const QPoint candidates[] = {
        { avoid.right() + 1, inside.y() },
        { avoid.left() - size.width(), inside.y() },
        { inside.x(), avoid.bottom() + 1 },
        { inside.x(), avoid.top() - size.height() },
    };
    QRect best = inside;
    int64_t bestCover
        = int64_t(avoid.intersected(inside).width()) * avoid.intersected(inside).height();
    int bestMove = 0;
    for (const QPoint& at : candidates) {
        const QRect place = FitToArea({ at.x(), at.y(), size.width(), size.height() }, area, size);
        const QRect covered = avoid.intersected(place);
        const int64_t cover = int64_t(covered.width()) * covered.height();
        const int moved = (place.topLeft() - inside.topLeft()).manhattanLength();
        if (cover < bestCover || (cover == bestCover && moved < bestMove)) {
            best = place;
            bestCover = cover;
            bestMove = moved;
        }
    }
    return best;
}
