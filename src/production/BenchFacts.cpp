#include "production/BenchFacts.h"

#include "production/ProductionRecorder.h"

#include <QDateTime>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

QString LoginName()
{
    for (const char *variable : {"LOGNAME", "USER"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    if (const passwd *entry = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return QStringLiteral("unknown");
}

BenchFacts CurrentBenchFacts(const QString &operatorName, const QString &lot,
                             const QString &programVersion)
{
    return {QSysInfo::machineHostName(), operatorName.isEmpty() ? LoginName() : operatorName, lot,
            programVersion};
}

ProductionRow NewProductionRow(const BenchFacts &facts)
{
    ProductionRow row;
    row.time = QDateTime::currentDateTimeUtc();
    row.uid = NewRowId();
    row.host = facts.station;
    row.station = facts.station;
    row.operatorName = facts.operatorName;
    row.lot = facts.lot;
    row.programVersion = facts.programVersion;
    return row;
}
