// The four ID locations: each holds one digit of the ID code in its low four bits. The code
// reads from the first location on, as assemblers write it (__IDLOCS 0x1234 puts 1 in the
// first location and 4 in the last), so every other programmer reads the same code.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "link/ProgrammerModule.h"

namespace {
constexpr int kIdLocations = 4;

// Location k holds digit k of the code counted from the left.
int DigitShift(int location)
{
    return 4 * (kIdLocations - 1 - location);
}
} // namespace

bool PicEngine::ReachIdLocations(std::uint8_t family, bool parallel)
{
    switch (family) {
    case DeviceFamily::k16C5x: {
        // The ID locations follow program memory. From the configuration word, where the
        // counter starts, that is one step to 000 and the program size beyond: the advance
        // moves its argument + 1 locations.
        const auto progMax = ParseHexText(m_device.ProgMaxText).value_or(0);
        return m_module.ModuleAdvance12Bit(static_cast<std::uint16_t>(progMax + 1));
    }
    case DeviceFamily::kEprom14Bit:
    case DeviceFamily::kFlash14Bit:
        return PicGoConfigLocation(0, 0, parallel); // the ID locations start at 2000
    case DeviceFamily::k12C508:
        for (int i = 0; i <= m_device.IdAddress; ++i) {
            if (!m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress)) {
                return false;
            }
        }
        return true;
    default:
        return true;
    }
}

bool PicEngine::ReadIdNibbles(std::uint8_t family, bool parallel, std::uint16_t &value)
{
    value = 0;
    for (int k = 0; k < kIdLocations; ++k) {
        std::uint16_t word = 0;
        bool ok = false;
        if (family == DeviceFamily::k16C5x) {
            ok = m_module.ModuleRead12BitWord(word); // leaves the chip at the next location
        } else if (parallel && family != DeviceFamily::k12C508) {
            ok = m_module.ModuleReadProgWord(word) && m_module.ModuleIncrementAddress();
        } else {
            ok = SerialReadWord(PicCode::kReadProgramData, word) &&
                 m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
        }
        if (!ok) {
            return false;
        }
        value |= static_cast<std::uint16_t>((word & 0xF) << DigitShift(k));
    }
    return true;
}

ChipResult<QString> PicEngine::PicReadIDCode()
{
    if (!PicPowerOn()) {
        return CycleFailure();
    }
    const std::uint8_t family = m_device.DeviceFamily;
    const bool parallel = m_host.ParallelSelected();
    std::uint16_t value = 0;
    const bool ok = !DeviceFamily::HasAlgorithms(family) ||
                    (ReachIdLocations(family, parallel) && ReadIdNibbles(family, parallel, value));
    PicPowerOff();
    return Outcome(ok, FormatHex(value, 4));
}

bool PicEngine::WriteIdNibbles(std::uint8_t family, bool parallel, std::uint16_t value)
{
    for (int k = 0; k < kIdLocations; ++k) {
        // Each location gets its own nibble, whatever happened at the one before.
        const auto nibble = static_cast<std::uint16_t>((value >> DigitShift(k)) & 0xF);
        bool written = false;
        if (family == DeviceFamily::k16C5x) {
            written = m_module.ModuleWrite12BitWord(nibble) && m_module.ModuleIncrement12Bit();
        } else if (parallel && family != DeviceFamily::k12C508) {
            written =
                (family == DeviceFamily::kEprom14Bit ? m_module.ModuleWriteWordEprom(nibble)
                                                     : m_module.ModuleWriteWordFlash(nibble)) &&
                m_module.ModuleIncrementAddress();
        } else if (family == DeviceFamily::kFlash14Bit) {
            // A location that did not take fails the write.
            std::uint16_t readBack = 0;
            written = SerialFlashCycle(nibble, readBack) && ReadBackMatches(nibble, readBack) &&
                      m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
        } else {
            // A location still wrong after the last pulse fails the write: the driver then
            // says the ID code was not written instead of going on as if it had been.
            written = PulseProgramWord(nibble, nibble) == PulseOutcome::Matched &&
                      m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
        }
        if (!written) {
            if (m_readBackDifference) {
                m_readBackDifference->location = k; // the reason names the location
            }
            return false;
        }
    }
    return true;
}

std::optional<std::uint16_t> IdCodeValue(const QString &text)
{
    const QString digits = text.left(kIdLocations);
    const auto number = ParseHexText(digits);
    if (!number) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*number << (4 * (kIdLocations - digits.size())));
}

ChipResult<NoValue> PicEngine::PicWriteIDCode(std::uint16_t code)
{
    if (!PicPowerOn()) {
        return CycleFailure();
    }
    const std::uint8_t family = m_device.DeviceFamily;
    const bool parallel = m_host.ParallelSelected();
    bool ok = true;
    switch (family) {
    case DeviceFamily::k16C5x:
        ok = m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kTwelveBitCount);
        break;
    case DeviceFamily::kEprom14Bit:
    case DeviceFamily::k12C508:
        ok = m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kEpromCount);
        break;
    case DeviceFamily::kFlash14Bit:
        ok = m_module.ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount);
        break;
    default:
        break;
    }
    const bool blocks = BlockWords(m_device) > 1;
    if (ok && DeviceFamily::HasAlgorithms(family)) {
        ok = ReachIdLocations(family, parallel) &&
             (blocks ? WriteIdBlock(code) : WriteIdNibbles(family, parallel, code));
    }
    PicPowerOff();
    if (!ok || !blocks) {
        return Outcome(ok, NoValue{});
    }
    // The counter could not go back over the four locations: they are read in a cycle of
    // their own.
    const ChipResult<QString> read = PicReadIDCode();
    if (!read) {
        return read.FailureAs<NoValue>();
    }
    const auto readCode = static_cast<std::uint16_t>(ParseHexText(*read).value_or(0));
    for (int k = 0; k < kIdLocations; ++k) {
        const auto expected = static_cast<std::uint16_t>((code >> DigitShift(k)) & 0xF);
        const auto got = static_cast<std::uint16_t>((readCode >> DigitShift(k)) & 0xF);
        if (expected != got) {
            return ReadBackDifference{expected, got, k};
        }
    }
    return NoValue{};
}

// The 8-word-block parts write the ID locations as their programming guide shows: the
// four loaded, then one Begin Erase/Programming for their block.
bool PicEngine::WriteIdBlock(std::uint16_t value)
{
    for (int k = 0; k < kIdLocations; ++k) {
        const auto nibble = static_cast<std::uint16_t>((value >> DigitShift(k)) & 0xF);
        if (!LoadProgramWord(nibble) || (k + 1 < kIdLocations && !m_module.ModuleSerialPicCommand(
                                                                     PicCode::kIncrementAddress))) {
            return false;
        }
    }
    return m_module.ModuleSerialPicCommand(PicCode::kBeginProgramming);
}
