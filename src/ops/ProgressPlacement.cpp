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

QPoint ProgressWindowPlace(const QRect &mainFrame, const QSize &frameSize, const QRect &available)
{
    const int below = mainFrame.bottom() + 1;
    const int above = mainFrame.top() - frameSize.height();
    int y = below;
    if (below + frameSize.height() > available.bottom() + 1)
        y = above >= available.top() ? above : available.bottom() + 1 - frameSize.height();
    return KeptOnScreen({mainFrame.left(), y}, frameSize, available);
}
