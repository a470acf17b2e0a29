#include "DeviceRules.h"

#include "ConfigControls.h"
#include "DeviceRecord.h"
#include "HexText.h"
#include "MemoryImage.h"

#include "catalogue/PartDefinition.h"

bool HasBulkErase(const DeviceRecord &device)
{
    return device.DeviceFamily == DeviceFamily::kFlash14Bit;
}

bool ConfigSerialOnly(const DeviceRecord &device)
{
    return device.Part && device.Part->configSerialOnly;
}

bool ErasesByBulkCommands(const DeviceRecord &device)
{
    return device.Part && device.Part->algorithm == PartAlgorithm::Flash14Bulk;
}

bool HasTwelveBitCore(const DeviceRecord &device)
{
    return device.DeviceFamily == DeviceFamily::k16C5x ||
           device.DeviceFamily == DeviceFamily::k12C508;
}

std::uint16_t WordMask(const DeviceRecord &device)
{
    return HasTwelveBitCore(device) ? 0x0FFF : 0x3FFF;
}

std::uint16_t BlankWord(const DeviceRecord &device)
{
    return WordMask(device);
}

QString BlankWordText(const DeviceRecord &device)
{
    return FormatHex(BlankWord(device), 4);
}

int ConfigWidthBits(const DeviceRecord &device)
{
    return HasTwelveBitCore(device) ? 12 : 14;
}

std::uint16_t ConfigWordMask(const DeviceRecord &device)
{
    return static_cast<std::uint16_t>((1u << ConfigWidthBits(device)) - 1u);
}

std::uint16_t RetlwWord(const DeviceRecord &device, std::uint8_t k)
{
    return static_cast<std::uint16_t>((HasTwelveBitCore(device) ? 0x0800 : 0x3400) | k);
}

std::uint16_t ProgMaxAddress(const DeviceRecord &device)
{
    return static_cast<std::uint16_t>(ParseHexText(device.ProgMaxText).value_or(0));
}

std::uint16_t DataMaxAddress(const DeviceRecord &device)
{
    return static_cast<std::uint16_t>(ParseHexText(device.DataMaxText).value_or(0));
}

std::optional<std::uint16_t> CalibrationAddress(const DeviceRecord &device)
{
    if (!device.HasCalibration)
        return std::nullopt;
    return ProgMaxAddress(device);
}

std::optional<std::uint16_t> CalibrationInstruction(const DeviceRecord &device, std::uint8_t k)
{
    if (!CalibrationAddress(device))
        return std::nullopt;
    constexpr std::uint16_t kMovlw = 0x0C00; // MOVLW k on a 12-bit core
    return HasTwelveBitCore(device) ? static_cast<std::uint16_t>(kMovlw | k) : RetlwWord(device, k);
}

ImageCalibration CalibrationInImage(const MemoryImage &image, const DeviceRecord &device)
{
    ImageCalibration calibration;
    calibration.cellText = image.GetProgramWordText(ProgMaxAddress(device));
    if (const auto value = ParseHexText(calibration.cellText))
        calibration.byte = static_cast<std::uint8_t>(*value & 0xFF);
    return calibration;
}

std::uint16_t ImageChecksum(const MemoryImage &image, const DeviceRecord &device)
{
    return ImageChecksum(image, device, image.ConfigWord);
}

std::uint16_t ImageChecksum(const MemoryImage &image, const DeviceRecord &device,
                            std::uint16_t configWord)
{
    std::uint32_t sum = 0;
    if (DeviceFamily::HasAlgorithms(device.DeviceFamily)) {
        const std::uint16_t mask = WordMask(device);
        for (int address = 0; address <= ProgMaxAddress(device); ++address)
            sum += ParseHexText(image.GetProgramWordText(address)).value_or(0) & mask;
    }
    sum += configWord & ConfigBitsUsed(device);
    return static_cast<std::uint16_t>(sum);
}
