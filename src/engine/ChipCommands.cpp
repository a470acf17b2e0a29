#include "engine/ChipCommands.h"

#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/AllCodeProtect.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
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

std::optional<std::uint16_t> ReadConfigDirectly(PicEngine &engine)
{
    std::uint16_t word = 0;
    if (!engine.PicReadConfig(word)) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(word & kChipWordBits);
}

DirectWriteResult WriteConfigDirectly(PicEngine &engine, const QString &configEditText)
{
    DirectWriteResult result;
    const auto value = ParseHexText(configEditText);
    if (!value) {
        result.conversionError = InvalidHexMessage(configEditText);
        return result;
    }
    result.value = static_cast<std::uint16_t>(*value);
    // A bit beyond the chip's configuration word cannot be programmed: on a one-time part the
    // attempt can leave the chip protected for good. Nothing is sent.
    if (*value & ~std::uint32_t{ConfigWordMask(engine.Device())}) {
        result.tooWide = true;
        return result;
    }
    result.written = engine.PicWriteConfig(*result.value);
    return result;
}

ProtectResult AllCodeProtect(PicEngine &engine, const ConfigControls &current)
{
    ProtectResult result;
    std::uint16_t chipWord = 0;
    if (!engine.PicReadConfig(chipWord)) {
        return result;
    }
    const DeviceRecord &device = engine.Device();
    result.configWord = static_cast<std::uint16_t>(chipWord & kChipWordBits);
    engine.Image().ConfigWord = result.configWord;
    result.controls = ConfigToControls(result.configWord, device, current);
    result.programmedWord = AllCodeProtectWord(device, chipWord, result.controls);
    result.stage = engine.PicWriteConfig(result.programmedWord) ? ProtectResult::Stage::Protected
                                                                : ProtectResult::Stage::WriteFailed;
    return result;
}

bool UnprotectDevice(PicEngine &engine)
{
    if (!engine.PicPowerOn()) {
        return false; // the power-on has taken the power away again
    }
    // A failed command ends the sequence where it is; the chip is powered off all the same.
    const bool sent =
        engine.Module().ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount) &&
        SendDisableSequence(engine);
    const bool poweredOff = engine.PicPowerOff();
    return sent && poweredOff;
}

std::optional<std::uint8_t> ReadCalibration(PicEngine &engine)
{
    std::uint16_t word = 0;
    if (!engine.PicRead(ProgMaxAddress(engine.Device()), word)) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(word & 0xFF);
}

CalibrationWriteResult WriteCalibration(PicEngine &engine, const QString &calEditText)
{
    using Status = CalibrationWriteResult::Status;
    CalibrationWriteResult result;
    const DeviceRecord &device = engine.Device();
    if (!CalibrationInstruction(device, 0)) {
        return result; // no calibration word on this device: nothing is sent
    }
    const auto value = ParseHexText(calEditText);
    if (!value) {
        result.status = Status::BadText;
        result.conversionError = InvalidHexMessage(calEditText);
        return result;
    }
    // The field holds two digits, so the value is a byte; OR keeps a wider one as it was
    // given rather than silently cutting it.
    const std::uint16_t base = *CalibrationInstruction(device, 0);
    result.word = static_cast<std::uint16_t>(base | *value);
    result.status =
        engine.PicWrite(ProgMaxAddress(device), result.word) ? Status::Written : Status::Failed;
    return result;
}

CalibrationBuildResult BuildCalibrationFromMemory(const MemoryImage &image,
                                                  const DeviceRecord &device)
{
    CalibrationBuildResult result;
    const QString text = image.GetProgramWordText(ProgMaxAddress(device));
    const auto value = ParseHexText(text);
    if (!value) {
        result.conversionError = InvalidHexMessage(text);
        return result;
    }
    result.text = FormatHex(*value & 0xFF, 2);
    return result;
}
