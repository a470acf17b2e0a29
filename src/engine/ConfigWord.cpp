// Reading and programming the configuration word, and the code-protection test on it.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "link/ProgrammerModule.h"

bool PicEngine::PicGoConfigLocation(std::uint16_t loadData, int steps, bool parallel)
{
    // Load Configuration (with its data word) moves the counter to 2000, the first ID
    // location; the device ID is six locations further on, the configuration word seven.
    const bool loaded = parallel ? m_module.ModuleLoadConfig(loadData)
                                 : m_module.ModuleSerialPicCommand(PicCode::kLoadConfiguration) &&
                                       m_module.ModuleSerialLoadData(loadData);
    if (!loaded) {
        return false;
    }
    for (int i = 0; i < steps; ++i) {
        const bool stepped = parallel ? m_module.ModuleIncrementAddress()
                                      : m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
        if (!stepped) {
            return false;
        }
    }
    return true;
}

bool PicEngine::PicReadWordAtCounter(bool parallel, std::uint16_t &word)
{
    return ProgReadWord(DeviceFamily::kFlash14Bit, parallel, word);
}

bool PicEngine::ReachConfigWord(bool parallel)
{
    return PicGoConfigLocation(0, kConfigOffsetFromLoadConfig, parallel);
}

bool PicEngine::ReadConfigWord(std::uint16_t &word)
{
    switch (m_device.DeviceFamily) {
    case DeviceFamily::k16C5x:
        return m_module.ModuleRead12BitWord(word); // the counter starts at the configuration
    case DeviceFamily::kEprom14Bit:
    case DeviceFamily::kFlash14Bit: {
        const bool parallel = m_host.ParallelSelected();
        if (!ReachConfigWord(parallel)) {
            return false;
        }
        if (parallel) {
            Delay(kReadSettleMs);
            return m_module.ModuleReadProgWord(word);
        }
        return SerialReadWord(PicCode::kReadProgramData, word);
    }
    case DeviceFamily::k12C508:
        return SerialReadWord(PicCode::kReadProgramData, word);
    default:
        return true;
    }
}

ChipResult<std::uint16_t> PicEngine::PicReadConfig()
{
    if (!PicPowerOn()) {
        return CycleFailure();
    }
    std::uint16_t word = 0;
    const bool ok = ReadConfigWord(word);
    PicPowerOff();
    return Outcome(ok, word);
}

bool PicEngine::WriteConfigWord(std::uint16_t word, bool keepChipBandGap)
{
    const bool parallel = m_host.ParallelSelected();
    // Read back, a word compares in all 16 bits: one above 3FFF never matches.
    std::uint16_t readBack = 0;
    switch (m_device.DeviceFamily) {
    case DeviceFamily::k16C5x:
        return m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord,
                                             PulseTiming::kTwelveBitCount) &&
               m_module.ModuleWrite12BitConfig(word);
    case DeviceFamily::kEprom14Bit:
        if (!m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kEpromCount) ||
            !ReachConfigWord(parallel)) {
            return false;
        }
        if (parallel) {
            return m_module.ModuleWriteWordEprom(word);
        }
        for (int pulses = 1; pulses <= kMaxProgramPulses; ++pulses) {
            if (!LoadAndPulse(word) || !SerialReadWord(PicCode::kReadProgramData, readBack)) {
                return false;
            }
            if (readBack != word) {
                NoteReadBack(word, readBack);
                continue;
            }
            m_readBackDifference.reset();
            // Every overprogramming pulse of the configuration word gets its own Load Data.
            for (int extra = 0; extra < kOverprogramFactor * pulses; ++extra) {
                if (!LoadAndPulse(word)) {
                    return false;
                }
            }
            return true;
        }
        return false;
    case DeviceFamily::kFlash14Bit:
        if (!m_module.ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount) ||
            !ReachConfigWord(parallel)) {
            return false;
        }
        if (parallel) {
            return m_module.ModuleWriteWordFlash(word);
        }
        if (const std::uint16_t bandGap = keepChipBandGap ? BandGapMask(m_device) : 0) {
            // The factory's band-gap bits stay the chip's: read them where they are.
            std::uint16_t chipWord = 0;
            if (!SerialReadWord(PicCode::kReadProgramData, chipWord)) {
                return false;
            }
            word = static_cast<std::uint16_t>((word & ~bandGap) | (chipWord & bandGap));
        }
        return SerialFlashCycle(word, readBack) &&
               ReadBackMatches(word, readBack, ConfigCompareMask(m_device));
    case DeviceFamily::k12C508:
        // One pulse only: the configuration cell of these parts takes at once.
        return m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord,
                                             PulseTiming::kTwelveBitCount) &&
               LoadAndPulse(word) && SerialReadWord(PicCode::kReadProgramData, readBack) &&
               ReadBackMatches(word, readBack);
    default:
        return true;
    }
}

bool PicEngine::ReadBackMatches(std::uint16_t expected, std::uint16_t read, std::uint16_t mask)
{
    const bool matches = (read & mask) == (expected & mask);
    if (!matches) {
        NoteReadBack(expected, read);
    }
    return matches;
}

// The second configuration word follows the first: one step on from 2007. Its bits that are no
// cells read as the chip has them, so only the implemented ones are compared.
bool PicEngine::WriteSecondConfigWord(std::uint16_t word)
{
    const bool parallel = m_host.ParallelSelected();
    if (!ProgAdvance(DeviceFamily::kFlash14Bit, parallel)) {
        return false;
    }
    if (parallel) {
        return m_module.ModuleWriteWordFlash(word);
    }
    std::uint16_t readBack = 0;
    return SerialFlashCycle(word, readBack) &&
           ReadBackMatches(word, readBack, SecondConfigImplemented(m_device));
}

ChipResult<NoValue> PicEngine::ConfigWriteCycle(const std::function<bool()> &work)
{
    const bool forceSerial = ConfigSerialOnly(m_device);
    const bool parallelBefore = m_host.ParallelSelected();
    if (forceSerial) {
        m_host.SetParallelSelected(false);
    }
    bool ok = PicPowerOn();
    const bool powered = ok;
    if (ok) {
        ok = work();
    }
    if (forceSerial) {
        m_host.SetParallelSelected(parallelBefore);
    }
    if (powered) {
        PicPowerOff();
    }
    return Outcome(ok, NoValue{});
}

ChipResult<NoValue> PicEngine::PicWriteConfig(std::uint16_t word,
                                              std::optional<std::uint16_t> second)
{
    const bool writeSecond = second && SecondConfigAddress(m_device);
    return ConfigWriteCycle(
        [&] { return WriteConfigWord(word) && (!writeSecond || WriteSecondConfigWord(*second)); });
}

ChipResult<NoValue> PicEngine::PicWriteSecondConfig(std::uint16_t word)
{
    return ConfigWriteCycle(
        [&] { return ReachConfigWord(m_host.ParallelSelected()) && WriteSecondConfigWord(word); });
}

ChipResult<NoValue> PicEngine::PicWriteConfigExactly(std::uint16_t word)
{
    return ConfigWriteCycle([&] { return WriteConfigWord(word, false); });
}

ChipResult<PicEngine::ConfigWords> PicEngine::PicReadConfigWords()
{
    if (!PicPowerOn()) {
        return CycleFailure();
    }
    ConfigWords words;
    bool ok = ReadConfigWord(words.first);
    if (ok && SecondConfigAddress(m_device)) {
        const bool parallel = m_host.ParallelSelected();
        std::uint16_t second = 0;
        ok = ProgAdvance(DeviceFamily::kFlash14Bit, parallel) &&
             ProgReadWord(DeviceFamily::kFlash14Bit, parallel, second);
        words.second = second;
    }
    PicPowerOff();
    return Outcome(ok, words);
}

ChipResult<bool> PicEngine::PicCodeProtected()
{
    const ChipResult<std::uint16_t> word = PicReadConfig();
    if (!word) {
        return word.FailureAs<bool>();
    }
    return (*word & m_device.ProtMask) != (m_device.ProtNoneWord & m_device.ProtMask);
}
