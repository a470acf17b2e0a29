// The chip-level steps every algorithm is built from: power, address stepping, the address
// fields, one-word reads and writes, and pulse-and-verify programming.
#include "engine/PicCommandCodes.h"
#include "engine/PicEngine.h"

#include "device/DeviceRecord.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "link/ProgrammerModule.h"

namespace {
// ModuleAdvanceAddress moves argument + 1 locations and takes at most 1023.
constexpr std::uint16_t kMaxAdvanceArgument = 1023;
} // namespace

PicEngine::PicEngine(ProgrammerModule &module, EngineHost &host, MemoryImage &image,
                     const DeviceRecord &device)
    : m_module(module), m_host(host), m_image(image), m_device(device)
{}

bool PicEngine::PicPowerOn()
{
    m_module.ClearFailure();
    m_readBackDifference.reset();
    if (PowerOnSequence()) {
        return true;
    }
    // Whatever step broke off, the module may have put power on the chip: take it away, so a
    // failed start never leaves a chip powered.
    PicPowerOff();
    return false;
}

ChipFailure PicEngine::CycleFailure() const
{
    if (const auto &failure = m_module.FirstFailure()) {
        return *failure;
    }
    if (m_readBackDifference) {
        return *m_readBackDifference;
    }
    // Every false of a single-value operation comes from an exchange or a read-back; were one
    // ever to come from elsewhere, the user hears of a failed exchange rather than of none.
    return ExchangeFailure{};
}

void PicEngine::NoteReadBack(std::uint16_t expected, std::uint16_t read, int location)
{
    m_readBackDifference = ReadBackDifference{expected, read, location};
}

bool PicEngine::ModuleRefusedWord()
{
    const auto failure = m_module.FirstFailure();
    if (!failure || failure->kind != ExchangeFailure::Kind::WrongAcknowledge) {
        return false;
    }
    m_module.ClearFailure();
    return true;
}

bool PicEngine::PowerOnSequence()
{
    // Power-off first: the target starts unpowered and the module (and host) leave the
    // parity form, whatever an earlier, interrupted operation left behind.
    if (!m_module.ModulePowerOff()) {
        return false;
    }
    if (m_device.HasMemoryParity && !m_module.ModuleParityMode()) {
        return false;
    }
    if (!m_module.ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount)) {
        return false;
    }
    switch (m_device.PowerOnMode) {
    case PowerOnMode::k16C5x:
        return m_module.ModulePowerOn16C5x();
    case PowerOnMode::kSerialMode:
        if (!m_module.ModulePowerOnSerialMode()) {
            return false;
        }
        return !m_host.ParallelSelected() ||
               m_module.ModuleSerialPicCommand(PicCode::kParallelModeSwitch);
    default:
        return true;
    }
}

bool PicEngine::PicPowerOff()
{
    const bool timingSent =
        m_module.ModuleSetPulseTiming(PulseTiming::kFlashWord, PulseTiming::kFlashCount);
    // Sent even when the timing was not acknowledged: taking the power away matters more
    // than the answer, and its own answer changes nothing for the caller's result.
    m_powerOffConfirmed = m_module.ModulePowerOff();
    return timingSent;
}

bool PicEngine::StepBy(std::uint16_t count)
{
    if (count == 0) {
        return true;
    }
    switch (m_device.DeviceFamily) {
    case DeviceFamily::k16C5x:
        return m_module.ModuleAdvance12Bit(static_cast<std::uint16_t>(count - 1));
    case DeviceFamily::kEprom14Bit:
    case DeviceFamily::kFlash14Bit:
    case DeviceFamily::k12C508:
        break;
    default:
        return true;
    }
    if (m_host.ParallelSelected()) {
        // Pieces of at most 1024 locations; the last piece carries the rest.
        std::uint16_t rest = count - 1;
        while (rest > kMaxAdvanceArgument) {
            if (!m_module.ModuleAdvanceAddress(kMaxAdvanceArgument - 1)) {
                return false;
            }
            rest -= kMaxAdvanceArgument;
        }
        return m_module.ModuleAdvanceAddress(rest);
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        if (!m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress)) {
            return false;
        }
        // One exchange per location is slow on a high address: keep the windows alive.
        m_host.ProcessEvents();
    }
    return true;
}

bool PicEngine::PicGoAddress(std::uint16_t count)
{
    return StepBy(count);
}

bool PicEngine::ParseRange(const QString &startText, const QString &endText, std::uint16_t &start,
                           std::uint16_t &end)
{
    const auto first = ParseHexText(startText);
    if (!first) {
        return false;
    }
    start = static_cast<std::uint16_t>(*first);
    const auto last = ParseHexText(endText);
    if (!last) {
        return false;
    }
    end = static_cast<std::uint16_t>(*last);
    return true;
}

bool PicEngine::ReadProgRange(std::uint16_t &start, std::uint16_t &end)
{
    if (!ParseRange(m_host.ProgStartText(), m_host.ProgEndText(), start, end)) {
        return false;
    }
    if (m_programEndLimit && end > *m_programEndLimit) {
        end = *m_programEndLimit;
    }
    return true;
}

bool PicEngine::ReadDataRange(std::uint16_t &start, std::uint16_t &end)
{
    return ParseRange(m_host.DataStartText(), m_host.DataEndText(), start, end);
}

bool PicEngine::PicGoStartAddress(std::uint16_t &start, std::uint16_t &end)
{
    return ReadProgRange(start, end) && StepBy(start);
}

bool PicEngine::PicGoDataStartAddress(std::uint16_t &start, std::uint16_t &end)
{
    return ReadDataRange(start, end) && StepToDataAddress(start);
}

bool PicEngine::StepToDataAddress(std::uint16_t start)
{
    // Data memory has its own counter on every family: single increments reach it, without
    // a pause for the windows in between.
    const bool parallel = m_host.ParallelSelected();
    for (std::uint16_t i = 0; i < start; ++i) {
        const bool stepped = parallel ? m_module.ModuleIncrementAddress()
                                      : m_module.ModuleSerialPicCommand(PicCode::kIncrementAddress);
        if (!stepped) {
            return false;
        }
    }
    return true;
}

void PicEngine::Delay(int ms)
{
    m_host.Delay(ms);
}

bool PicEngine::SerialReadWord(std::uint8_t readCommand, std::uint16_t &word)
{
    if (!m_module.ModuleSerialPicCommand(readCommand)) {
        return false;
    }
    // The chip needs a moment between the read command and shifting the word out.
    Delay(kReadSettleMs);
    return m_module.ModuleSerialReadData(word);
}

bool PicEngine::LoadAndPulse(std::uint16_t data)
{
    return m_module.ModuleSerialPicCommand(PicCode::kLoadProgramData) &&
           m_module.ModuleSerialLoadData(data) && m_module.ModuleProgramPulse();
}

bool PicEngine::SerialFlashCycle(std::uint16_t data, std::uint16_t &readBack)
{
    return m_module.ModuleSerialPicCommand(PicCode::kLoadProgramData) &&
           m_module.ModuleSerialLoadData(data) &&
           m_module.ModuleSerialPicCommand(PicCode::kBeginProgramming) &&
           SerialReadWord(PicCode::kReadProgramData, readBack);
}

PicEngine::PulseOutcome PicEngine::PulseProgramWord(std::uint16_t data, std::uint16_t expected)
{
    for (int pulses = 1; pulses <= kMaxProgramPulses; ++pulses) {
        std::uint16_t readBack = 0;
        if (!LoadAndPulse(data) || !SerialReadWord(PicCode::kReadProgramData, readBack)) {
            return PulseOutcome::Failed;
        }
        if (readBack != expected) {
            NoteReadBack(expected, readBack);
            continue;
        }
        m_readBackDifference.reset();
        // The location took after this many pulses; three times as many again make it hold
        // over the chip's life.
        if (!m_module.ModuleSerialPicCommand(PicCode::kLoadProgramData) ||
            !m_module.ModuleSerialLoadData(data)) {
            return PulseOutcome::Failed;
        }
        for (int extra = 0; extra < kOverprogramFactor * pulses; ++extra) {
            if (!m_module.ModuleProgramPulse()) {
                return PulseOutcome::Failed;
            }
        }
        return PulseOutcome::Matched;
    }
    return PulseOutcome::NoMatch;
}
