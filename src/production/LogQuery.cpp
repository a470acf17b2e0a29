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

// Rows a page: large enough that the per-query cost vanishes, small enough to stay a few
// hundred kilobytes.
constexpr int kPageRows = 1000;

// Every condition is a placeholder bound to its value: the texts here are the program's own.
QString SelectText(const LogFilter &filter)
{
    QStringList conditions{QStringLiteral("id > ?")};
    if (filter.upToId)
        conditions << QStringLiteral("id <= ?");
    if (filter.since)
        conditions << QStringLiteral("time >= ?");
    if (filter.device)
        conditions << QStringLiteral("device = ?");
    if (filter.serial)
        conditions << QStringLiteral("serial = ?");
    return QStringLiteral("SELECT id, time, host, port, device, command, file, file_sha256, "
                          "checksum, serial, result, exit_code, words, elapsed_ms, detail "
                          "FROM chips WHERE ") +
           conditions.join(QStringLiteral(" AND ")) +
           QStringLiteral(" ORDER BY id LIMIT %1").arg(kPageRows);
}

void BindFilter(QSqlQuery &query, const LogFilter &filter, qint64 afterId)
{
    query.addBindValue(afterId);
    if (filter.upToId)
        query.addBindValue(*filter.upToId);
    if (filter.since)
        query.addBindValue(LogTimeText(*filter.since));
    if (filter.device)
        query.addBindValue(*filter.device);
    if (filter.serial)
        query.addBindValue(static_cast<qlonglong>(*filter.serial));
}

ProductionRow RowFrom(const QSqlQuery &query)
{
    ProductionRow row;
    row.id = query.value(0).toLongLong();
    row.time = QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs);
    row.host = query.value(2).toString();
    row.port = query.value(3).toString();
    row.device = query.value(4).toString();
    row.command = query.value(5).toString();
    row.file = query.value(6).toString();
    row.fileSha256 = query.value(7).toString();
    if (const auto checksum = ParseHexText(query.value(8).toString()))
        row.checksum = static_cast<std::uint16_t>(*checksum);
    if (!query.value(9).isNull())
        row.serial = query.value(9).toULongLong();
    row.result = query.value(10).toString();
    row.exitCode = query.value(11).toInt();
    row.words = query.value(12).toInt();
    row.elapsedMs = query.value(13).toLongLong();
    row.detail = query.value(14).toString();
    return row;
}

// Reads page after page until one comes back short; the reason when a page cannot be read.
std::optional<QString> ReadPages(QSqlDatabase &db, const LogFilter &filter, const LogRowSink &sink,
                                 qint64 &lastId)
{
    const QString text = SelectText(filter);
    for (;;) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (!query.prepare(text))
            return LogErrorText(query.lastError());
        BindFilter(query, filter, lastId);
        if (!query.exec())
            return LogErrorText(query.lastError());
        int rows = 0;
        while (query.next()) {
            const ProductionRow row = RowFrom(query);
            lastId = row.id;
            sink(row);
            ++rows;
        }
        if (rows < kPageRows)
            return std::nullopt;
    }
}

} // namespace

LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter,
                                const LogRowSink &sink)
{
    LogReadResult result;
    if (const auto foreign = ForeignFileReason(path)) {
        result.error = *foreign;
        return result;
    }
    if (!QFileInfo::exists(path)) {
        result.missing = true;
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
    if (!version || *version < 0 || (*version == 0 && HasForeignTables(db))) {
        result.error = QStringLiteral("it is not a production log");
        return result;
    }
    if (*version == 0)
        return result; // made, but no row written yet
    if (const auto failure = ReadPages(db, filter, sink, result.lastId))
        result.error = *failure;
    return result;
}

LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter)
{
    std::vector<ProductionRow> rows;
    LogReadResult result =
        ReadProductionLog(path, filter, [&rows](const ProductionRow &row) { rows.push_back(row); });
    result.rows = std::move(rows);
    return result;
}
