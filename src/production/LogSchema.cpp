#include "production/LogSchema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>
#include <vector>

namespace {

// Migration k takes a log from version k to k + 1. Append here; never change one that has
// shipped, since logs of that version exist.
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
}};

} // namespace

std::optional<int> LogSchemaVersion(QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
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

std::optional<QString> MigrateLog(QSqlDatabase &db, int from)
{
    if (from < 0 || from > kLogSchemaVersion)
        return QStringLiteral("schema version %1 is not one tolm-cli knows").arg(from);
    QSqlQuery query(db);
    for (int version = from; version < kLogSchemaVersion; ++version) {
        const auto &statements = kMigrations[static_cast<std::size_t>(version)];
        if (statements.empty())
            return QStringLiteral("no migration to version %1").arg(version + 1);
        for (const char *statement : statements) {
            if (!query.exec(QString::fromLatin1(statement)))
                return query.lastError().text();
        }
        if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1)))
            return query.lastError().text();
    }
    return std::nullopt;
}
