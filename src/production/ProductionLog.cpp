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
    if (version == 0 && HasForeignTables(db))
        return QStringLiteral("it is another program's database, not a production log");
    if (version > kLogSchemaVersion)
        return QStringLiteral("a newer tolm-cli wrote it (schema %1; this one knows up to %2)")
            .arg(version)
            .arg(kLogSchemaVersion);
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

std::optional<QString> SwitchToWal(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
        return query.lastError().text();
    if (!query.next() ||
        query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("it cannot be switched to WAL mode (a read-only file?)");
    return std::nullopt;
}

std::optional<QString> MigrateInTransaction(QSqlDatabase &db)
{
    QSqlQuery query(db);
    // IMMEDIATE takes the write lock at once: a read-only file fails here, and two runs
    // never migrate at the same time.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return query.lastError().text();
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

QString LogTimeText(const QDateTime &time)
{
    return time.toUTC().toString(Qt::ISODateWithMs);
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
    if (const auto failure = SwitchToWal(db))
        return failure;
    return MigrateInTransaction(db);
}

std::optional<QString> AppendProductionRow(const QString &path, const ProductionRow &row)
{
    LogConnection connection(path, LogConnection::Mode::ReadWrite);
    if (const auto failure = connection.Open())
        return failure;
    QSqlQuery query(connection.Db());
    query.prepare(QStringLiteral(
        "INSERT INTO chips (time, host, port, device, command, file, file_sha256, checksum, "
        "serial, result, exit_code, words, elapsed_ms, detail) VALUES "
        "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
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
        return query.lastError().text();
    return std::nullopt;
}
