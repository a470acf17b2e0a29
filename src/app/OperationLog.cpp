#include "OperationLog.h"

#include <QTime>

void OperationLog::Append(const QString &text, const QString &detail)
{
    if (text.isEmpty())
        return;
    QString entry =
        QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") + text;
    for (const QString &line : detail.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        entry += QStringLiteral("\n          ") + line;
    m_entries << entry;
    emit Appended(entry);
}
