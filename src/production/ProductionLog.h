#pragma once

#include "production/LogTime.h"
#include "production/ProductionRow.h"

#include <QString>
#include <optional>

// The production log: an SQLite database with a rollback journal (a row reported as logged
// is in the main file) with one row per chip command and port. Every function opens a connection of
// its own on the calling thread, so the ports of one run, and runs side by side, may append
// at the same time.

// $XDG_DATA_HOME/tolm/production.sqlite, else ~/.local/share/tolm/production.sqlite.
QString DefaultProductionLogPath();

// Makes the log ready before any chip is touched: creates its folder and the file, checks
// that it is a log of ours and undamaged, switches an older log out of WAL mode, and brings an
// older schema up to date. Nothing when rows can be appended; else the reason. A file that is not a
// log (damaged, someone else's database, a newer schema) is left exactly as it is.
std::optional<QString> PrepareProductionLog(const QString &path);

// Appends one row to a prepared log; the reason when it could not be written.
std::optional<QString> AppendProductionRow(const QString &path, const ProductionRow &row);
