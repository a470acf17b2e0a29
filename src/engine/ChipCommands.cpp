#include "engine/ChipCommands.h"

#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "link/ProgrammerModule.h"

namespace {
// Device types with their own code-protection pattern; the types below kLastGenericType build
// the word from the protection words and the option controls.
constexpr std::uint16_t kLastGenericType = 23;
constexpr std::uint16_t k16F877Type = 24;
constexpr std::uint16_t k16F876Type = 25;
constexpr std::uint16_t k12CE674Type = 26;
constexpr std::uint16_t k16F628Type = 27;
constexpr std::uint16_t k16F628AType = 29;
constexpr std::uint16_t k12C508Type = 18;
constexpr std::uint16_t k12C509Type = 19;

constexpr std::uint16_t kFourteenBits = 0x3FFF;
// Configuration bits the generic layout adds to the protection word.
constexpr std::uint16_t kWdtBit = 0x0004;
constexpr std::uint16_t kPwrtBit = 0x0008;
constexpr std::uint16_t kMclreBit = 0x0010;
constexpr std::uint16_t kBrownoutBit = 0x0040;

// MOVLW k (12-bit core): the 12c508's calibration word is an instruction that loads the byte.
constexpr std::uint16_t kMovlw = 0x0C00;

std::uint16_t GenericProtectWord(const DeviceRecord &d, const ConfigControls &c)
{
    std::uint16_t p = d.ProtAllWord;
    if (d.HasPartialProtect && c.ProtUp34Btn) {
        p = d.ProtUp34Word;
    } else if (d.HasPartialProtect && c.ProtUp12Btn) {
        p = d.ProtUp12Word;
    }
    if (d.HasWdt && c.WdtCbx) {
        p |= kWdtBit;
    }
    // On most parts the power-up timer bit enables the timer when clear.
    if (d.HasPwrt && (d.PwrtActiveHigh ? c.PutCbx : !c.PutCbx)) {
        p |= kPwrtBit;
    }
    if (d.HasBrownout && c.BOutCbx) {
        p |= kBrownoutBit;
    }
    if (d.HasMclre && c.MClrCbx) {
        p |= kMclreBit;
    }
    return p | static_cast<std::uint16_t>(c.OscBox);
}

// The code-protect disable sequence, which also erases the chip, after power-on and timing.
bool SendDisableSequence(PicEngine &engine)
{
    ProgrammerModule &m = engine.Module();
    const bool parallel = engine.Host().ParallelSelected();
    if (engine.Device().DeviceType == k16F628AType) {
        // The 16f628a erases by its bulk erase commands; the Parallel method sends nothing.
        if (parallel) {
            return true;
        }
        if (!m.ModuleSerialPicCommand(PicCode::kLoadConfiguration) ||
            !m.ModuleSerialLoadData(kFourteenBits) ||
            !m.ModuleSerialPicCommand(PicCode::kLoadProgramData) ||
            !m.ModuleSerialLoadData(kFourteenBits) ||
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
    if (!engine.PicGoConfigLocation(kFourteenBits, kConfigOffsetFromLoadConfig, parallel)) {
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
    return static_cast<std::uint16_t>(word & kFourteenBits);
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

std::uint16_t AllCodeProtectWord(const DeviceRecord &device, std::uint16_t chipWord,
                                 const ConfigControls &controls)
{
    const auto configWord = static_cast<std::uint16_t>(chipWord & kFourteenBits);
    if (device.DeviceType <= kLastGenericType) {
        return GenericProtectWord(device, controls);
    }
    switch (device.DeviceType) {
    case k16F877Type:
    case k16F876Type:
        return configWord & 0x0FCF;
    case k12CE674Type:
        return configWord & 0x009F;
    case k16F628Type:
        return configWord & 0x03FF;
    case k16F628AType:
        return configWord & 0x1FFF;
    default:
        // The 16c715 has no protection pattern of its own: its word goes back unchanged.
        return chipWord;
    }
}

ProtectResult AllCodeProtect(PicEngine &engine, const ConfigControls &current)
{
    ProtectResult result;
    std::uint16_t chipWord = 0;
    if (!engine.PicReadConfig(chipWord)) {
        return result;
    }
    const DeviceRecord &device = engine.Device();
    result.configWord = static_cast<std::uint16_t>(chipWord & kFourteenBits);
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

std::optional<std::uint16_t> CalibrationInstruction(const DeviceRecord &device, std::uint8_t k)
{
    switch (device.DeviceType) {
    case k12C508Type:
    case k12C509Type:
        return static_cast<std::uint16_t>(kMovlw | k);
    case k12CE674Type:
        return RetlwWord(device, k);
    default:
        return std::nullopt;
    }
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
