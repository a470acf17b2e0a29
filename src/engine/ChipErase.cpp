// The parts of an erase that depend on the part's algorithm beside the erase sequence itself:
// what the factory calibrated, and protection that the module cannot lift.
#include "engine/ChipErase.h"

#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "link/ProgrammerModule.h"

namespace {
constexpr std::uint16_t kAllOnes = 0x3FFF;
} // namespace

ChipResult<FactoryCalibration> ReadFactoryCalibration(PicEngine &engine)
{
    const DeviceRecord &device = engine.Device();
    FactoryCalibration saved;
    if (CalibrationSavedAcrossErase(device)) {
        // The OSCCAL word still reads when the chip is code-protected.
        const ChipResult<std::uint16_t> word = engine.PicRead(*CalibrationAddress(device));
        if (!word) {
            return word.FailureAs<FactoryCalibration>();
        }
        saved.oscCal = *word;
    }
    if (const std::uint16_t bandGap = BandGapMask(device)) {
        const ChipResult<std::uint16_t> config = engine.PicReadConfig();
        if (!config) {
            return config.FailureAs<FactoryCalibration>();
        }
        saved.bandGap = static_cast<std::uint16_t>(*config & bandGap);
    }
    return saved;
}

ChipResult<NoValue> PutBackFactoryCalibration(PicEngine &engine, const FactoryCalibration &saved,
                                              OscCalAfterErase oscCal)
{
    const DeviceRecord &device = engine.Device();
    // An erased location reads 3FFF already: nothing to put back.
    if (saved.oscCal && *saved.oscCal != BlankWord(device) && oscCal == OscCalAfterErase::PutBack) {
        const ChipResult<NoValue> written =
            engine.PicWrite(*CalibrationAddress(device), *saved.oscCal);
        if (!written) {
            return written;
        }
    }
    if (saved.bandGap) {
        const std::uint16_t bandGap = BandGapMask(device);
        const auto word =
            static_cast<std::uint16_t>((ConfigBlankWord(device) & ~bandGap) | *saved.bandGap);
        return engine.PicWriteConfigExactly(word);
    }
    return NoValue{};
}

ChipResult<NoValue> CheckErasable(PicEngine &engine)
{
    if (!ProtectionNeedsChipErase(engine.Device())) {
        return NoValue{};
    }
    const ChipResult<std::uint16_t> config = engine.PicReadConfig();
    if (!config) {
        return config.FailureAs<NoValue>();
    }
    if (ChipProtected(engine.Device(), *config)) {
        return ProtectedChip{static_cast<std::uint16_t>(*config & kChipWordBits)};
    }
    return NoValue{};
}

bool SendBlockPartErase(PicEngine &engine)
{
    ProgrammerModule &m = engine.Module();
    if (!m.ModuleSerialPicCommand(PicCode::kLoadConfiguration) ||
        !m.ModuleSerialLoadData(kAllOnes)) {
        return false;
    }
    for (const std::uint8_t bulkErase : {PicCode::kBulkEraseProgram, PicCode::kBulkEraseData}) {
        if (!m.ModuleSerialPicCommand(bulkErase) ||
            !m.ModuleSerialPicCommand(PicCode::kBeginProgramming)) {
            return false;
        }
        engine.Delay(kEraseSettleMs);
    }
    return true;
}
