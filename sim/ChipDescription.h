#pragma once

#include "ChipAlgorithm.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tolm::sim {

// How a chip is addressed once it is in programming mode.
enum class ChipCore {
    // 14-bit core: the counter runs 0..1FFF in program memory; Load Configuration moves it to
    // 2000 and it then runs 2000..3FFF (IDs at 2000-2003, device ID 2006, configuration 2007).
    Core14,
    // 16C5x: 12-bit words reached through the module's own 12-bit commands after 0x08; the
    // counter starts at the configuration word and one step reaches 0000.
    Core12Module,
    // 12C508/509: 12-bit words reached through the serial PIC commands after 0x09; the counter
    // starts at the configuration word and one Increment Address reaches 0000.
    Core12Serial,
};

// EPROM cells only lose bits and need programming pulses; flash and EEPROM cells are replaced
// by one erase/program cycle and can be bulk erased.
enum class ChipMemory { Eprom, Flash };

// A word of configuration space besides the first configuration word.
struct ConfigSpaceWord
{
    uint16_t address;
    uint16_t implemented; // bits that are cells; the others always read as in `erased`
    uint16_t erased;      // the word after an erase
};

// A factory-programmed word in configuration space that the chip's bulk erase leaves alone
// unless the counter points at it when the erase begins.
struct CalibrationSpaceWord
{
    uint16_t address;
    uint16_t factory; // the word as the chip ships (the value is the simulator's own choice)
};

// One chip as the simulator knows it. Deliberately independent of the host's device catalogue:
// these are the chips' own properties.
struct ChipDescription
{
    std::string_view name; // exactly as the catalogue spells it: "16c62A", "16f628a"
    ChipCore core;
    ChipMemory memory;
    uint16_t programWords;            // program memory size in words
    uint16_t dataBytes;               // data EEPROM size in bytes, 0 when there is none
    uint16_t configAddress;           // 0x2007 for 14-bit parts, 0x0FFF for 12-bit parts
    uint16_t configErased;            // the configuration word of an erased chip
    uint16_t idAddress;               // first of the four ID locations
    uint16_t codeProtectMask;         // code-protection bits: all of them set means unprotected
    uint16_t dataProtectMask;         // data-protection bit; 0 when data follows code protection
    std::optional<uint16_t> deviceId; // read-only word at 0x2006, revision bits 0
    std::optional<uint16_t> calibrationWord; // factory word at the last program address
    int programCycleUs;                      // flash erase/program cycle time; 0 for EPROM parts
    bool needsParity;                        // transfer words must travel in the parity form

    ChipAlgorithm algorithm = ChipAlgorithm::FlashEraseWrite;
    uint16_t configImplemented = 0x3FFF; // configuration bits that are cells
    std::optional<uint16_t> configFactory =
        std::nullopt;          // the configuration word as shipped, if not erased
    uint16_t bandGapMask = 0;  // factory band-gap bits inside the configuration word
    uint16_t revisionMask = 0; // device ID bits that carry the silicon revision
    std::optional<ConfigSpaceWord> secondConfig = std::nullopt;
    std::optional<CalibrationSpaceWord> configCalibration = std::nullopt;
    int writeLatchWords = 1; // words one Begin Programming writes from the latches
    int dataCycleUs = 0;     // data EEPROM cycle; 0: as programCycleUs
    int eraseUs = 0;         // bulk or chip erase; 0: as programCycleUs

    bool IsTwelveBit() const { return core != ChipCore::Core14; }
    // Width of a program word: 0x0FFF or 0x3FFF; also the erased value of a word.
    uint16_t WordMask() const { return IsTwelveBit() ? 0x0FFF : 0x3FFF; }
    const AlgorithmRules &Behaviour() const { return Rules(algorithm); }
};

// Every chip: the 30 of the first catalogue in its order, then the mid-range flash parts.
std::span<const ChipDescription> AllChips();

// The chip of that exact (case-sensitive) name, or nullptr.
const ChipDescription *FindChip(std::string_view name);

} // namespace tolm::sim
