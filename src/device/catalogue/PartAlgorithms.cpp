#include "PartAlgorithms.h"

#include <array>

namespace {

constexpr int kTwelveBitProgramLimit = 2048;
constexpr int kFourteenBitProgramLimit = 8192;
constexpr int kDataLimit = 256;

// clang-format off
constexpr std::array<AlgorithmInfo, 6> kAlgorithms = {{
    {PartAlgorithm::P16C5x,        "16c5x",          1, 0, 12, true,  false, kTwelveBitProgramLimit,   0,          1},
    {PartAlgorithm::P12C508,       "12c508",         4, 1, 12, false, true,  kTwelveBitProgramLimit,   0,          1},
    {PartAlgorithm::Eprom14,       "eprom14",        2, 1, 14, true,  true,  kFourteenBitProgramLimit, 0,          1},
    {PartAlgorithm::Flash14,       "flash14",        3, 1, 14, true,  true,  kFourteenBitProgramLimit, kDataLimit, 1},
    {PartAlgorithm::Flash14Bulk,   "flash14-bulk",   3, 1, 14, false, true,  kFourteenBitProgramLimit, kDataLimit, 1},
    {PartAlgorithm::Flash14Block8, "flash14-block8", 3, 1, 14, false, true,  kFourteenBitProgramLimit, kDataLimit, 8},
}};
// clang-format on

constexpr uint32_t kFourteenBitConfigFirst = 0x2000;
constexpr uint32_t kFourteenBitConfigLast = 0x20FF;
constexpr uint32_t kTwelveBitConfigWord = 0x0FFF;

} // namespace

const AlgorithmInfo &InfoOf(PartAlgorithm algorithm)
{
    for (const AlgorithmInfo &info : kAlgorithms) {
        if (info.algorithm == algorithm)
            return info;
    }
    return kAlgorithms.back();
}

std::optional<PartAlgorithm> AlgorithmNamed(QStringView name)
{
    for (const AlgorithmInfo &info : kAlgorithms) {
        if (name == QLatin1String(info.name))
            return info.algorithm;
    }
    return std::nullopt;
}

uint16_t WordMaskOf(const PartDefinition &part)
{
    return static_cast<uint16_t>((1u << InfoOf(part.algorithm).wordBits) - 1u);
}

AddressRange ConfigurationSpace(const PartDefinition &part)
{
    if (InfoOf(part.algorithm).wordBits == 12)
        return {static_cast<uint32_t>(part.programWords), kTwelveBitConfigWord};
    return {kFourteenBitConfigFirst, kFourteenBitConfigLast};
}

uint32_t IdAddressOfAlgorithm(const PartDefinition &part)
{
    if (InfoOf(part.algorithm).wordBits == 12)
        return static_cast<uint32_t>(part.programWords);
    return kFourteenBitConfigFirst;
}
