#include "texts/ChipTexts.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "engine/TargetSequence.h"

QString WriteErrorText(std::uint16_t address, bool dataMemory)
{
    return (dataMemory ? QStringLiteral("Error Writing Data Memory Address $")
                       : QStringLiteral("Error Writing Program Memory Address $")) +
           FormatHex(address, 4);
}

QString ConfigTooWideText(std::uint32_t word, const DeviceRecord &device)
{
    return ConfigTooWideText(TooWideConfig{word, device.DeviceName, ConfigWidthBits(device)});
}

QString ConfigTooWideText(const TooWideConfig &refused)
{
    return QStringLiteral("%1 has bits beyond the %2's %3-bit configuration word")
        .arg(FormatHex(refused.word, 4), refused.device)
        .arg(refused.widthBits);
}
