#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Serial numbers go up to this, so every number fits a signed 64-bit column of the log.
inline constexpr std::uint64_t kMaxSerialNumber = 0x7FFFFFFFFFFFFFFF;

// A serial number as a user types it, the same for every option that takes one: decimal
// digits (leading zeros carry no meaning: 0100 is a hundred, 09 is nine) or hexadecimal
// digits after 0x; blanks around it are passed over. Nothing for anything else or a number
// above kMaxSerialNumber.
std::optional<std::uint64_t> ParseSerialNumber(const QString &text);

// A serial number taken for a chip, or why there is none.
struct SerialTake
{
    std::optional<std::uint64_t> number;
    QString error;           // why there is no number
    bool doesNotFit = false; // the next number is above the largest the location holds
};
