#include "production/ProductionLog.h"

#include "device/HexText.h"
#include "production/LogConnection.h"
#include "production/LogSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Why the schema is not one this program may write to, or nothing.
std::optional<QString> SchemaRefusal(QSqlDatabase &db, int &version)
{
    const auto found = LogSchemaVersion(db);
    if (!found)
        return QStringLiteral("its schema version cannot be read");
    version = *found;
    if (version < 0)
        return QStringLiteral("its schema version %1 is not one tolm-cli knows").arg(version);
    if (version == 0 && HasForeignTables(db))
        return QStringLiteral("it is another program's database, not a production log");
    if (version > kLogSchemaVersion)
        return QStringLiteral("a newer tolm-cli wrote it (schema %1; this one knows up to %2)")
            .arg(version)
            .arg(kLogSchemaVersion);
    if (version > 0 && !HasChipsTable(db))
        return QStringLiteral("it has no table of chips (schema %1 without its table: not a "
                              "production log, or a damaged one)")
            .arg(version);
    return std::nullopt;
}

// Checks the schema version again inside the write transaction: another run may have
// migrated the file since it was first looked at.
std::optional<QString> BringSchemaUpToDate(QSqlDatabase &db)
{
    int version = 0;
    if (const auto refusal = SchemaRefusal(db, version))
        return refusal;
    return MigrateLog(db, version);
}

// The checks that only read, before anything is written to the file.
std::optional<QString> CheckIsOurs(QSqlDatabase &db)
{
    std::optional<QString> refusal = DamageReason(db);
    int version = 0;
    if (!refusal)
        refusal = SchemaRefusal(db, version);
    if (refusal)
        return *refusal + QStringLiteral("; it is left as it is");
    return std::nullopt;
}

// A rollback journal: every row a run reports as logged is then in the main file, so a
// backup or cleaning script that removes the files beside it loses nothing, and a reader
// needs no -shm file (it may read a log in a folder it cannot write). An older log in WAL
// mode is switched back when no other program has it open.
std::optional<QString> UseRollbackJournal(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = DELETE")))
        return LogErrorText(query.lastError());
    return std::nullopt;
}

// Whether the log is still in WAL mode (another program kept an older log open): its rows
// then count only once a checkpoint has copied them into the main file.
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

std::optional<QString> MigrateInTransaction(QSqlDatabase &db)
{
    QSqlQuery query(db);
    // IMMEDIATE takes the write lock at once: a read-only file fails here, and two runs
    // never migrate at the same time.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return LogErrorText(query.lastError());
    if (const auto failure = BringSchemaUpToDate(db)) {
        query.exec(QStringLiteral("ROLLBACK"));
        return failure;
    }
    if (!query.exec(QStringLiteral("COMMIT")))
        return query.lastError().text();
    return std::nullopt;
}

QVariant TextOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

} // namespace

QString DefaultProductionLogPath()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // XDG_DATA_HOME counts only as an absolute path; anything else falls back to the default.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/tolm/production.sqlite");
}

std::optional<QString> PrepareProductionLog(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder %1").arg(folder);
    if (const auto foreign = ForeignFileReason(path))
        return *foreign + QStringLiteral("; it is left as it is");
    LogConnection connection(path, LogConnection::Mode::ReadWrite);
    if (const auto failure = connection.Open())
        return failure;
    QSqlDatabase &db = connection.Db();
    if (const auto notOurs = CheckIsOurs(db))
        return notOurs;
    if (const auto failure = UseRollbackJournal(db))
        return failure;
    return MigrateInTransaction(db);
}

std::optional<QString> AppendProductionRow(const QString &path, const ProductionRow &row)
{
    LogConnection connection(path, LogConnection::Mode::ReadWrite);
    if (const auto failure = connection.Open())
        return failure;
    QSqlQuery query(connection.Db());
    if (!query.prepare(QStringLiteral(
            "INSERT INTO chips (time, host, port, device, command, file, file_sha256, checksum, "
            "serial, result, exit_code, words, elapsed_ms, detail) VALUES "
            "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return LogErrorText(query.lastError());
    query.addBindValue(LogTimeText(row.time));
    query.addBindValue(row.host);
    query.addBindValue(row.port);
    query.addBindValue(row.device);
    query.addBindValue(row.command);
    query.addBindValue(TextOrNull(row.file));
    query.addBindValue(TextOrNull(row.fileSha256));
    query.addBindValue(row.checksum ? QVariant(FormatHex(*row.checksum, 4))
                                    : QVariant(QMetaType(QMetaType::QString)));
    query.addBindValue(row.serial ? QVariant(static_cast<qlonglong>(*row.serial))
                                  : QVariant(QMetaType(QMetaType::LongLong)));
    query.addBindValue(row.result);
    query.addBindValue(row.exitCode);
    query.addBindValue(row.words);
    query.addBindValue(row.elapsedMs);
    query.addBindValue(TextOrNull(row.detail));
    if (!query.exec())
        return LogErrorText(query.lastError());
    if (InWalMode(connection.Db()))
        return CheckpointIntoMainFile(connection.Db());
    return std::nullopt;
}
