// log: the production log's rows, oldest first.
#include "cli/commands/LogCommand.h"

#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/output/TextTable.h"
#include "cli/production/LogChoice.h"
#include "device/HexText.h"
#include "production/LogQuery.h"
#include "production/ProductionLog.h"
#include "production/SerialNumber.h"

#include <QFileInfo>

namespace {

const char kSince[] = "since";
const char kSerial[] = "serial";
const char kCsv[] = "csv";
const char kSync[] = "sync";
const char kSummary[] = "summary";

QStringList RowCells(const ProductionRow &row, bool csv)
{
    const QString time =
        csv ? LogTimeText(row.time)
            : row.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    const QString file = csv ? row.file : QFileInfo(row.file).fileName();
    const QString sha = csv ? row.fileSha256 : row.fileSha256.left(12);
    const QString none = csv ? QString() : QStringLiteral("-");
    const auto orNone = [&none](const QString &text) { return text.isEmpty() ? none : text; };
    return {time,
            row.host,
            row.port,
            row.device,
            row.command,
            orNone(file),
            orNone(sha),
            row.checksum ? FormatHex(*row.checksum, 4) : none,
            row.serial ? QString::number(*row.serial) : none,
            row.result,
            QString::number(row.exitCode),
            QString::number(row.words),
            SecondsText(row.elapsedMs),
            orNone(row.operatorName),
            orNone(row.lot),
            orNone(row.detail)};
}

// CSV keeps its first columns where they always were; what schema 2 added follows.
QStringList CsvCells(const ProductionRow &row)
{
    QStringList cells = RowCells(row, true);
    cells.removeAt(13); // operator and lot move to the end with the others
    cells.removeAt(13);
    return cells << row.uid << row.station << row.operatorName << row.lot << row.programVersion
                 << row.operation;
}

// The filter from the options; nothing after a usage error.
std::optional<LogFilter> ReadFilter(CliContext &ctx, const QCommandLineParser &parser)
{
    LogFilter filter;
    if (parser.isSet(kSince)) {
        filter.since = ParseLogTime(parser.value(kSince));
        if (!filter.since) {
            ctx.UsageError(QStringLiteral("--since takes YYYY-MM-DD or YYYY-MM-DD HH:MM[:SS], "
                                          "not '%1'")
                               .arg(parser.value(kSince)));
            return std::nullopt;
        }
    }
    if (parser.isSet(kSerial)) {
        filter.serial = ParseSerialNumber(parser.value(kSerial));
        if (!filter.serial) {
            ctx.UsageError(QStringLiteral("--serial takes a number (decimal, or hexadecimal "
                                          "after 0x), not '%1'")
                               .arg(parser.value(kSerial)));
            return std::nullopt;
        }
    }
    // -d and --lot are global options; here they only pick rows, so they need not name a
    // known device.
    if (const auto device = ctx.Value(QStringLiteral("device")))
        filter.device = *device;
    if (const auto lot = ctx.Value(QStringLiteral("lot")))
        filter.lot = *lot;
    return filter;
}

const QStringList kHeader{"time",    "host",     "port",   "device", "command", "file",
                          "sha256",  "checksum", "serial", "result", "exit",    "words",
                          "elapsed", "operator", "lot",    "detail"};
const QStringList kCsvHeader{"time",    "host",     "port",     "device",  "command",
                             "file",    "sha256",   "checksum", "serial",  "result",
                             "exit",    "words",    "elapsed",  "detail",  "uid",
                             "station", "operator", "lot",      "version", "operation"};

// The rows as they are read: CSV a line at a time; a table in two passes over the log, the
// first measuring the columns, the second (over the same rows only) writing them.
LogReadResult PrintRows(QTextStream &out, const LogPlace &path, LogFilter filter, bool csv)
{
    if (csv) {
        out << CsvLine(kCsvHeader);
        return ReadProductionLog(
            path, filter, [&out](const ProductionRow &row) { out << CsvLine(CsvCells(row)); });
    }
    TableColumns columns;
    columns.Measure(kHeader);
    const LogReadResult measured =
        ReadProductionLog(path, filter, [&columns](const ProductionRow &row) {
            columns.Measure(RowCells(row, false));
        });
    if (!measured.error.isEmpty() || measured.missing)
        return measured;
    filter.upToId = measured.lastId;
    out << columns.Line(kHeader);
    return ReadProductionLog(
        path, filter, [&](const ProductionRow &row) { out << columns.Line(RowCells(row, false)); });
}

} // namespace

QString ProductionRowsText(const std::vector<ProductionRow> &rows, bool csv)
{
    std::vector<QStringList> cells{csv ? kCsvHeader : kHeader};
    for (const ProductionRow &row : rows)
        cells.push_back(csv ? CsvCells(row) : RowCells(row, false));
    return csv ? CsvText(cells) : AlignedTable(cells);
}

int RunLogCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the production log's rows, oldest first: time, host, port, device, command, "
        "file and its SHA-256, image checksum, serial number, result, exit code, words, "
        "elapsed seconds, operator, lot, and the first difference or the failure's reason. -d "
        "NAME and --lot L show only that device's or lot's rows. The log is a file or a "
        "postgresql:// URI, as for the chip commands."));
    CliContext::AddGlobalOptions(parser);
    parser.addOptions({
        {kSince, "Only rows from this day or moment on (local time).", "DATE"},
        {kSerial, "Only the rows of this serial number.", "N"},
        {kCsv, "CSV instead of a table (UTC times, whole paths and hashes, every column)."},
        {kSummary, "Chips, passed, failed and yield by lot, device, station and command."},
        {kSync, "Send the rows kept on this bench to the log's server, then say how many "
                "still wait."},
    });
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("log takes no arguments"));
    const auto filter = ReadFilter(ctx, parser);
    if (!filter)
        return CliExit::kUsage;
    const auto log = CliProductionLog(ctx);
    if (!log)
        return CliExit::kUsage;
    if (log->none)
        return ctx.UsageError(QStringLiteral("log reads the production log; --no-log leaves none"));
    if (parser.isSet(kSync))
        return SyncKeptRows(ctx, log->place);
    if (parser.isSet(kSummary))
        return PrintLogSummary(ctx, log->place, *filter, parser.isSet(kCsv));
    const LogReadResult result = PrintRows(ctx.out, log->place, *filter, parser.isSet(kCsv));
    const QString shown = log->place.Shown();
    if (!result.error.isEmpty()) {
        ctx.err << "tolm-cli: cannot read the production log " << shown << ": " << result.error
                << Qt::endl;
        return CliExit::kFileError;
    }
    if (result.missing) {
        ctx.err << "tolm-cli: there is no production log at " << shown << " yet" << Qt::endl;
        ctx.out << ProductionRowsText({}, parser.isSet(kCsv));
    }
    return CliExit::kOk;
}
