#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Hexadecimal text is how every number lives in the image and in the address fields.
// ParseHexText takes the text without the "$" marker and accepts one or more hex digits of
// either case whose value fits 32 bits; anything else gives no value.
std::optional<uint32_t> ParseHexText(QStringView text);

// The conversion error users see for text that is not a number: "'$12 4' is not a valid
// integer value" for the text "12 4".
QString InvalidHexMessage(QStringView text);

// Upper-case hex with leading zeros, e.g. FormatHex(0x3ff, 4) == "03FF".
QString FormatHex(uint32_t value, int digits);
