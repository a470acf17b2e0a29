#include "engine/ProgressTime.h"

#include <algorithm>

std::optional<qint64> SecondsLeft(qint64 elapsedMs, qint64 done, qint64 total)
{
    if (done <= 0 || total <= 0)
        return std::nullopt;
    const qint64 shown = std::min(done, total);
    // Words take about the same time each, so the rate so far holds for the rest.
    return (elapsedMs * (total - shown) / shown + 999) / 1000;
}
