#include "ops/EraseBeforeWrite.h"

#include "device/DeviceRecord.h"
#include "engine/PicEngine.h"
#include "ops/Messages.h"
#include "ops/SequenceSummary.h"
#include "texts/ChipTexts.h"
#include "texts/FailureTexts.h"

QString EraseBeforeWriteRefusalText(EraseThenWriteRefusal refusal, const DeviceRecord &device)
{
    if (refusal == EraseThenWriteRefusal::NotErasable)
        return QStringLiteral("Erase before write needs a flash part, which can be erased "
                              "first; the %1 is an EPROM part.")
            .arg(device.DeviceName);
    return QStringLiteral("Erase before write erases the whole chip, so the write must put "
                          "back every target over the whole ranges: tick every target and "
                          "press Max on the Addresses page.");
}

void RunEraseBeforeWrite(PicEngine &engine, const TargetSequenceHooks &hooks, Messages &messages,
                         SequenceSummary &summary, const QString &noAnswerText)
{
    const EngineHost &host = engine.Host();
    const EraseThenWriteCover cover{hooks.ticked, host.ProgStartText(), host.ProgEndText(),
                                    host.DataStartText(), host.DataEndText()};
    if (const auto refusal = CheckEraseThenWrite(engine.Device(), cover)) {
        messages.Warning(EraseBeforeWriteRefusalText(*refusal, engine.Device()));
        summary.AddFailure(QStringLiteral("nothing was sent to the chip"));
        return;
    }

    const auto runStep = [&](const EraseThenWriteStep &step) {
        bool failed = false;
        TargetSequenceHooks stepHooks = hooks;
        stepHooks.ticked = [&](ChipTarget target) {
            return step.Covers(target) && hooks.ticked(target);
        };
        stepHooks.writeScope = step.scope;
        stepHooks.report = [&](const TargetReport &report) {
            failed = failed || !report.succeeded || report.endsSequence;
            TargetReport shown = report;
            if (step.operation == ChipOperation::Verify && report.succeeded) {
                shown.quietSuccess = true;
                shown.soundBeforeMessage = false;
            }
            hooks.report(shown);
        };
        RunTargetSequence(engine, step.operation, stepHooks);
        return !failed;
    };
    // The factory's OSCCAL word an erase takes goes back unless "Write calibration word" puts
    // the file's there.
    const EraseThenWriteOutcome outcome = RunEraseThenWrite(
        engine, runStep,
        hooks.leaveOutCalibration ? OscCalAfterErase::PutBack : OscCalAfterErase::LeftForTheWrite);
    if (outcome.end == EraseThenWriteEnd::EraseFailed) {
        const QString reason = FailureReason(*outcome.eraseFailure);
        summary.AddFailure(QStringLiteral("erase"), reason);
        if (std::holds_alternative<ProtectedChip>(*outcome.eraseFailure))
            messages.Warning(reason);
        else if (ModuleSilent(*outcome.eraseFailure) && !noAnswerText.isEmpty())
            messages.PlainWithDetail(noAnswerText, reason);
        else
            messages.PlainWithDetail(kCommunicationError, reason);
    }
}
