#include "ChipDescription.h"

#include <array>

namespace tolm::sim {

namespace {

using enum ChipCore;
using enum ChipMemory;

constexpr uint16_t kCfg14 = 0x2007;
constexpr uint16_t kCfg12 = 0x0FFF;
constexpr uint16_t kIds14 = 0x2000;

// 16C5x parts: 12-bit EPROM, IDs right above program memory, CP is bit 3.
constexpr ChipDescription Chip16C5x(std::string_view name, uint16_t words)
{
    return {name, Core12Module, Eprom,        words, 0,    kCfg12, 0x0FFF, words, 0x0008,
            0,    std::nullopt, std::nullopt, 0,     false};
}

// 12C508/509: 12-bit EPROM with a MOVLW k oscillator calibration word at the top.
constexpr ChipDescription Chip12C50x(std::string_view name, uint16_t words, uint16_t cal)
{
    return {name,  Core12Serial, Eprom, words,        0,   kCfg12, 0x0FFF,
            words, 0x0008,       0,     std::nullopt, cal, 0,      false};
}

// 14-bit EPROM parts.
constexpr ChipDescription ChipEprom14(std::string_view name, uint16_t words, uint16_t cpMask)
{
    return {name,   Core14, Eprom,        words,        0, kCfg14, 0x3FFF, kIds14,
            cpMask, 0,      std::nullopt, std::nullopt, 0, false};
}

// 14-bit flash and EEPROM parts with data EEPROM.
constexpr ChipDescription ChipFlash14(std::string_view name, uint16_t words, uint16_t dataBytes,
                                      uint16_t cpMask, uint16_t cpdMask,
                                      std::optional<uint16_t> deviceId, int cycleMs)
{
    return {name,   Core14, Flash,   words,    dataBytes,    kCfg14,  0x3FFF,
            kIds14, cpMask, cpdMask, deviceId, std::nullopt, cycleMs, false};
}

constexpr ChipDescription With12ce674Calibration(ChipDescription chip)
{
    chip.calibrationWord = 0x3480; // RETLW 0x80
    return chip;
}

constexpr ChipDescription WithParity(ChipDescription chip)
{
    chip.needsParity = true;
    return chip;
}

const std::array<ChipDescription, 30> kChips = {
    Chip16C5x("16c54", 0x200),
    Chip16C5x("16c55", 0x200),
    Chip16C5x("16c56", 0x400),
    Chip16C5x("16c57", 0x800),
    Chip16C5x("16c58", 0x800),
    ChipEprom14("16c61", 0x400, 0x0010),
    ChipEprom14("16c62", 0x800, 0x0030),
    ChipEprom14("16c63", 0x1000, 0x3F30),
    ChipEprom14("16c64", 0x800, 0x0030),
    ChipEprom14("16c65", 0x1000, 0x0030),
    ChipEprom14("16c71", 0x400, 0x0010),
    ChipEprom14("16c73", 0x1000, 0x0030),
    ChipEprom14("16c74", 0x1000, 0x0030),
    // The 16C84 and 16F83/84 have no separate data-protection bit: CP covers data EEPROM too.
    ChipFlash14("16c84", 0x400, 64, 0x0010, 0, std::nullopt, 10),
    ChipFlash14("16f83", 0x200, 64, 0x3FF0, 0, std::nullopt, 20),
    ChipFlash14("16f84", 0x400, 64, 0x3FF0, 0, std::nullopt, 20),
    ChipEprom14("16c710", 0x200, 0x3FB0),
    ChipEprom14("16c711", 0x400, 0x3FB0),
    Chip12C50x("12c508", 0x200, 0x0C70),
    Chip12C50x("12c509", 0x400, 0x0C64),
    ChipEprom14("16c65A", 0x1000, 0x3F30),
    ChipEprom14("16c554", 0x200, 0x3F30),
    ChipEprom14("16c558", 0x800, 0x3F30),
    ChipEprom14("16c62A", 0x800, 0x3F30),
    ChipFlash14("16f877", 0x2000, 256, 0x3030, 0x0100, 0x09A0, 8),
    ChipFlash14("16f876", 0x2000, 256, 0x3030, 0x0100, 0x09E0, 8),
    With12ce674Calibration(ChipEprom14("12ce674", 0x800, 0x3F60)),
    ChipFlash14("16f628", 0x800, 128, 0x3C00, 0x0100, 0x07C0, 8),
    WithParity(ChipEprom14("16c715", 0x800, 0x3F30)),
    ChipFlash14("16f628a", 0x800, 128, 0x2000, 0x0100, 0x1060, 4),
};

} // namespace

std::span<const ChipDescription> AllChips()
{
    return kChips;
}

const ChipDescription *FindChip(std::string_view name)
{
    for (const ChipDescription &chip : kChips) {
        if (chip.name == name) {
            return &chip;
        }
    }
    return nullptr;
}

} // namespace tolm::sim
