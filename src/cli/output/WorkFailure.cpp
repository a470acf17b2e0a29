#include "cli/output/WorkFailure.h"

#include "cli/output/TargetReporter.h"
#include "texts/ChipTexts.h"
#include "texts/FailureTexts.h"
#include "texts/TargetTexts.h"

namespace {

QString WithReason(const QString &what, const QString &reason)
{
    return reason.isEmpty() ? what : what + QStringLiteral(": ") + reason;
}

QString TargetDetail(const TargetReport &report, int skippedWords)
{
    const EngineResult &detail = report.detail;
    const QString failed = TargetMessage(report.operation, report.target, false);
    if (report.tooWideConfig)
        return ConfigTooWideText(*report.tooWideConfig);
    if (report.stopped || detail.outcome == EngineOutcome::Closed)
        return StoppedMessage(report.operation, report.target, detail.address);
    if (detail.outcome == EngineOutcome::Aborted)
        return QStringLiteral("%1: the write ended at %2 (--on-write-error)")
            .arg(failed, TargetAddressText(report.target, detail.address));
    if (report.succeeded && skippedWords > 0)
        return QStringLiteral("%1: %2 left as the chip took them (--on-write-error ignore)")
            .arg(failed, skippedWords == 1 ? QStringLiteral("1 word was")
                                           : QStringLiteral("%1 words were").arg(skippedWords));
    const bool differs = IsMemoryTarget(report.target)
                             ? detail.outcome == EngineOutcome::VerifyDifference ||
                                   detail.outcome == EngineOutcome::NotBlank
                             : !report.readText.isEmpty();
    if (differs)
        return QStringLiteral("%1 %2 expected %3 read %4")
            .arg(TargetOptionName(report.target),
                 TargetAddressText(report.target,
                                   IsMemoryTarget(report.target) ? detail.address : 0),
                 report.expectedText, report.readText);
    return WithReason(TargetMessage(report), TargetFailureReason(report));
}

} // namespace

QString WorkFailureDetail(const WorkFailure &failure)
{
    if (failure.target)
        return TargetDetail(*failure.target, failure.skippedWords);
    if (failure.cause)
        return WithReason(failure.step, FailureReason(*failure.cause));
    return WithReason(failure.step, failure.systemReason);
}
