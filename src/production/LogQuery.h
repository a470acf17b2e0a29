#pragma once

#include "production/ProductionRow.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// Which rows of the production log to show; an unset field lets every row through.
struct LogFilter
{
    std::optional<QDateTime> since;
    std::optional<QString> device;
    std::optional<std::uint64_t> serial;
};

struct LogReadResult
{
    std::vector<ProductionRow> rows; // oldest first
    bool missing = false;            // no log at the path yet: no rows, no error
    QString error;                   // the log cannot be read (damaged, not a log)
};

// Reads the rows the filter lets through, oldest first, without writing to the file.
LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter);
