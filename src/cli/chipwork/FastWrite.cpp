#include "cli/chipwork/FastWrite.h"

#include "cli/CliContext.h"
#include "cli/chipwork/CalibrationLeftOut.h"
#include "cli/chipwork/TargetSequenceRun.h"
#include "cli/options/ConfigControlOptions.h"
#include "cli/output/TargetReporter.h"
#include "cli/session/ChipSession.h"
#include "cli/session/StopSignals.h"
#include "device/DeviceRecord.h"
#include "device/MemoryImage.h"
#include "engine/EraseThenWrite.h"
#include "hexfile/HexReader.h"
#include "texts/ChipTexts.h"

std::optional<QString> FastWriteRefusal(const DeviceRecord &device, const HexTargets &targets,
                                        const HexAddressTexts &addresses)
{
    const EraseThenWriteCover cover{
        [&targets](ChipTarget target) { return TargetTicked(targets, target); },
        addresses.ProgStart, addresses.ProgEnd, addresses.DataStart, addresses.DataEnd};
    const std::optional<EraseThenWriteRefusal> refusal = CheckEraseThenWrite(device, cover);
    if (!refusal)
        return std::nullopt;
    if (*refusal == EraseThenWriteRefusal::NotErasable)
        return QStringLiteral("--fast needs a flash part, which can be erased first; the %1 is "
                              "an EPROM part")
            .arg(device.DeviceName);
    return QStringLiteral("--fast erases the whole chip, so it writes every target over the "
                          "whole ranges; leave out -t, --prog-range and --data-range");
}

int FastWriteChip(ChipSession &session, const HexLoadResult &loaded, bool writeCal)
{
    // The factory's OSCCAL word that the erase takes is put back and kept out of the write,
    // unless the file's is to be written in its place.
    if (session.Setup().targets.Program && !writeCal)
        LeaveOutCalibration(session, ChipOperation::Write);
    const OscCalAfterErase oscCal =
        writeCal ? OscCalAfterErase::LeftForTheWrite : OscCalAfterErase::PutBack;
    const std::uint16_t config = ConfigWordThroughControls(
        session.Device(), session.Engine().Image().ConfigWord, loaded.ConfigFound);
    const HexTargets &targets = session.Setup().targets;

    int code = CliExit::kOk;
    const auto runStep = [&](const EraseThenWriteStep &step) {
        const auto covers = [&](ChipTarget target) {
            return TargetTicked(targets, target) && step.Covers(target);
        };
        const HexTargets covered{.Program = covers(ChipTarget::ProgramMemory),
                                 .Data = covers(ChipTarget::DataMemory),
                                 .Config = covers(ChipTarget::ConfigWord),
                                 .IDCode = covers(ChipTarget::IdCode)};
        code = RunChipOperation(
            session, {step.operation, covered, [config] { return config; }, false, step.scope});
        return code == CliExit::kOk;
    };
    const EraseThenWriteOutcome outcome = RunEraseThenWrite(session.Engine(), runStep, oscCal);
    switch (outcome.end) {
    case EraseThenWriteEnd::EraseFailed:
        if (std::holds_alternative<ProtectedChip>(*outcome.eraseFailure))
            return ReportChipFailure(session, QStringLiteral("the chip was not erased"),
                                     *outcome.eraseFailure);
        return ReportChipFailure(session,
                                 kCommunicationError + QStringLiteral(": the chip was not erased"),
                                 *outcome.eraseFailure);
    case EraseThenWriteEnd::Closed:
        return StopExitCode(StopSignalReceived());
    case EraseThenWriteEnd::StepFailed:
    case EraseThenWriteEnd::Done:
        break;
    }
    return code;
}
