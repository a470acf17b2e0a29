#pragma once

#include "production/ProductionRow.h"

#include <QString>
#include <vector>

// The log command's output: a header and one row a line, as an aligned table (local time,
// the file's name, the first 12 digits of its SHA-256) or as CSV (every field whole, the
// time in UTC as stored).
QString ProductionRowsText(const std::vector<ProductionRow> &rows, bool csv);
