#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// A moment as a user gives it to pick log rows: YYYY-MM-DD (the start of that day),
// YYYY-MM-DD HH:MM or YYYY-MM-DD HH:MM:SS (a T may take the blank's place), in local time
// unless an offset follows (Z, +HH:MM, -HHMM). Nothing for anything else, also for text
// after a valid date or a date that does not exist.
std::optional<QDateTime> ParseLogTime(const QString &text);

// The time as the log stores it: ISO 8601 in UTC with milliseconds, sortable as text.
QString LogTimeText(const QDateTime &time);
