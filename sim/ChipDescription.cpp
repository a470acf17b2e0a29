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
    return {name,         Core12Module, Eprom, words,  0,
            kCfg12,       0x0FFF,       words, 0x0008, 0,
            std::nullopt, std::nullopt, 0,     false,  ChipAlgorithm::Eprom12Module};
}

// 12C508/509: 12-bit EPROM with a MOVLW k oscillator calibration word at the top.
constexpr ChipDescription Chip12C50x(std::string_view name, uint16_t words, uint16_t cal)
{
    return {name,         Core12Serial, Eprom, words,  0,
            kCfg12,       0x0FFF,       words, 0x0008, 0,
            std::nullopt, cal,          0,     false,  ChipAlgorithm::Eprom12Serial};
}

// 14-bit EPROM parts.
constexpr ChipDescription ChipEprom14(std::string_view name, uint16_t words, uint16_t cpMask)
{
    return {name,         Core14,       Eprom,  words,  0,
            kCfg14,       0x3FFF,       kIds14, cpMask, 0,
            std::nullopt, std::nullopt, 0,      false,  ChipAlgorithm::Eprom14};
}

// 14-bit flash and EEPROM parts with data EEPROM.
constexpr ChipDescription ChipFlash14(std::string_view name, uint16_t words, uint16_t dataBytes,
                                      uint16_t cpMask, uint16_t cpdMask,
                                      std::optional<uint16_t> deviceId, int cycleMs)
{
    return {name,   Core14, Flash,   words,    dataBytes,    kCfg14,         0x3FFF,
            kIds14, cpMask, cpdMask, deviceId, std::nullopt, cycleMs * 1000, false};
}

// The older flash parts with a device ID carry a five-bit silicon revision in it as well.
constexpr ChipDescription WithRevision(ChipDescription chip)
{
    chip.revisionMask = 0x001F;
    return chip;
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

// The mid-range flash parts, from their programming guides. Device IDs are at 2006 with
// the revision bits 0. Unimplemented configuration bits read as 1 unless said otherwise.
struct MidRange
{
    uint16_t words;
    uint16_t dataBytes;
    uint16_t deviceId;
    uint16_t configImplemented;
    uint16_t cpMask;
    uint16_t cpdMask;
};

// Cycle times are the programming guides' longest waits: program word or block, data byte, erase.
constexpr ChipDescription MidRangeChip(std::string_view name, ChipAlgorithm algorithm,
                                       const MidRange &m, int programUs, int dataUs, int eraseUs)
{
    ChipDescription chip{name,       Core14,       Flash,     m.words,  m.dataBytes,
                         kCfg14,     0x3FFF,       kIds14,    m.cpMask, m.cpdMask,
                         m.deviceId, std::nullopt, programUs, false,    algorithm};
    chip.configImplemented = m.configImplemented;
    chip.revisionMask = 0x001F;
    chip.dataCycleUs = dataUs;
    chip.eraseUs = eraseUs;
    return chip;
}

// 16F84A, 16F627, 16F873/874: the same erase/write cycle as their older siblings.
constexpr ChipDescription EraseWriteChip(std::string_view name, const MidRange &m, int cycleUs)
{
    return MidRangeChip(name, ChipAlgorithm::FlashEraseWrite, m, cycleUs, cycleUs, cycleUs);
}

// 16F627A/648A: program-only cycles of 4 ms, data and bulk erase 6 ms.
constexpr ChipDescription ProgramOnlyChip(std::string_view name, const MidRange &m)
{
    return MidRangeChip(name, ChipAlgorithm::FlashProgramOnly, m, 4000, 6000, 6000);
}

// 12F629/675, 16F630/676: OSCCAL is a RETLW k at 3FF and the band-gap calibration sits in
// configuration bits 13:12; bits 11-9 read as 0. Bulk erase takes both, so a programmer reads
// them first and puts them back.
constexpr ChipDescription OscCalChip(std::string_view name, uint16_t deviceId)
{
    constexpr uint16_t kBandGap = 0x3000;
    constexpr uint16_t kUserBits = 0x01FF;
    ChipDescription chip = MidRangeChip(
        name, ChipAlgorithm::FlashOscCalBandGap,
        {0x400, 128, deviceId, kUserBits | kBandGap, 0x0080, 0x0100}, 2500, 6000, 8000);
    chip.configErased = kUserBits | kBandGap;
    chip.bandGapMask = kBandGap;
    chip.configFactory = uint16_t{kUserBits | 0x2000}; // band gap "mid/high": the simulator's pick
    chip.calibrationWord = uint16_t{0x3454};           // RETLW 0x54, likewise
    return chip;
}

// 12F683, 16F684/688/690: a factory calibration word at 2008 outside every normal erase.
constexpr ChipDescription CalibrationChip(std::string_view name, uint16_t words, uint16_t deviceId)
{
    ChipDescription chip =
        MidRangeChip(name, ChipAlgorithm::FlashCalibrationWord,
                     {words, 256, deviceId, 0x0FFF, 0x0040, 0x0080}, 3000, 6000, 6000);
    chip.configCalibration = CalibrationSpaceWord{0x2008, 0x1E5A};
    chip.writeLatchWords = 4;
    return chip;
}

// 16F882-887: CONFIG2 at 2008 (WRT1:0, BOR4V), the calibration word at 2009.
constexpr ChipDescription TwoConfigChip(std::string_view name, uint16_t words, uint16_t dataBytes,
                                        uint16_t deviceId, int latchWords)
{
    ChipDescription chip =
        MidRangeChip(name, ChipAlgorithm::FlashTwoConfigWords,
                     {words, dataBytes, deviceId, 0x3FFF, 0x0040, 0x0080}, 3000, 6000, 6000);
    chip.secondConfig = ConfigSpaceWord{0x2008, 0x0700, 0x3FFF};
    chip.configCalibration = CalibrationSpaceWord{0x2009, 0x1E5A};
    chip.writeLatchWords = latchWords;
    return chip;
}

// 16F873A-877A: eight write latches per Begin Erase/Programming, 8 ms per block; the revision
// field is four bits wide.
constexpr ChipDescription BlockChip(std::string_view name, uint16_t words, uint16_t dataBytes,
                                    uint16_t deviceId)
{
    ChipDescription chip =
        MidRangeChip(name, ChipAlgorithm::FlashEightWordBlock,
                     {words, dataBytes, deviceId, 0x2FCF, 0x2000, 0x0100}, 8000, 8000, 8000);
    chip.revisionMask = 0x000F;
    chip.writeLatchWords = 8;
    return chip;
}

const std::array<ChipDescription, 53> kChips = {
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
    WithRevision(ChipFlash14("16f877", 0x2000, 256, 0x3030, 0x0100, 0x09A0, 8)),
    WithRevision(ChipFlash14("16f876", 0x2000, 256, 0x3030, 0x0100, 0x09E0, 8)),
    With12ce674Calibration(ChipEprom14("12ce674", 0x800, 0x3F60)),
    WithRevision(ChipFlash14("16f628", 0x800, 128, 0x3C00, 0x0100, 0x07C0, 8)),
    WithParity(ChipEprom14("16c715", 0x800, 0x3F30)),
    WithRevision(ChipFlash14("16f628a", 0x800, 128, 0x2000, 0x0100, 0x1060, 4)),
    // 16F84A: CP covers data EEPROM as on the 16F84.
    EraseWriteChip("16f84a", {0x400, 64, 0x0560, 0x3FFF, 0x3FF0, 0}, 8000),
    EraseWriteChip("16f627", {0x400, 128, 0x07A0, 0x3DFF, 0x3C00, 0x0100}, 13000),
    ProgramOnlyChip("16f627a", {0x400, 128, 0x1040, 0x21FF, 0x2000, 0x0100}),
    ProgramOnlyChip("16f648a", {0x1000, 256, 0x1100, 0x21FF, 0x2000, 0x0100}),
    EraseWriteChip("16f873", {0x1000, 128, 0x0960, 0x3BFF, 0x3030, 0x0100}, 8000),
    EraseWriteChip("16f874", {0x1000, 128, 0x0920, 0x3BFF, 0x3030, 0x0100}, 8000),
    CalibrationChip("12f683", 0x800, 0x0460),
    CalibrationChip("16f684", 0x800, 0x1080),
    CalibrationChip("16f688", 0x1000, 0x1180),
    CalibrationChip("16f690", 0x1000, 0x1400),
    OscCalChip("12f629", 0x0F80),
    OscCalChip("12f675", 0x0FC0),
    OscCalChip("16f630", 0x10C0),
    OscCalChip("16f676", 0x10E0),
    BlockChip("16f873a", 0x1000, 128, 0x0E40),
    BlockChip("16f874a", 0x1000, 128, 0x0E60),
    BlockChip("16f876a", 0x2000, 256, 0x0E00),
    BlockChip("16f877a", 0x2000, 256, 0x0E20),
    TwoConfigChip("16f882", 0x800, 128, 0x2000, 4),
    TwoConfigChip("16f883", 0x1000, 256, 0x2020, 4),
    TwoConfigChip("16f884", 0x1000, 256, 0x2040, 4),
    TwoConfigChip("16f886", 0x2000, 256, 0x2060, 8),
    TwoConfigChip("16f887", 0x2000, 256, 0x2080, 8),
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
