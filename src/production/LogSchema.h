#pragma once

#include <QString>
#include <optional>

class QSqlDatabase;

// The production log's tables, versioned by SQLite's user_version. Version 0 is an empty
// file; each migration takes the file one version up, inside the caller's transaction, so a
// log written by an older tolm-cli is brought up to date when it is next written to.
constexpr int kLogSchemaVersion = 1;

// The schema version of an open database, or nothing when it cannot be read.
std::optional<int> LogSchemaVersion(QSqlDatabase &db);

// Whether an unversioned database holds tables: a file of someone else's, not an empty log.
bool HasForeignTables(QSqlDatabase &db);

// Whether the log holds its table of chips (every version from 1 on has it).
bool HasChipsTable(QSqlDatabase &db);

// Runs every migration from `from` up to kLogSchemaVersion; the reason when one failed.
std::optional<QString> MigrateLog(QSqlDatabase &db, int from);
