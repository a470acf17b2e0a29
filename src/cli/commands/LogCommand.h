#pragma once

#include "production/ProductionRow.h"

#include <QString>
#include <vector>

class CliContext;
struct LogFilter;
struct LogPlace;

// The log command's output: a header and one row a line, as an aligned table (local time,
// the file's name, the first 12 digits of its SHA-256) or as CSV (every field whole, the
// time in UTC as stored, the columns of schema 2 at the end).
QString ProductionRowsText(const std::vector<ProductionRow> &rows, bool csv);

// log --sync: sends the rows this bench kept for the log's server; says how many went and how
// many still wait. 0 when none waits any more, 3 when some could not be sent.
int SyncKeptRows(CliContext &ctx, const LogPlace &place);

// log --summary: chips, passed, failed and yield by lot, device, station and command.
int PrintLogSummary(CliContext &ctx, const LogPlace &place, const LogFilter &filter, bool csv);
