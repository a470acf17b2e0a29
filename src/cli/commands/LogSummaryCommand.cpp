// log --summary and log --sync: the day at a glance, and the rows a bench kept for the server.
#include "cli/commands/LogCommand.h"

#include "cli/CliContext.h"
#include "cli/output/TextTable.h"
#include "production/LogQuery.h"
#include "production/ProductionLog.h"
#include "production/ProductionRecorder.h"

namespace {

// "97.5%", or "-" for a group without chips.
QString YieldText(qint64 passed, qint64 chips)
{
    if (chips == 0)
        return QStringLiteral("-");
    return QString::number(100.0 * static_cast<double>(passed) / static_cast<double>(chips), 'f',
                           1) +
           QLatin1Char('%');
}

QStringList SummaryCells(const LogSummaryRow &row, bool csv)
{
    const QString none = csv ? QString() : QStringLiteral("-");
    const auto orNone = [&none](const QString &text) { return text.isEmpty() ? none : text; };
    return {orNone(row.lot),
            row.device,
            orNone(row.station),
            orNone(row.operation),
            QString::number(row.chips),
            QString::number(row.passed),
            QString::number(row.chips - row.passed),
            YieldText(row.passed, row.chips)};
}

} // namespace

int PrintLogSummary(CliContext &ctx, const LogPlace &place, const LogFilter &filter, bool csv)
{
    const LogSummary summary = SummarizeProductionLog(place, filter);
    if (!summary.error.isEmpty()) {
        ctx.err << "tolm-cli: cannot read the production log " << place.Shown() << ": "
                << summary.error << Qt::endl;
        return CliExit::kFileError;
    }
    if (summary.missing)
        ctx.err << "tolm-cli: there is no production log at " << place.Shown() << " yet"
                << Qt::endl;
    std::vector<QStringList> cells{
        {"lot", "device", "station", "command", "chips", "passed", "failed", "yield"}};
    for (const LogSummaryRow &row : summary.rows)
        cells.push_back(SummaryCells(row, csv));
    ctx.out << (csv ? CsvText(cells) : AlignedTable(cells));
    return CliExit::kOk;
}

int SyncKeptRows(CliContext &ctx, const LogPlace &place)
{
    if (!place.IsPostgres()) {
        ctx.err << "tolm-cli: " << place.Shown()
                << " is a file on this bench: no row waits for a server" << Qt::endl;
        return CliExit::kOk;
    }
    ProductionRecorder recorder(place, BenchDataFolder());
    const ProductionRecorder::Synced synced = recorder.Sync();
    ctx.out << "sent=" << synced.sent << '\n' << "waiting=" << synced.waiting << '\n';
    ctx.out.flush();
    if (!synced.error.isEmpty()) {
        ctx.err << "tolm-cli: cannot send the kept rows to " << place.Shown() << ": "
                << synced.error << Qt::endl;
        return CliExit::kFileError;
    }
    return CliExit::kOk;
}
