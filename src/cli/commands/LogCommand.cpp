// log: the production log's rows, oldest first.
#include "cli/commands/LogCommand.h"

#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "cli/output/TextTable.h"
#include "cli/production/ProductionRun.h"
#include "device/HexText.h"
#include "production/LogQuery.h"
#include "production/ProductionLog.h"
#include "production/SerialNumber.h"

#include <QFileInfo>

namespace {

const char kSince[] = "since";
const char kSerial[] = "serial";
const char kCsv[] = "csv";

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
            orNone(row.detail)};
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
    // -d is a global option; here it only picks rows, so it need not name a known device.
    if (const auto device = ctx.Value(QStringLiteral("device")))
        filter.device = *device;
    return filter;
}

const QStringList kHeader{"time",     "host",   "port",   "device", "command", "file",    "sha256",
                          "checksum", "serial", "result", "exit",   "words",   "elapsed", "detail"};

// The rows as they are read: CSV a line at a time; a table in two passes over the log, the
// first measuring the columns, the second (over the same rows only) writing them.
LogReadResult PrintRows(QTextStream &out, const QString &path, LogFilter filter, bool csv)
{
    if (csv) {
        out << CsvLine(kHeader);
        return ReadProductionLog(path, filter, [&out](const ProductionRow &row) {
            out << CsvLine(RowCells(row, true));
        });
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
    std::vector<QStringList> cells{kHeader};
    for (const ProductionRow &row : rows)
        cells.push_back(RowCells(row, csv));
    return csv ? CsvText(cells) : AlignedTable(cells);
}

int RunLogCommand(CliContext &ctx, const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints the production log's rows, oldest first: time, host, port, device, command, "
        "file and its SHA-256, image checksum, serial number, result, exit code, words, "
        "elapsed seconds, and the first difference or the failure's reason. -d NAME shows "
        "only that device's rows."));
    CliContext::AddGlobalOptions(parser);
    parser.addOptions({
        {kSince, "Only rows from this day or moment on (local time).", "DATE"},
        {kSerial, "Only the rows of this serial number.", "N"},
        {kCsv, "CSV instead of a table (UTC times, whole paths and hashes)."},
    });
    int exitCode = 0;
    if (!ctx.Parse(parser, args, exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return ctx.UsageError(QStringLiteral("log takes no arguments"));
    const auto filter = ReadFilter(ctx, parser);
    if (!filter)
        return CliExit::kUsage;
    const auto path = CliProductionLogPath(ctx);
    if (!path)
        return CliExit::kUsage;
    if (path->isEmpty())
        return ctx.UsageError(QStringLiteral("log reads the production log; --no-log leaves none"));
    const LogReadResult result = PrintRows(ctx.out, *path, *filter, parser.isSet(kCsv));
    if (!result.error.isEmpty()) {
        ctx.err << "tolm-cli: cannot read the production log " << *path << ": " << result.error
                << Qt::endl;
        return CliExit::kFileError;
    }
    if (result.missing) {
        ctx.err << "tolm-cli: there is no production log at " << *path << " yet" << Qt::endl;
        ctx.out << ProductionRowsText({}, parser.isSet(kCsv));
    }
    return CliExit::kOk;
}
