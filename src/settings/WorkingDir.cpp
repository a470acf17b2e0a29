#include "WorkingDir.h"

QString DialogDirectory(const QString &workingDir)
{
    if (workingDir.size() <= 1)
        return workingDir;
    const QChar last = workingDir.back();
    const bool separator = last == QLatin1Char('/') || last == QLatin1Char('\\');
    const bool afterColon = workingDir.at(workingDir.size() - 2) == QLatin1Char(':');
    if (!separator || afterColon)
        return workingDir;
    return workingDir.chopped(1);
}
