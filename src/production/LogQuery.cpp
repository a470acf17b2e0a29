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

// The columns schema 2 added; an older log gives NULL in their place.
QString NewerColumns(int version)
{
    return version >= 2 ? QStringLiteral("uid, station, operator, lot, program_version, operation")
                        : QStringLiteral("NULL, NULL, NULL, NULL, NULL, NULL");
}

// Every condition is a placeholder bound to its value: the texts here are the program's own.
QStringList Conditions(const LogFilter &filter)
{
    QStringList conditions;
    if (filter.upToId)
        conditions << QStringLiteral("id <= ?");
    if (filter.since)
        conditions << QStringLiteral("time >= ?");
    if (filter.device)
        conditions << QStringLiteral("device = ?");
    if (filter.serial)
        conditions << QStringLiteral("serial = ?");
    if (filter.lot)
        conditions << QStringLiteral("lot = ?");
    return conditions;
}

void BindFilter(QSqlQuery &query, const LogFilter &filter)
{
    if (filter.upToId)
        query.addBindValue(*filter.upToId);
    if (filter.since)
        query.addBindValue(LogTimeText(*filter.since));
    if (filter.device)
        query.addBindValue(*filter.device);
    if (filter.serial)
        query.addBindValue(static_cast<qlonglong>(*filter.serial));
    if (filter.lot)
        query.addBindValue(*filter.lot);
}

QString SelectText(const QStringList &conditions, int version)
{
    return QStringLiteral("SELECT id, time, host, port, device, command, file, file_sha256, "
                          "checksum, serial, result, exit_code, words, elapsed_ms, detail, %1 "
                          "FROM chips WHERE ")
               .arg(NewerColumns(version)) +
           (QStringList{QStringLiteral("id > ?")} + conditions).join(QStringLiteral(" AND ")) +
           QStringLiteral(" ORDER BY id LIMIT ?");
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
    row.uid = query.value(15).toString();
    row.station = query.value(16).toString();
    row.operatorName = query.value(17).toString();
    row.lot = query.value(18).toString();
    row.programVersion = query.value(19).toString();
    row.operation = query.value(20).toString();
    return row;
}

// One page of rows after `afterId`; false with the reason in `error`.
bool ReadPage(QSqlDatabase &db, int version, const LogFilter &filter, qint64 afterId, int limit,
              const LogRowSink &sink, int &rows, QString &error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(SelectText(Conditions(filter), version))) {
        error = LogErrorText(query.lastError());
        return false;
    }
    query.addBindValue(afterId);
    BindFilter(query, filter);
    query.addBindValue(limit);
    if (!query.exec()) {
        error = LogErrorText(query.lastError());
        return false;
    }
    rows = 0;
    while (query.next()) {
        sink(RowFrom(query));
        ++rows;
    }
    return true;
}

// Opens a log for reading and gives its schema version; nothing when there is no log to
// read (`result` says why, or that it is missing).
template <typename Result>
std::optional<int> OpenForReading(LogConnection &connection, const LogPlace &place, Result &result)
{
    if (!place.IsPostgres()) {
        if (const auto foreign = ForeignFileReason(place.path)) {
            result.error = *foreign;
            return std::nullopt;
        }
        if (!QFileInfo::exists(place.path)) {
            result.missing = true;
            return std::nullopt;
        }
    }
    if (const auto failure = connection.Open()) {
        result.error = *failure;
        return std::nullopt;
    }
    QSqlDatabase &db = connection.Db();
    if (!place.IsPostgres()) {
        if (const auto damage = DamageReason(db)) {
            result.error = *damage;
            return std::nullopt;
        }
    }
    const auto version = LogSchemaVersion(db, connection.Dialect());
    if (!version || *version < 0 || (*version == 0 && HasForeignTables(db)) ||
        (*version > 0 && !HasChipsTable(db))) {
        result.error = QStringLiteral("it is not a production log");
        return std::nullopt;
    }
    if (*version > kLogSchemaVersion) {
        result.error = QStringLiteral("a newer tolm-cli wrote it (schema %1; this one knows up "
                                      "to %2)")
                           .arg(*version)
                           .arg(kLogSchemaVersion);
        return std::nullopt;
    }
    return version;
}

} // namespace

std::vector<ProductionRow> ReadRowPage(QSqlDatabase &db, int version, qint64 afterId, int limit,
                                       QString &error)
{
    std::vector<ProductionRow> rows;
    int count = 0;
    ReadPage(
        db, version, {}, afterId, limit, [&rows](const ProductionRow &row) { rows.push_back(row); },
        count, error);
    return rows;
}

LogReadResult ReadProductionLog(const LogPlace &place, const LogFilter &filter,
                                const LogRowSink &sink)
{
    LogReadResult result;
    LogConnection connection(place, LogConnection::Mode::ReadOnly);
    const auto version = OpenForReading(connection, place, result);
    // Nothing to read, a log made but with no row written yet, or a lot asked of rows that
    // are older than lots.
    if (!version || *version == 0 || (*version < 2 && filter.lot))
        return result;
    const auto tracking = [&](const ProductionRow &row) {
        result.lastId = row.id;
        sink(row);
    };
    for (int rows = kPageRows; rows == kPageRows;) {
        if (!ReadPage(connection.Db(), *version, filter, result.lastId, kPageRows, tracking, rows,
                      result.error))
            break;
    }
    return result;
}

LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter,
                                const LogRowSink &sink)
{
    LogPlace place;
    place.path = path;
    return ReadProductionLog(place, filter, sink);
}

LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter)
{
    std::vector<ProductionRow> rows;
    LogReadResult result =
        ReadProductionLog(path, filter, [&rows](const ProductionRow &row) { rows.push_back(row); });
    result.rows = std::move(rows);
    return result;
}

LogSummary SummarizeProductionLog(const LogPlace &place, const LogFilter &filter)
{
    LogSummary summary;
    LogConnection connection(place, LogConnection::Mode::ReadOnly);
    const auto version = OpenForReading(connection, place, summary);
    if (!version || *version == 0)
        return summary;
    // Rows of an older schema have no lot, station or command of their own: the host stands
    // for the station.
    const bool newer = *version >= 2;
    const QString groups =
        newer ? QStringLiteral("COALESCE(lot, ''), device, COALESCE(station, host), "
                               "COALESCE(operation, '')")
              : QStringLiteral("'', device, host, ''");
    const QStringList conditions = Conditions(filter);
    QSqlQuery query(connection.Db());
    query.setForwardOnly(true);
    const QString text =
        QStringLiteral("SELECT %1, COUNT(*), SUM(CASE WHEN result = 'ok' THEN 1 ELSE 0 END) "
                       "FROM chips%2 GROUP BY 1, 2, 3, 4 ORDER BY 1, 2, 3, 4")
            .arg(groups, conditions.isEmpty() ? QString()
                                              : QStringLiteral(" WHERE ") +
                                                    conditions.join(QStringLiteral(" AND ")));
    if (!newer && filter.lot)
        return summary; // no row of an older log carries a lot
    if (!query.prepare(text)) {
        summary.error = LogErrorText(query.lastError());
        return summary;
    }
    BindFilter(query, filter);
    if (!query.exec()) {
        summary.error = LogErrorText(query.lastError());
        return summary;
    }
    while (query.next())
        summary.rows.push_back({query.value(0).toString(), query.value(1).toString(),
                                query.value(2).toString(), query.value(3).toString(),
                                query.value(4).toLongLong(), query.value(5).toLongLong()});
    return summary;
}
