// Reading and programming one word at one address, each in a power cycle of its own: the
// calibration word is the only word handled this way.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
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

bool PicEngine::PicRead(std::uint16_t address, std::uint16_t &word)
{
    if (!PicPowerOn()) {
        return false;
    }
    const WaitingWindow waiting(m_host);
    bool ok = PicGoAddress(address);
    if (ok) {
        switch (m_device.DeviceFamily) {
        case DeviceFamily::k16C5x:
            ok = m_module.ModuleRead12BitWord(word);
            break;
        case DeviceFamily::kEprom14Bit:
        case DeviceFamily::kFlash14Bit:
            ok = m_host.ParallelSelected() ? m_module.ModuleReadProgWord(word)
                                           : SerialReadWord(PicCode::kReadProgramData, word);
            break;
        case DeviceFamily::k12C508:
            // The counter starts at the configuration word: one more step reaches the address.
            ok = m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress) &&
                 SerialReadWord(PicCode::kReadProgramData, word);
            break;
        default:
            break;
        }
    }
    PicPowerOff();
    return ok;
}

bool PicEngine::PicWrite(std::uint16_t address, std::uint16_t word)
{
    if (!PicPowerOn()) {
        return false;
    }
    const WaitingWindow waiting(m_host);
    bool ok = PicGoAddress(address);
    if (ok) {
        switch (m_device.DeviceFamily) {
        case DeviceFamily::k16C5x:
            ok = m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord,
                                               PulseTiming::kTwelveBitCount) &&
                 m_module.ModuleWrite12BitWord(word);
            break;
        case DeviceFamily::kEprom14Bit:
            ok = m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kEpromCount);
            if (ok) {
                ok = m_host.ParallelSelected()
                         ? m_module.ModuleWriteWordEprom(word)
                         : PulseProgramWord(word, word & 0x3FFF) == PulseOutcome::Matched;
            }
            break;
        case DeviceFamily::kFlash14Bit:
            ok = m_module.ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount);
            if (ok && m_host.ParallelSelected()) {
                ok = m_module.ModuleWriteWordFlash(word);
            } else if (ok) {
                std::uint16_t readBack = 0;
                ok = m_module.ModuleSerialPicCommand(PicCode::kLoadProgramData) &&
                     m_module.ModuleSerialLoadData(word) &&
                     m_module.ModuleSerialPicCommand(PicCode::kBeginProgramming) &&
                     SerialReadWord(PicCode::kReadProgramData, readBack) && readBack == word;
            }
            break;
        case DeviceFamily::k12C508:
            ok = m_module.ModuleSetPulseTiming(PulseTiming::kEpromWord, PulseTiming::kEpromCount) &&
                 m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress) &&
                 PulseProgramWord(word, word & 0x3FFF) == PulseOutcome::Matched;
            break;
        default:
            break;
        }
    }
    PicPowerOff();
    return ok;
}
