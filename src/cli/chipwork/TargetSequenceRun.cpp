#include "cli/chipwork/TargetSequenceRun.h"

#include "cli/output/TargetReporter.h"
#include "cli/session/ChipSession.h"

int RunChipOperation(ChipSession &session, const ChipOperationRequest &request)
{
    TargetReporter reporter(session, request.operation);
    HexTargets sequenceTargets = request.targets;
    if (request.listEveryDifference) {
        // The memories come first in the fixed order, so they can run before the sequence
        // does the ID code and the configuration word.
        for (const ChipTarget target : {ChipTarget::ProgramMemory, ChipTarget::DataMemory}) {
            if (reporter.Runs(request.targets, target))
                reporter.Report(
                    VerifyWholeMemory(session, reporter, session.Engine().Image(), target), false);
        }
        sequenceTargets.Program = false;
        sequenceTargets.Data = false;
    }

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
