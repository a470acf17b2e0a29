#include "engine/EngineTexts.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"

#include "device/HexText.h"

QString EngineTexts::WriteErrorText(std::uint16_t address, bool dataMemory)
{
    return (dataMemory ? QStringLiteral("Error Writing Data Memory Address $")
                       : QStringLiteral("Error Writing Program Memory Address $")) +
           FormatHex(address, 4);
}

QString EngineTexts::ConfigTooWideText(std::uint32_t word, const DeviceRecord &device)
{
    return QStringLiteral("%1 has bits beyond the %2's %3-bit configuration word")
        .arg(FormatHex(word, 4), device.DeviceName)
        .arg(ConfigWidthBits(device));
}
