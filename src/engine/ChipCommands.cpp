#include "engine/ChipCommands.h"

#include "engine/ChipErase.h"
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/AllCodeProtect.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"
#include "link/ProgrammerModule.h"

namespace {
// The erase sequences load a data word of all ones with their Load commands.
constexpr std::uint16_t kAllOnes = 0x3FFF;

// The code-protect disable sequence, which also erases the chip, after power-on and timing.
bool SendDisableSequence(PicEngine &engine)
{
    ProgrammerModule &m = engine.Module();
    const bool parallel = engine.Host().ParallelSelected();
    if (ProtectionNeedsChipErase(engine.Device())) {
        return SendBlockPartErase(engine);
    }
    if (ErasesByBulkCommands(engine.Device())) {
        // Bulk Erase Program Memory and Bulk Erase Data Memory after loading all ones; the
        // Parallel method sends nothing.
        if (parallel) {
            return true;
        }
        if (!m.ModuleSerialPicCommand(PicCode::kLoadConfiguration) ||
            !m.ModuleSerialLoadData(kAllOnes) ||
            !m.ModuleSerialPicCommand(PicCode::kLoadProgramData) ||
            !m.ModuleSerialLoadData(kAllOnes) ||
            !m.ModuleSerialPicCommand(PicCode::kBulkEraseProgram)) {
            return false;
        }
        engine.Delay(kEraseSettleMs);
        if (!m.ModuleSerialPicCommand(PicCode::kBulkEraseData)) {
            return false;
        }
        engine.Delay(kEraseSettleMs);
        return true;
    }
    const auto pic = [&](std::uint8_t code) {
        return parallel ? m.ModuleParallelPicCommand(code) : m.ModuleSerialPicCommand(code);
    };
    // Reach the configuration word with Load Configuration (3FFF) and seven increments.
    if (!engine.PicGoConfigLocation(kAllOnes, kConfigOffsetFromLoadConfig, parallel)) {
        return false;
    }
    if (!pic(PicCode::kDisableProtectStep1) || !pic(PicCode::kDisableProtectStep2) ||
        !pic(PicCode::kBeginProgramming)) {
        return false;
    }
    engine.Delay(kEraseSettleMs);
    return pic(PicCode::kDisableProtectStep1) && pic(PicCode::kDisableProtectStep2);
}
} // namespace

ChipResult<std::uint16_t> ReadConfigDirectly(PicEngine &engine)
{
    const ChipResult<std::uint16_t> word = engine.PicReadConfig();
    if (!word) {
        return word;
    }
    return static_cast<std::uint16_t>(*word & kChipWordBits);
}

ChipResult<ProtectPlan> PlanAllCodeProtect(PicEngine &engine, const ConfigControls &current)
{
    const ChipResult<std::uint16_t> chipWord = engine.PicReadConfig();
    if (!chipWord) {
        return chipWord.FailureAs<ProtectPlan>();
    }
    const DeviceRecord &device = engine.Device();
    ProtectPlan plan;
    plan.configWord = static_cast<std::uint16_t>(*chipWord & kChipWordBits);
    engine.Image().ConfigWord = plan.configWord;
    plan.controls = ConfigToControls(plan.configWord, device, current);
    plan.programmedWord = AllCodeProtectWord(device, *chipWord, plan.controls);
    return plan;
}

ChipResult<NoValue> UnprotectDevice(PicEngine &engine, OscCalAfterErase oscCal)
{
    // A chip the module cannot erase is refused before anything reaches it; what the factory
    // calibrated is read before the erase takes it.
    const ChipResult<NoValue> erasable = CheckErasable(engine);
    if (!erasable) {
        return erasable;
    }
    const ChipResult<FactoryCalibration> saved = ReadFactoryCalibration(engine);
    if (!saved) {
        return saved.FailureAs<NoValue>();
    }
    if (!engine.PicPowerOn()) {
        return engine.CycleFailure(); // the power-on has taken the power away again
    }
    // A failed command ends the sequence where it is; the chip is powered off all the same.
    const bool sent =
        engine.Module().ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount) &&
        SendDisableSequence(engine);
    const bool poweredOff = engine.PicPowerOff();
    if (!sent || !poweredOff) {
        return engine.Outcome(false, NoValue{});
    }
    return PutBackFactoryCalibration(engine, *saved, oscCal);
}

ChipResult<std::uint8_t> ReadCalibration(PicEngine &engine)
{
    const ChipResult<std::uint16_t> word = engine.PicRead(ProgMaxAddress(engine.Device()));
    if (!word) {
        return word.FailureAs<std::uint8_t>();
    }
    return static_cast<std::uint8_t>(*word & 0xFF);
}

ChipResult<NoValue> WriteCalibration(PicEngine &engine, std::uint16_t instruction)
{
    return engine.PicWrite(ProgMaxAddress(engine.Device()), instruction);
}
