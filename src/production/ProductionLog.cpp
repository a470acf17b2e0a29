#include "production/ProductionLog.h"

#include "fileio/PlainFile.h"
#include "production/LogConnection.h"
#include "production/LogSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Any number will do, as long as every tolm takes the same one: migrations of one database
// by several benches then queue behind one another.
constexpr qint64 kMigrationLockKey = 0x746F6C6D; // "tolm"

// Why the schema is not one this program may write to, or nothing.
std::optional<QString> SchemaRefusal(QSqlDatabase &db, LogDialect dialect, int &version)
{
    const auto found = LogSchemaVersion(db, dialect);
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

// The checks that only read, before anything is written to the database. They read in one
// transaction: another bench making the same new log between two of the reads would otherwise
// show its tables without its schema version, and the log would look like another program's.
std::optional<QString> CheckIsOurs(QSqlDatabase &db, LogDialect dialect)
{
    QSqlQuery control(db);
    const QString begin = dialect == LogDialect::Postgres
                              ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")
                              : QStringLiteral("BEGIN");
    if (!control.exec(begin))
        return LogErrorText(control.lastError());
    std::optional<QString> refusal;
    if (dialect == LogDialect::Sqlite)
        refusal = DamageReason(db);
    int version = 0;
    if (!refusal)
        refusal = SchemaRefusal(db, dialect, version);
    control.exec(QStringLiteral("ROLLBACK"));
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

// Takes the database's write lock for the rest of the transaction: SQLite's whole file, or
// PostgreSQL's advisory lock that every migrating bench asks for.
bool BeginWriting(QSqlQuery &query, LogDialect dialect)
{
    if (dialect == LogDialect::Sqlite)
        return query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!query.exec(QStringLiteral("BEGIN")) ||
        !query.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(?)")))
        return false;
    query.addBindValue(kMigrationLockKey);
    return query.exec();
}

// Checks the schema version again inside the write transaction: another run may have
// migrated the database since it was first looked at.
std::optional<QString> MigrateInTransaction(QSqlDatabase &db, LogDialect dialect)
{
    QSqlQuery query(db);
    // A read-only file fails here, and two runs never migrate at the same time.
    if (!BeginWriting(query, dialect))
        return LogErrorText(query.lastError());
    int version = 0;
    std::optional<QString> failure = SchemaRefusal(db, dialect, version);
    if (!failure)
        failure = MigrateLog(db, version, dialect);
    if (failure) {
        query.exec(QStringLiteral("ROLLBACK"));
        return failure;
    }
    if (!query.exec(QStringLiteral("COMMIT")))
        return LogErrorText(query.lastError());
    return std::nullopt;
}

} // namespace

QString DefaultProductionLogPath()
{
    return BenchDataFolder() + QStringLiteral("/production.sqlite");
}

QString BenchDataFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // XDG_DATA_HOME counts only as an absolute path; anything else falls back to the default.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/tolm");
}

std::optional<QString> PrepareOpenLog(LogConnection &connection)
{
    QSqlDatabase &db = connection.Db();
    const LogDialect dialect = connection.Dialect();
    if (const auto notOurs = CheckIsOurs(db, dialect))
        return notOurs;
    if (dialect == LogDialect::Sqlite) {
        if (const auto failure = UseRollbackJournal(db))
            return failure;
    }
    return MigrateInTransaction(db, dialect);
}

std::optional<QString> PrepareProductionLog(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder %1").arg(folder);
    if (const auto foreign = ForeignFileReason(path))
        return *foreign + QStringLiteral("; it is left as it is");
    // Made here, for its owner alone, before SQLite would make it readable by everyone.
    if (const auto failure = CreatePrivateFile(path))
        return failure;
    LogConnection connection(path, LogConnection::Mode::ReadWrite);
    if (const auto failure = connection.Open())
        return failure;
    return PrepareOpenLog(connection);
}

std::optional<QString> AppendProductionRow(const QString &path, const ProductionRow &row)
{
    LogConnection connection(path, LogConnection::Mode::ReadWrite);
    if (const auto failure = connection.Open())
        return failure;
    return InsertRows(connection, {row});
}
