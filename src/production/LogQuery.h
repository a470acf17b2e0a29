#pragma once

#include "production/ProductionRow.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// Which rows of the production log to show; an unset field lets every row through.
struct LogFilter
{
    std::optional<QDateTime> since;
    std::optional<QString> device;
    std::optional<std::uint64_t> serial;
    // Rows up to this id only: a second pass over a log that is being written reads the
    // rows the first one saw, no more.
    std::optional<qint64> upToId;
};

struct LogReadResult
{
    std::vector<ProductionRow> rows; // oldest first (only where the rows are collected)
    bool missing = false;            // no log at the path yet: no rows, no error
    QString error;                   // the log cannot be read (damaged, not a log)
    qint64 lastId = 0;               // the id of the last row read
};

// Receives each row as it is read.
using LogRowSink = std::function<void(const ProductionRow &row)>;

// Reads the rows the filter lets through, oldest first, without writing to the file, and
// hands each to `sink`. The rows come a page at a time, each page a short read of its own,
// so a log of any length takes little memory and never keeps a writer waiting for long.
LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter,
                                const LogRowSink &sink);

// The same, with the rows collected in the result: for logs known to be small.
LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter);
