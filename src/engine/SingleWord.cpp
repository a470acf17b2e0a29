// Reading and programming one word at one address, each in a power cycle of its own: the
// calibration word is the only word handled this way.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "link/ProgrammerModule.h"

namespace {
// Shows the "Please Wait" window for as long as it lives.
class WaitingWindow
{
public:
    explicit WaitingWindow(EngineHost &host) : m_host(host) { m_host.ShowWaiting(true); }
    ~WaitingWindow() { m_host.ShowWaiting(false); }
    WaitingWindow(const WaitingWindow &) = delete;
    WaitingWindow &operator=(const WaitingWindow &) = delete;

private:
    EngineHost &m_host;
};
} // namespace

bool PicEngine::SingleWordCycle(std::uint16_t address, const std::function<bool()> &work)
{
    if (!PicPowerOn()) {
        return false;
    }
    const WaitingWindow waiting(m_host);
    const bool ok = PicGoAddress(address) && work();
    PicPowerOff();
    return ok;
}

bool PicEngine::ReadAtCounter(std::uint16_t &word)
{
    const std::uint8_t family = m_device.DeviceFamily;
    if (!DeviceFamily::HasAlgorithms(family)) {
        return true;
    }
    // The 12C508/509's counter starts at the configuration word: one more step reaches the
    // address.
    if (family == DeviceFamily::k12C508 &&
        !m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress)) {
        return false;
    }
    return ProgReadWord(family, m_host.ParallelSelected(), word);
}

bool PicEngine::WriteAtCounter(std::uint16_t word)
{
    // The Serial method's read-back sees the 14 data bits of the transfer word on every
    // family, so that is what a pulse-programmed word is compared within.
    const auto expected = static_cast<std::uint16_t>(word & kChipWordBits);
    std::uint16_t readBack = 0;
    switch (m_device.DeviceFamily) {
    case DeviceFamily::k16C5x:
        return m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord,
                                             PulseTiming::kTwelveBitCount) &&
               m_module.ModuleWrite12BitWord(word);
    case DeviceFamily::kEprom14Bit:
        if (!m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kEpromCount)) {
            return false;
        }
        return m_host.ParallelSelected()
                   ? m_module.ModuleWriteWordEprom(word)
                   : PulseProgramWord(word, expected) == PulseOutcome::Matched;
    case DeviceFamily::kFlash14Bit:
        if (!m_module.ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount)) {
            return false;
        }
        return m_host.ParallelSelected()
                   ? m_module.ModuleWriteWordFlash(word)
                   : SerialFlashCycle(word, readBack) && ReadBackMatches(word, readBack);
    case DeviceFamily::k12C508:
        return m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kEpromCount) &&
               m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress) &&
               PulseProgramWord(word, expected) == PulseOutcome::Matched;
    default:
        return true;
    }
}

ChipResult<std::uint16_t> PicEngine::PicRead(std::uint16_t address)
{
    std::uint16_t word = 0;
    const bool ok = SingleWordCycle(address, [&] { return ReadAtCounter(word); });
    return Outcome(ok, word);
}

ChipResult<NoValue> PicEngine::PicWrite(std::uint16_t address, std::uint16_t word)
{
    return Outcome(SingleWordCycle(address, [&] { return WriteAtCounter(word); }), NoValue{});
}
