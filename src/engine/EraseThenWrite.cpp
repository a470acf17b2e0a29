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

EraseThenWriteEnd RunEraseThenWrite(PicEngine &engine,
                                    const std::function<bool(const EraseThenWriteStep &)> &runStep)
{
    engine.Host().SetStatus(kErasingStatus);
    if (!UnprotectDevice(engine))
        return EraseThenWriteEnd::EraseFailed;
    for (const EraseThenWriteStep &step : EraseThenWriteSteps(engine.Device())) {
        if (engine.Host().CloseRequested())
            return EraseThenWriteEnd::Closed;
        if (!runStep(step))
            return EraseThenWriteEnd::StepFailed;
    }
    return EraseThenWriteEnd::Done;
}
