// The erase-then-write plan: its steps and their run.
#include "engine/EraseThenWrite.h"

#include "engine/ChipCommands.h"

#include "device/DeviceRecord.h"

QList<EraseThenWriteStep> EraseThenWriteSteps(const DeviceRecord &device)
{
    using Scope = PicEngine::WriteScope;
    QList<EraseThenWriteStep> steps{{ChipOperation::Write, true, Scope::SkipBlank},
                                    {ChipOperation::Verify, true, Scope::EveryWord}};
    if (!device.NoConfigWord) {
        steps.append({ChipOperation::Write, false, Scope::EveryWord});
        steps.append({ChipOperation::Verify, false, Scope::EveryWord});
    }
    return steps;
}

EraseThenWriteOutcome
RunEraseThenWrite(PicEngine &engine, const std::function<bool(const EraseThenWriteStep &)> &runStep,
                  OscCalAfterErase oscCal)
{
    ChipActivity erasing;
    erasing.erasing = true;
    engine.Host().ShowActivity(erasing);
    const ChipResult<NoValue> erased = UnprotectDevice(engine, oscCal);
    if (!erased)
        return {EraseThenWriteEnd::EraseFailed, erased.Failure()};
    for (const EraseThenWriteStep &step : EraseThenWriteSteps(engine.Device())) {
        if (engine.Host().CloseRequested())
            return {EraseThenWriteEnd::Closed, std::nullopt};
        if (!runStep(step))
            return {EraseThenWriteEnd::StepFailed, std::nullopt};
    }
    return {EraseThenWriteEnd::Done, std::nullopt};
}
