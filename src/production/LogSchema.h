#pragma once

#include "production/LogConnection.h"

#include <QString>
#include <optional>

class QSqlDatabase;

// The production log's tables, the same for an SQLite file and a PostgreSQL database, built by
// one list of migrations. SQLite keeps the version in its user_version, PostgreSQL in the table
// tolm_schema. Version 0 is an empty database; each migration takes it one version up, inside
// the caller's transaction, so a log written by an older tolm-cli is brought up to date when it
// is next written to.
//   1  chips: one row per chip command and port
//   2  chips gains uid (the row's own id, unique), station, operator, lot, program_version and
//      operation; counters: shared serial numbers by name
constexpr int kLogSchemaVersion = 2;

// The schema version of an open database, or nothing when it cannot be read.
std::optional<int> LogSchemaVersion(QSqlDatabase &db, LogDialect dialect = LogDialect::Sqlite);

// Whether an unversioned database holds tables: a database of someone else's, not an empty log.
bool HasForeignTables(QSqlDatabase &db);

// Whether the log holds its table of chips (every version from 1 on has it).
bool HasChipsTable(QSqlDatabase &db);

// Runs every migration from `from` up to kLogSchemaVersion; the reason when one failed.
std::optional<QString> MigrateLog(QSqlDatabase &db, int from,
                                  LogDialect dialect = LogDialect::Sqlite);

// A statement of the migration list in the dialect's words: PostgreSQL counts rows with a
// BIGSERIAL key and keeps every number as BIGINT, where SQLite's INTEGER is 64 bits already.
QString ForDialect(const char *statement, LogDialect dialect);
