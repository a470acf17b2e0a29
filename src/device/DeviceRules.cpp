#include "DeviceRules.h"

#include "ConfigControls.h"
#include "DeviceRecord.h"
#include "HexText.h"
#include "MemoryImage.h"

#include "catalogue/PartDefinition.h"
#include "catalogue/PartNames.h"
#include "catalogue/PartRecord.h"

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

namespace {

const ConfigWordDef *ConfigDef(const DeviceRecord &device, size_t index)
{
    return device.Part && device.Part->config.size() > index ? &device.Part->config[index]
                                                             : nullptr;
}

const ConfigField *FieldNamed(const ConfigWordDef &config, const QString &name)
{
    for (const ConfigField &field : config.fields) {
        if (field.name == name)
            return &field;
    }
    return nullptr;
}

bool NewDriver(const DeviceRecord &device)
{
    return device.Part && (device.Part->algorithm == PartAlgorithm::Flash14Bulk ||
                           device.Part->algorithm == PartAlgorithm::Flash14Block8);
}

} // namespace

int BlockWords(const DeviceRecord &device)
{
    return device.Part && device.Part->algorithm == PartAlgorithm::Flash14Block8
               ? device.Part->writeLatchWords
               : 1;
}

bool ProtectionNeedsChipErase(const DeviceRecord &device)
{
    return device.Part && device.Part->algorithm == PartAlgorithm::Flash14Block8;
}

bool ChipProtected(const DeviceRecord &device, std::uint16_t configWord)
{
    const ConfigWordDef *config = ConfigDef(device, 0);
    if (!config)
        return false;
    for (const ConfigField &field : config->fields) {
        // Protection is off only with the field's "none" (code) or "off" (data) value.
        const FieldValue *off = field.control == FieldControl::Protection ? field.Find(kProtectNone)
                                : field.control == FieldControl::CpdCbx   ? field.Find(kValueOff)
                                                                          : nullptr;
        if (off && (configWord & field.mask) != off->bits)
            return true;
    }
    return false;
}

std::uint16_t BandGapMask(const DeviceRecord &device)
{
    if (!device.Part)
        return 0;
    for (const CalibrationDef &cal : device.Part->calibration) {
        if (cal.kind == CalibrationKind::BandGap && cal.address == device.ConfigAddress)
            return cal.mask;
    }
    return 0;
}

bool CalibrationSavedAcrossErase(const DeviceRecord &device)
{
    const CalibrationDef *cal = device.Part ? LastWordCalibration(*device.Part) : nullptr;
    return cal && cal->kind == CalibrationKind::RetlwLastWord && ErasesByBulkCommands(device);
}

std::optional<std::uint16_t> SecondConfigAddress(const DeviceRecord &device)
{
    const ConfigWordDef *second = ConfigDef(device, 1);
    return second ? std::optional<std::uint16_t>(second->address) : std::nullopt;
}

std::uint16_t SecondConfigImplemented(const DeviceRecord &device)
{
    const ConfigWordDef *second = ConfigDef(device, 1);
    return second ? second->implemented : 0;
}

std::uint16_t SecondConfigBlank(const DeviceRecord &device)
{
    const ConfigWordDef *second = ConfigDef(device, 1);
    return second ? second->blank : WordMask(device);
}

std::uint16_t ConfigBlankWord(const DeviceRecord &device)
{
    const ConfigWordDef *config = ConfigDef(device, 0);
    return config ? config->blank : BlankWord(device);
}

std::uint16_t ConfigCompareMask(const DeviceRecord &device)
{
    const ConfigWordDef *config = ConfigDef(device, 0);
    if (!config || !NewDriver(device))
        return 0xFFFF;
    return static_cast<std::uint16_t>(config->implemented & ~BandGapMask(device));
}

bool ConfirmedOnHardware(const DeviceRecord &device)
{
    return device.Part && device.Part->confirmedOnHardware;
}

bool NeedsVppBeforeVdd(const DeviceRecord &device, std::uint16_t configWord)
{
    const ConfigWordDef *config = ConfigDef(device, 0);
    if (!config)
        return false;
    const VppBeforeVdd &rule = device.Part->vppBeforeVdd;
    if (rule.always)
        return !device.Part->confirmedOnHardware;
    if (rule.when.empty())
        return false;
    for (const auto &[fieldName, valueNames] : rule.when) {
        const ConfigField *field = FieldNamed(*config, fieldName);
        if (!field)
            return false;
        bool holdsOne = false;
        for (const QString &valueName : valueNames) {
            const FieldValue *value = field->Find(valueName);
            holdsOne = holdsOne || (value && (configWord & field->mask) == value->bits);
        }
        if (!holdsOne)
            return false;
    }
    return true;
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
        // The OSCCAL word that a bulk erase takes is the chip's, not the program's: the
        // manufacturer's sum leaves it out (12F629 family).
        const int last = ProgMaxAddress(device) - (CalibrationSavedAcrossErase(device) ? 1 : 0);
        for (int address = 0; address <= last; ++address)
            sum += ParseHexText(image.GetProgramWordText(address)).value_or(0) & mask;
    }
    // The newer flash parts count the configuration word as their programming guides
    // do (named fields the option controls do not show included); the others as they always
    // have, by the bits the controls use.
    const ConfigWordDef *first = ConfigDef(device, 0);
    const bool published = first && first->checksumMask && NewDriver(device);
    sum += configWord & (published ? *first->checksumMask : ConfigBitsUsed(device));
    if (const ConfigWordDef *second = ConfigDef(device, 1))
        sum += image.SecondConfigWord & second->checksumMask.value_or(second->implemented);
    return static_cast<std::uint16_t>(sum);
}
