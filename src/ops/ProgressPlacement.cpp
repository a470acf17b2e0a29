#include "ops/ProgressPlacement.h"

#include <algorithm>

QPoint KeptOnScreen(const QPoint &topLeft, const QSize &frameSize, const QRect &available)
{
    const int x = std::max(available.left(),
                           std::min(topLeft.x(), available.right() + 1 - frameSize.width()));
    const int y = std::max(available.top(),
                           std::min(topLeft.y(), available.bottom() + 1 - frameSize.height()));
    return {x, y};
}

QPoint ProgressWindowPlace(const QRect &mainFrame, const QSize &frameSize, const QRect &available,
                           int uncoveredTop)
{
    const QRect below(QPoint(mainFrame.left(), mainFrame.bottom() + 1), frameSize);
    const QRect above(QPoint(mainFrame.left(), mainFrame.top() - frameSize.height()), frameSize);
    const QRect right(QPoint(mainFrame.right() + 1, mainFrame.top()), frameSize);
    const QRect left(QPoint(mainFrame.left() - frameSize.width(), mainFrame.top()), frameSize);
    const QRect candidates[] = {below, above, right, left};
    for (int i = 0; i < 4; ++i) {
        const QRect &place = candidates[i];
        // Sideways a window may be pulled onto the screen; up and down it must fit as it is.
        const QPoint kept = KeptOnScreen(place.topLeft(), frameSize, available);
        const bool fits = i < 2 ? kept.y() == place.top() : kept.x() == place.left();
        if (fits && !QRect(kept, frameSize).intersects(mainFrame))
            return kept;
    }
    const int lowest = std::min(available.bottom() + 1, uncoveredTop) - frameSize.height();
    return KeptOnScreen({mainFrame.left(), lowest}, frameSize, available);
}
