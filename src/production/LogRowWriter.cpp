// Rows into an open log: one prepared INSERT for both kinds of database, every value bound.
#include "production/ProductionLog.h"

#include "device/HexText.h"
#include "production/LogConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QVariant TextOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// A column that is never NULL: Qt binds a null QString as NULL, so an empty text (a desktop
// program without a port yet) goes in as "".
QVariant Text(const QString &text)
{
    return text.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(text);
}

void BindRow(QSqlQuery &query, const ProductionRow &row)
{
    query.addBindValue(TextOrNull(row.uid));
    query.addBindValue(LogTimeText(row.time));
    query.addBindValue(Text(row.host));
    query.addBindValue(Text(row.port));
    query.addBindValue(Text(row.device));
    query.addBindValue(Text(row.command));
    query.addBindValue(TextOrNull(row.file));
    query.addBindValue(TextOrNull(row.fileSha256));
    query.addBindValue(row.checksum ? QVariant(FormatHex(*row.checksum, 4))
                                    : QVariant(QMetaType(QMetaType::QString)));
    query.addBindValue(row.serial ? QVariant(static_cast<qlonglong>(*row.serial))
                                  : QVariant(QMetaType(QMetaType::LongLong)));
    query.addBindValue(Text(row.result));
    query.addBindValue(row.exitCode);
    query.addBindValue(row.words);
    query.addBindValue(row.elapsedMs);
    query.addBindValue(TextOrNull(row.detail));
    query.addBindValue(TextOrNull(row.station));
    query.addBindValue(TextOrNull(row.operatorName));
    query.addBindValue(TextOrNull(row.lot));
    query.addBindValue(TextOrNull(row.programVersion));
    query.addBindValue(TextOrNull(row.operation));
}

// Whether an SQLite log is still in WAL mode (another program kept an older log open): its
// rows then count only once a checkpoint has copied them into the main file.
bool InWalMode(QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next() &&
           query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
}

std::optional<QString> CheckpointIntoMainFile(QSqlDatabase &db)
{
    QSqlQuery query(db);
    // FULL waits (within the busy time-out) for readers, then copies every frame; the
    // first column is 1 when it could not finish.
    if (!query.exec(QStringLiteral("PRAGMA wal_checkpoint(FULL)")) || !query.next())
        return LogErrorText(query.lastError());
    if (query.value(0).toInt() != 0 || query.value(1).toInt() != query.value(2).toInt())
        return QStringLiteral("the row waits in the -wal file: another program holds the log "
                              "open");
    return std::nullopt;
}

std::optional<QString> InsertEach(QSqlDatabase &db, const std::vector<ProductionRow> &rows)
{
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral(
            "INSERT INTO chips (uid, time, host, port, device, command, file, file_sha256, "
            "checksum, serial, result, exit_code, words, elapsed_ms, detail, station, operator, "
            "lot, program_version, operation) VALUES "
            "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT (uid) DO NOTHING")))
        return LogErrorText(query.lastError());
    for (const ProductionRow &row : rows) {
        BindRow(query, row);
        if (!query.exec())
            return LogErrorText(query.lastError());
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> InsertRows(LogConnection &connection, const std::vector<ProductionRow> &rows)
{
    QSqlDatabase &db = connection.Db();
    const bool sqlite = connection.Dialect() == LogDialect::Sqlite;
    QSqlQuery control(db);
    // Several rows go in together or not at all; one row is its own transaction.
    const bool together = rows.size() > 1;
    if (together &&
        !control.exec(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN")))
        return LogErrorText(control.lastError());
    if (const auto failure = InsertEach(db, rows)) {
        if (together)
            control.exec(QStringLiteral("ROLLBACK"));
        return failure;
    }
    if (together && !control.exec(QStringLiteral("COMMIT")))
        return LogErrorText(control.lastError());
    if (sqlite && InWalMode(db))
        return CheckpointIntoMainFile(db);
    return std::nullopt;
}
