#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tolm::sim {

// How a chip takes programming, as its programming guide describes it. Each chip names
// one; the behaviour behind it is a small set of named rules (AlgorithmRules) that the chip and
// its programming session ask, never the algorithm itself.
enum class ChipAlgorithm {
    Eprom12Module,        // 16C5x: 12-bit EPROM through the module's own 12-bit commands
    Eprom12Serial,        // 12C508/509: 12-bit EPROM through the serial PIC commands
    Eprom14,              // 14-bit EPROM: pulses only clear bits
    FlashEraseWrite,      // code 8 erases the word, then programs it (16F84, 16F62X, 16F87X)
    FlashProgramOnly,     // code 8 only programs: bulk erase first (16F62XA)
    FlashOscCalBandGap,   // program-only, OSCCAL at the last word and band-gap bits (12F629)
    FlashCalibrationWord, // program-only, a calibration word in configuration space (12F683)
    FlashTwoConfigWords,  // program-only, second configuration word at 2008 (16F88X)
    FlashEightWordBlock,  // code 8 erases and writes an 8-word block (16F87XA)
};

// What Bulk Erase Program Memory (code 9) takes besides program memory.
enum class ConfigErase {
    FromConfigSpace, // the configuration word and the IDs, when the counter is at 2000 or above
    Always,          // the configuration word(s) always; the IDs from configuration space
    Never,           // never the configuration word; the IDs from configuration space
};

struct AlgorithmRules
{
    std::string_view name; // as tolm-modsim lists it
    bool eprom = false;    // cells only lose bits under pulses; nothing erases them
    // Code 8 programs without erasing first: a programmed bit only goes from 1 to 0, so a word
    // written over another ends up as the AND of both. Data EEPROM bytes are still replaced.
    bool programOnly = false;
    ConfigErase configErase = ConfigErase::FromConfigSpace;
    // Code 9 also erases data memory when data protection is on (the protected-part erase).
    bool bulkEraseTakesProtectedData = false;
    // Codes 9 and 11 only set the erase up; the Begin Erase/Programming that follows runs it.
    bool bulkEraseWaitsForBegin = false;
    // A bulk erase does nothing while the memory it would erase is protected.
    bool bulkEraseRefusedWhenProtected = false;
    // Cleared protection bits come back only with Chip Erase (code 0x1F).
    bool protectionNeedsChipErase = false;
    // Load Configuration 3FFF, seven increments, then codes 1, 7, 8 erase the whole chip.
    bool unprotectSequence = false;
    // Code 8 erases and writes every word of the write-latch block at once, and the latches
    // keep their contents afterwards (only End Programming, code 0x17, sets them to 1s).
    bool blockEraseWrite = false;
    // Under code protection the OSCCAL word at the last program address still reads.
    bool calibrationReadableWhenProtected = false;
};

const AlgorithmRules &Rules(ChipAlgorithm algorithm);

// Every algorithm, in declaration order, and the one a name stands for.
std::span<const ChipAlgorithm> AllAlgorithms();
std::optional<ChipAlgorithm> AlgorithmNamed(std::string_view name);

} // namespace tolm::sim
