#include "ops/ProductionRows.h"

#include "ops/OperationDriver.h"
#include "texts/FailureTexts.h"
#include "texts/TargetTexts.h"

#include <QFileInfo>

namespace {

// The command's name as tolm-cli's rows give it, so the summary groups both front ends.
QString OperationName(ChipOperation operation)
{
    switch (operation) {
    case ChipOperation::Read:
        return QStringLiteral("read");
    case ChipOperation::Write:
        return QStringLiteral("write");
    case ChipOperation::Verify:
        return QStringLiteral("verify");
    case ChipOperation::BlankCheck:
        return QStringLiteral("blank");
    }
    return {};
}

// A target that failed because nothing answered on the port, before any word.
bool ModuleNeverAnswered(const TargetReport &report)
{
    return report.failure && ModuleSilent(*report.failure) && report.detail.wordsDone == 0;
}

} // namespace

ProductionRow DesktopProductionRow(const BenchFacts &bench, const DesktopRun &run)
{
    ProductionRow row = NewProductionRow(bench);
    row.operation = OperationName(run.operation);
    row.command = OperationDriver::Caption(run.operation);
    row.port = run.port;
    row.device = run.device;
    if (!run.file.isEmpty() && run.operation != ChipOperation::Read)
        row.file = QFileInfo(run.file).absoluteFilePath();
    row.checksum = run.checksum;
    row.elapsedMs = run.elapsedMs;
    row.result = QStringLiteral("ok");
    for (const TargetReport &report : run.reports) {
        row.words += report.detail.wordsDone;
        if (report.succeeded || row.exitCode != 0)
            continue;
        const bool silent = ModuleNeverAnswered(report);
        row.exitCode = report.stopped ? 130 : silent ? 4 : 1;
        row.result = report.stopped ? QStringLiteral("stopped")
                     : silent       ? QStringLiteral("port-error")
                                    : QStringLiteral("failed");
        const QString message = TargetMessage(report);
        const QString reason = TargetFailureReason(report);
        row.detail = reason.isEmpty() ? message : message + QStringLiteral(": ") + reason;
    }
    return row;
}
