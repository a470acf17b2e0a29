#include "ChipAlgorithm.h"

#include <array>

namespace tolm::sim {

namespace {

using enum ChipAlgorithm;

constexpr std::array<ChipAlgorithm, 9> kAlgorithms = {
    Eprom12Module,        Eprom12Serial,       Eprom14,
    FlashEraseWrite,      FlashProgramOnly,    FlashOscCalBandGap,
    FlashCalibrationWord, FlashTwoConfigWords, FlashEightWordBlock,
};

constexpr AlgorithmRules EpromRules(std::string_view name)
{
    AlgorithmRules rules{name};
    rules.eprom = true;
    return rules;
}

// The parts whose code 8 only programs: Bulk Erase Program Memory takes the configuration word
// with it wherever the counter is, which is also how their protection is lifted.
constexpr AlgorithmRules ProgramOnlyRules(std::string_view name, bool takesProtectedData)
{
    AlgorithmRules rules{name};
    rules.programOnly = true;
    rules.configErase = ConfigErase::Always;
    rules.bulkEraseTakesProtectedData = takesProtectedData;
    return rules;
}

constexpr AlgorithmRules EraseWriteRules()
{
    AlgorithmRules rules{"flash-erase-write"};
    rules.unprotectSequence = true;
    return rules;
}

constexpr AlgorithmRules OscCalRules()
{
    AlgorithmRules rules = ProgramOnlyRules("flash-osccal-bandgap", true);
    rules.calibrationReadableWhenProtected = true;
    return rules;
}

// 16F87XA: Bulk Erase is set up by 9 (or 11) and run by Begin Erase/Programming, never takes
// the configuration word and is disabled by protection; only Chip Erase lifts protection.
constexpr AlgorithmRules BlockRules()
{
    AlgorithmRules rules{"flash-8-word-block"};
    rules.configErase = ConfigErase::Never;
    rules.bulkEraseWaitsForBegin = true;
    rules.bulkEraseRefusedWhenProtected = true;
    rules.protectionNeedsChipErase = true;
    rules.blockEraseWrite = true;
    return rules;
}

constexpr std::array<AlgorithmRules, kAlgorithms.size()> kRules = {
    EpromRules("eprom-12bit-module"),
    EpromRules("eprom-12bit-serial"),
    EpromRules("eprom-14bit"),
    EraseWriteRules(),
    ProgramOnlyRules("flash-program-only", true),
    OscCalRules(),
    ProgramOnlyRules("flash-calibration-word", false),
    ProgramOnlyRules("flash-two-config-words", false),
    BlockRules(),
};

} // namespace

const AlgorithmRules &Rules(ChipAlgorithm algorithm)
{
    return kRules[static_cast<size_t>(algorithm)];
}

std::span<const ChipAlgorithm> AllAlgorithms()
{
    return kAlgorithms;
}

std::optional<ChipAlgorithm> AlgorithmNamed(std::string_view name)
{
    for (ChipAlgorithm algorithm : kAlgorithms) {
        if (Rules(algorithm).name == name) {
            return algorithm;
        }
    }
    return std::nullopt;
}

} // namespace tolm::sim
