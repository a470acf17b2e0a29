#include "HexText.h"

namespace {

int HexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}
} // namespace

std::optional<uint32_t> ParseHexText(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    uint32_t value = 0;
    for (QChar c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0 || value > 0x0FFFFFFFu) // not a digit, or the value leaves 32 bits
            return std::nullopt;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return value;
}

QString InvalidHexMessage(QStringView text)
{
    return QStringLiteral("'$%1' is not a valid integer value").arg(text);
}

QString FormatHex(uint32_t value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}
