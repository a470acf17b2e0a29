#include "production/LogQuery.h"

#include "device/HexText.h"
#include "production/LogConnection.h"
#include "production/LogSchema.h"
#include "production/ProductionLog.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QString SelectText(const LogFilter &filter)
{
    QStringList conditions;
    if (filter.since)
        conditions << QStringLiteral("time >= ?");
    if (filter.device)
        conditions << QStringLiteral("device = ?");
    if (filter.serial)
        conditions << QStringLiteral("serial = ?");
    QString text = QStringLiteral(
        "SELECT time, host, port, device, command, file, file_sha256, checksum, serial, result, "
        "exit_code, words, elapsed_ms, detail FROM chips");
    if (!conditions.isEmpty())
        text += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return text + QStringLiteral(" ORDER BY id");
}

ProductionRow RowFrom(const QSqlQuery &query)
{
    ProductionRow row;
    row.time = QDateTime::fromString(query.value(0).toString(), Qt::ISODateWithMs);
    row.host = query.value(1).toString();
    row.port = query.value(2).toString();
    row.device = query.value(3).toString();
    row.command = query.value(4).toString();
    row.file = query.value(5).toString();
    row.fileSha256 = query.value(6).toString();
    if (const auto checksum = ParseHexText(query.value(7).toString()))
        row.checksum = static_cast<std::uint16_t>(*checksum);
    if (!query.value(8).isNull())
        row.serial = query.value(8).toULongLong();
    row.result = query.value(9).toString();
    row.exitCode = query.value(10).toInt();
    row.words = query.value(11).toInt();
    row.elapsedMs = query.value(12).toLongLong();
    row.detail = query.value(13).toString();
    return row;
}

} // namespace

LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter)
{
    LogReadResult result;
    if (!QFileInfo::exists(path)) {
        result.missing = true;
        return result;
    }
    if (const auto foreign = ForeignFileReason(path)) {
        result.error = *foreign;
        return result;
    }
    LogConnection connection(path, LogConnection::Mode::ReadOnly);
    if (const auto failure = connection.Open()) {
        result.error = *failure;
        return result;
    }
    QSqlDatabase &db = connection.Db();
    if (const auto damage = DamageReason(db)) {
        result.error = *damage;
        return result;
    }
    const auto version = LogSchemaVersion(db);
    if (!version || (*version == 0 && HasForeignTables(db))) {
        result.error = QStringLiteral("it is not a production log");
        return result;
    }
    if (*version == 0)
        return result; // made, but no row written yet
    QSqlQuery query(db);
    query.prepare(SelectText(filter));
    if (filter.since)
        query.addBindValue(LogTimeText(*filter.since));
    if (filter.device)
        query.addBindValue(*filter.device);
    if (filter.serial)
        query.addBindValue(static_cast<qlonglong>(*filter.serial));
    if (!query.exec()) {
        result.error = query.lastError().text();
        return result;
    }
    while (query.next())
        result.rows.push_back(RowFrom(query));
    return result;
}
