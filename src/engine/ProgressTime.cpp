#include "engine/ProgressTime.h"

#include <algorithm>

QString DurationText(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 % 60;
    const QString secs = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (hours > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(secs);
    return QStringLiteral("%1:%2").arg(minutes).arg(secs);
}

std::optional<qint64> SecondsLeft(qint64 elapsedMs, qint64 done, qint64 total)
{
    if (done <= 0 || total <= 0)
        return std::nullopt;
    const qint64 shown = std::min(done, total);
    // Words take about the same time each, so the rate so far holds for the rest.
    return (elapsedMs * (total - shown) / shown + 999) / 1000;
}
