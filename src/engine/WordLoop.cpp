// The frame every memory operation shares: power on, position, walk the range one word at a
// time with progress, pause and close, power off on every way out.
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "link/ProgrammerModule.h"

EngineResult PicEngine::FinishLoop(EngineResult result, EngineOutcome outcome)
{
    if (outcome == EngineOutcome::CommunicationFailed) {
        result.failure = m_module.FirstFailure();
    }
    PicPowerOff();
    result.outcome = outcome;
    result.wordsSkipped = std::move(m_wordsSkipped);
    result.abortedAt = m_abortedAt;
    m_wordsSkipped.clear();
    m_abortedAt.reset();
    return result;
}

EngineResult PicEngine::RunWordLoop(const WordLoop &loop)
{
    EngineResult result;
    m_wordsSkipped.clear();
    m_abortedAt.reset();
    if (!PicPowerOn()) {
        // The power-on has already taken the power away again.
        result.outcome = EngineOutcome::PowerOnFailed;
        result.failure = m_module.FirstFailure();
        return result;
    }
    m_host.ShowActivity(
        {loop.operation, loop.dataRange ? ChipTarget::DataMemory : ChipTarget::ProgramMemory});

    std::uint16_t start = 0;
    std::uint16_t end = 0;
    const bool converted = loop.dataRange ? ReadDataRange(start, end) : ReadProgRange(start, end);
    if (!converted) {
        return FinishLoop(result, EngineOutcome::BadAddressField);
    }
    const std::uint16_t first = loop.position ? loop.position(start, end) : start;
    const bool positioned = loop.dataRange ? StepToDataAddress(start) : StepBy(first);
    if (!positioned) {
        return FinishLoop(result, EngineOutcome::CommunicationFailed);
    }
    // The bar counts end - start in 16 bits, as the address arithmetic of the chip does.
    m_host.SetProgressStart(start, loop.dataRange);
    m_host.SetProgressMax(static_cast<std::uint16_t>(end - start));
    result.address = start;
    // Program memory of a family without algorithms: powered, positioned, nothing processed.
    if (!loop.dataRange && !DeviceFamily::HasAlgorithms(m_device.DeviceFamily)) {
        return FinishLoop(result, EngineOutcome::Completed);
    }
    if (loop.preamble && !loop.preamble()) {
        return FinishLoop(result, EngineOutcome::CommunicationFailed);
    }

    std::uint16_t counter = start;
    // The counter is 16 bits wide like the chip's addresses; a range ending at FFFF stops
    // after its last word instead of wrapping round to 0000.
    bool rangeLeft = counter <= end;
    while (rangeLeft) {
        if (m_host.PauseRequested()) {
            m_host.ShowPaused();
            m_host.WaitWhilePaused();
        } else {
            result.address = counter;
            switch (loop.step(counter, result)) {
            case StepOutcome::Next:
                break;
            case StepOutcome::Failed:
                return FinishLoop(result, EngineOutcome::CommunicationFailed);
            case StepOutcome::Difference:
                return FinishLoop(result, EngineOutcome::VerifyDifference);
            case StepOutcome::NotBlank:
                return FinishLoop(result, EngineOutcome::NotBlank);
            case StepOutcome::Aborted:
                return FinishLoop(result, EngineOutcome::Aborted);
            case StepOutcome::BadText:
                return FinishLoop(result, EngineOutcome::BadImageText);
            }
            ++result.wordsDone;
            rangeLeft = counter != end;
            ++counter;
            result.address = counter;
            m_host.StepProgress();
        }
        if (m_host.CloseRequested()) {
            return FinishLoop(result, EngineOutcome::Closed);
        }
        m_host.ProcessEvents();
    }
    return FinishLoop(result, EngineOutcome::Completed);
}
