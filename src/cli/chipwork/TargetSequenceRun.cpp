#include "cli/chipwork/TargetSequenceRun.h"

#include "cli/output/TargetReporter.h"
#include "cli/session/ChipSession.h"

int RunChipOperation(ChipSession &session, const ChipOperationRequest &request,
                     const std::optional<SerialLocation> &serialLeftOut)
{
    TargetReporter reporter(session, request.operation);
    HexTargets sequenceTargets = request.targets;
    const auto &leftOut = serialLeftOut;
    // The memories come first in the fixed order, so they can run before the sequence does
    // the ID code and the configuration word.
    for (const ChipTarget target : {ChipTarget::ProgramMemory, ChipTarget::DataMemory}) {
        const bool holdsSerial = leftOut && leftOut->place == (target == ChipTarget::ProgramMemory
                                                                   ? SerialPlace::ProgramMemory
                                                                   : SerialPlace::DataMemory);
        if (!request.listEveryDifference && !holdsSerial)
            continue;
        if (reporter.Runs(request.targets, target))
            reporter.Report(VerifyWholeMemory(session, reporter, session.Engine().Image(), target,
                                              leftOut, request.listEveryDifference),
                            !request.listEveryDifference);
        (target == ChipTarget::ProgramMemory ? sequenceTargets.Program : sequenceTargets.Data) =
            false;
    }
    if (leftOut && leftOut->place == SerialPlace::IdCode)
        sequenceTargets.IDCode = false;

    TargetSequenceHooks hooks;
    hooks.ticked = [&](ChipTarget target) { return reporter.Runs(sequenceTargets, target); };
    hooks.configWordFromControls = request.configWordFromControls;
    // The sequence has stored the word read in the image; the command saves it from there.
    hooks.configWordRead = [](std::uint16_t) {};
    hooks.report = [&](const TargetReport &report) { reporter.Report(report); };
    hooks.writeScope = request.writeScope;
    RunTargetSequence(session.Engine(), request.operation, hooks);
    return reporter.ExitCode();
}
