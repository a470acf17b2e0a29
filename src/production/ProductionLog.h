#pragma once

#include "production/LogTime.h"
#include "production/ProductionRow.h"

#include <QString>
#include <optional>
#include <vector>

class LogConnection;

// The production log, one row per chip command and port, in an SQLite file (with a rollback
// journal: a row reported as logged is in the main file) or a PostgreSQL database. Every
// function opens a connection of its own on the calling thread, so the ports of one run, and
// runs side by side, may append at the same time.

// $XDG_DATA_HOME/tolm/production.sqlite, else ~/.local/share/tolm/production.sqlite.
QString DefaultProductionLogPath();

// The folder of this bench's own files: the default log's, where the queue of rows for a
// server and the serial reserves live.
QString BenchDataFolder();

// Makes a log file ready before any chip is touched: creates its folder and the file (mode
// 0600), checks that it is a log of ours and undamaged, switches an older log out of WAL mode,
// and brings an older schema up to date. Nothing when rows can be appended; else the reason. A
// file that is not a log (damaged, someone else's database, a newer schema) is left exactly as
// it is.
std::optional<QString> PrepareProductionLog(const QString &path);

// The same for an open connection to either kind of log: checks that the database is a log of
// ours and brings its schema up to date, in one transaction that no other bench's migration
// can interleave with.
std::optional<QString> PrepareOpenLog(LogConnection &connection);

// Appends one row to a prepared log file; the reason when it could not be written.
std::optional<QString> AppendProductionRow(const QString &path, const ProductionRow &row);

// Appends rows to an open, prepared log in one transaction. A row whose uid the log already
// holds is skipped: a row sent twice is stored once.
std::optional<QString> InsertRows(LogConnection &connection,
                                  const std::vector<ProductionRow> &rows);
