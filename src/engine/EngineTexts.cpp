#include "engine/EngineTexts.h"

#include "device/HexText.h"

QString EngineTexts::WriteErrorText(std::uint16_t address)
{
    return QStringLiteral("Error Writing Program Memory Address $") + FormatHex(address, 4);
}
