#pragma once

#include "production/LogPlace.h"
#include "production/ProductionRow.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QSqlDatabase;

// Which rows of the production log to show; an unset field lets every row through.
struct LogFilter
{
    std::optional<QDateTime> since;
    std::optional<QString> device;
    std::optional<std::uint64_t> serial;
    std::optional<QString> lot;
    // Rows up to this id only: a second pass over a log that is being written reads the
    // rows the first one saw, no more.
    std::optional<qint64> upToId;
};

struct LogReadResult
{
    std::vector<ProductionRow> rows; // oldest first (only where the rows are collected)
    bool missing = false;            // no log file at the path yet: no rows, no error
    QString error;                   // the log cannot be read (damaged, not a log)
    qint64 lastId = 0;               // the id of the last row read
};

// Receives each row as it is read.
using LogRowSink = std::function<void(const ProductionRow &row)>;

// Reads the rows the filter lets through, oldest first, without writing to the log, and
// hands each to `sink`. The rows come a page at a time, each page a short read of its own,
// so a log of any length takes little memory and never keeps a writer waiting for long.
LogReadResult ReadProductionLog(const LogPlace &place, const LogFilter &filter,
                                const LogRowSink &sink);
LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter,
                                const LogRowSink &sink);

// The same, with the rows collected in the result: for logs known to be small.
LogReadResult ReadProductionLog(const QString &path, const LogFilter &filter);

// Up to `limit` rows after `afterId`, oldest first, from an open log of schema `version`.
std::vector<ProductionRow> ReadRowPage(QSqlDatabase &db, int version, qint64 afterId, int limit,
                                       QString &error);

// The day at a glance: chips, passed and failed by lot, device, station and command.
struct LogSummaryRow
{
    QString lot;
    QString device;
    QString station;
    QString operation;
    qint64 chips = 0;
    qint64 passed = 0;
};
struct LogSummary
{
    std::vector<LogSummaryRow> rows;
    bool missing = false;
    QString error;
};
LogSummary SummarizeProductionLog(const LogPlace &place, const LogFilter &filter);
