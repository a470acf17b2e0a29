#include "production/LogTime.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <cstdlib>

namespace {

// The offset's seconds east of UTC from "Z", "+02:00" or "-0530"; nothing when none is given.
std::optional<int> OffsetSeconds(const QString &offset)
{
    if (offset.isEmpty())
        return std::nullopt;
    if (offset == QLatin1String("Z"))
        return 0;
    const int sign = offset.startsWith(QLatin1Char('-')) ? -1 : 1;
    const QString digits = QString(offset.mid(1)).remove(QLatin1Char(':'));
    return sign * (digits.left(2).toInt() * 3600 + digits.mid(2, 2).toInt() * 60);
}

} // namespace

std::optional<QDateTime> ParseLogTime(const QString &text)
{
    static const QRegularExpression form(QRegularExpression::anchoredPattern(
        QStringLiteral("(\\d{4})-(\\d{2})-(\\d{2})"
                       "(?:[ T](\\d{2}):(\\d{2})(?::(\\d{2}))?(Z|[+-]\\d{2}:?\\d{2})?)?")));
    const auto match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    const QTime time = match.capturedLength(4) == 0
                           ? QTime(0, 0)
                           : QTime(match.captured(4).toInt(), match.captured(5).toInt(),
                                   match.captured(6).toInt());
    const auto offset = OffsetSeconds(match.captured(7));
    if (!date.isValid() || !time.isValid() || (offset && std::abs(*offset) > 14 * 3600))
        return std::nullopt;
    if (offset)
        return QDateTime(date, time, QTimeZone(*offset));
    return QDateTime(date, time);
}

QString LogTimeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
}
