#include "production/LogSchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <vector>

namespace {

// Migration k takes a log from version k to k + 1. Append here; never change one that has
// shipped, since logs of that version exist. The statements are written for SQLite and read
// by PostgreSQL through ForDialect.
const std::array<std::vector<const char *>, kLogSchemaVersion> kMigrations = {{
    {
        "CREATE TABLE chips ("
        " id INTEGER PRIMARY KEY,"
        " time TEXT NOT NULL," // ISO 8601, UTC, with milliseconds: sorts as text
        " host TEXT NOT NULL,"
        " port TEXT NOT NULL,"
        " device TEXT NOT NULL,"
        " command TEXT NOT NULL,"
        " file TEXT,"
        " file_sha256 TEXT,"
        " checksum TEXT," // four hex digits
        " serial INTEGER,"
        " result TEXT NOT NULL,"
        " exit_code INTEGER NOT NULL,"
        " words INTEGER NOT NULL,"
        " elapsed_ms INTEGER NOT NULL,"
        " detail TEXT)",
        "CREATE INDEX chips_time ON chips (time)",
        "CREATE INDEX chips_serial ON chips (serial)",
    },
    {
        // A row kept on a bench while the server was away may be sent twice; its id makes the
        // second sending a no-op.
        "ALTER TABLE chips ADD COLUMN uid TEXT",
        "ALTER TABLE chips ADD COLUMN station TEXT",
        "ALTER TABLE chips ADD COLUMN operator TEXT",
        "ALTER TABLE chips ADD COLUMN lot TEXT",
        "ALTER TABLE chips ADD COLUMN program_version TEXT",
        "ALTER TABLE chips ADD COLUMN operation TEXT", // the command: write, verify, ...
        "CREATE UNIQUE INDEX chips_uid ON chips (uid)",
        "CREATE INDEX chips_lot ON chips (lot)",
        "CREATE TABLE counters (name TEXT PRIMARY KEY, next_number INTEGER NOT NULL)",
    },
}};

std::optional<QString> WriteVersion(QSqlDatabase &db, LogDialect dialect, int version)
{
    QSqlQuery query(db);
    if (dialect == LogDialect::Sqlite) {
        // A pragma takes no bound value; the number is the program's own.
        if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)))
            return query.lastError().text();
        return std::nullopt;
    }
    if (!query.exec(QStringLiteral("DELETE FROM tolm_schema")) ||
        !query.prepare(QStringLiteral("INSERT INTO tolm_schema (version) VALUES (?)")))
        return query.lastError().text();
    query.addBindValue(version);
    if (!query.exec())
        return query.lastError().text();
    return std::nullopt;
}

} // namespace

QString ForDialect(const char *statement, LogDialect dialect)
{
    QString text = QString::fromLatin1(statement);
    if (dialect == LogDialect::Postgres)
        text.replace(QLatin1String("INTEGER PRIMARY KEY"), QLatin1String("BIGSERIAL PRIMARY KEY"))
            .replace(QLatin1String(" INTEGER"), QLatin1String(" BIGINT"));
    return text;
}

std::optional<int> LogSchemaVersion(QSqlDatabase &db, LogDialect dialect)
{
    QSqlQuery query(db);
    if (dialect == LogDialect::Sqlite) {
        if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
            return std::nullopt;
        return query.value(0).toInt();
    }
    if (!db.tables(QSql::Tables).contains(QStringLiteral("tolm_schema")))
        return 0;
    if (!query.exec(QStringLiteral("SELECT version FROM tolm_schema")) || !query.next())
        return std::nullopt;
    return query.value(0).toInt();
}

bool HasForeignTables(QSqlDatabase &db)
{
    return !db.tables(QSql::Tables).isEmpty();
}

bool HasChipsTable(QSqlDatabase &db)
{
    return db.tables(QSql::Tables).contains(QStringLiteral("chips"), Qt::CaseInsensitive);
}

std::optional<QString> MigrateLog(QSqlDatabase &db, int from, LogDialect dialect)
{
    if (from < 0 || from > kLogSchemaVersion)
        return QStringLiteral("schema version %1 is not one tolm-cli knows").arg(from);
    QSqlQuery query(db);
    if (dialect == LogDialect::Postgres && from == 0 &&
        !query.exec(QStringLiteral("CREATE TABLE tolm_schema (version INTEGER NOT NULL)")))
        return query.lastError().text();
    for (int version = from; version < kLogSchemaVersion; ++version) {
        const auto &statements = kMigrations[static_cast<std::size_t>(version)];
        if (statements.empty())
            return QStringLiteral("no migration to version %1").arg(version + 1);
        for (const char *statement : statements) {
            if (!query.exec(ForDialect(statement, dialect)))
                return query.lastError().text();
        }
        if (const auto failure = WriteVersion(db, dialect, version + 1))
            return failure;
    }
    return std::nullopt;
}
