#include "ChipSession.h"

#include <algorithm>
#include <string>

namespace tolm::sim {

namespace {

constexpr uint16_t kConfigSpace = 0x2000;
constexpr uint16_t kConfigWordAddress = 0x2007;
constexpr uint16_t kAllOnes14 = 0x3FFF;

enum PicCode {
    kLoadConfiguration = 0,
    kUnprotectStep1 = 1,
    kLoadProgram = 2,
    kLoadData = 3,
    kReadProgram = 4,
    kReadData = 5,
    kIncrementAddress = 6,
    kUnprotectStep2 = 7,
    kBeginProgramming = 8,
    kBulkEraseProgram = 9,
    kBulkEraseData = 11,
};

} // namespace

void ChipSession::Begin()
{
    const ChipDescription &d = m_chip.Description();
    m_address = d.core == ChipCore::Core14 ? 0 : d.configAddress;
    m_latch = d.WordMask();
    m_latchForData = false;
    m_loadIsConfiguration = false;
    m_configLoadedAllOnes = false;
    m_pending = Pending::None;
    m_unprotectStage = 0;
}

bool ChipSession::InConfigSpace() const
{
    return m_chip.Description().core == ChipCore::Core14 && m_address >= kConfigSpace;
}

void ChipSession::Increment()
{
    if (m_chip.Description().core != ChipCore::Core14) {
        m_address = (m_address + 1) & 0x0FFF; // from the configuration word FFF to 000
    } else if (m_address < kConfigSpace) {
        m_address = (m_address + 1) & 0x1FFF;
    } else {
        // Configuration space is left only by powering down.
        m_address = kConfigSpace | ((m_address + 1) & 0x1FFF);
    }
}

void ChipSession::Advance(uint32_t locations)
{
    for (uint32_t i = 0; i < locations; ++i) {
        Increment();
    }
}

void ChipSession::AbandonPendingTransfer(const char *what)
{
    if (m_pending != Pending::None) {
        m_log.Record(std::string(what) + " while the data transfer of the previous PIC command"
                                         " is still expected");
        m_pending = Pending::None;
    }
}

void ChipSession::PicCommand(int code)
{
    AbandonPendingTransfer(("PIC command " + std::to_string(code)).c_str());
    bool handled = false;
    StepUnprotectSequence(code, handled);
    if (handled) {
        return;
    }
    switch (code) {
    case kLoadConfiguration:
        if (m_chip.Description().core == ChipCore::Core14) {
            m_address = kConfigSpace;
        }
        StartLoad(false, true);
        break;
    case kLoadProgram:
        StartLoad(false, false);
        break;
    case kLoadData:
        StartLoad(true, false);
        break;
    case kReadProgram:
        m_pending = Pending::ReadProgram;
        break;
    case kReadData:
        m_pending = Pending::ReadData;
        break;
    case kIncrementAddress:
        Increment();
        break;
    case kBeginProgramming:
        ProgramLatch();
        break;
    case kBulkEraseProgram:
        m_chip.BulkEraseProgram(InConfigSpace());
        break;
    case kBulkEraseData:
        m_chip.BulkEraseData();
        break;
    default:
        break; // End Programming and the codes without a chip function change nothing
    }
}

// The code-protect disable sequence of the flash parts: with the counter at 2007 after Load
// Configuration of 3FFF, the commands 1, 7, 8 erase the whole chip; 1, 7 then close it.
void ChipSession::StepUnprotectSequence(int code, bool &handled)
{
    const int stage = m_unprotectStage;
    m_unprotectStage = 0;
    if (code == kUnprotectStep1) {
        m_unprotectStage = stage == 3 ? 4 : 1;
    } else if (code == kUnprotectStep2) {
        m_unprotectStage = stage == 1 ? 2 : 0;
    } else if (code == kBeginProgramming && stage == 2 &&
               m_chip.Description().memory == ChipMemory::Flash) {
        if (m_address == kConfigWordAddress && m_configLoadedAllOnes) {
            m_chip.EraseWholeChip();
        }
        m_unprotectStage = 3;
        handled = true;
    }
}

void ChipSession::StartLoad(bool dataMemory, bool configuration)
{
    m_pending = Pending::Load;
    m_latchForData = dataMemory;
    m_loadIsConfiguration = configuration;
}

void ChipSession::LoadValue(uint16_t value)
{
    if (m_pending != Pending::Load) {
        m_log.Record("data word sent without a Load command before it");
        m_pending = Pending::None;
        return;
    }
    m_pending = Pending::None;
    m_latch = m_latchForData ? (value & 0xFF) : (value & m_chip.Description().WordMask());
    if (m_loadIsConfiguration) {
        m_configLoadedAllOnes = (value & kAllOnes14) == kAllOnes14;
    }
}

uint16_t ChipSession::ReadValue()
{
    const Pending pending = m_pending;
    m_pending = Pending::None;
    if (pending == Pending::ReadProgram) {
        return m_chip.ReadWord(m_address);
    }
    if (pending == Pending::ReadData) {
        return m_chip.ReadData(m_address);
    }
    m_log.Record("data read without a Read Data command before it");
    return 0;
}

void ChipSession::LoadConfiguration(uint16_t word)
{
    AbandonPendingTransfer("Load Configuration");
    if (m_chip.Description().core == ChipCore::Core14) {
        m_address = kConfigSpace;
    }
    m_latch = word & m_chip.Description().WordMask();
    m_latchForData = false;
    m_configLoadedAllOnes = (word & kAllOnes14) == kAllOnes14;
}

uint16_t ChipSession::ReadProgramWord()
{
    AbandonPendingTransfer("program word read");
    return m_chip.ReadWord(m_address);
}

uint16_t ChipSession::ReadDataWord()
{
    AbandonPendingTransfer("data word read");
    return m_chip.ReadData(m_address);
}

void ChipSession::ProgramLatch()
{
    if (m_latchForData) {
        m_chip.ProgramDataCycle(m_address, static_cast<uint8_t>(m_latch));
    } else {
        m_chip.ProgramCycle(m_address, m_latch);
    }
}

void ChipSession::Pulse()
{
    AbandonPendingTransfer("programming pulse");
    ProgramLatch();
}

bool ChipSession::ProgramLocationWithPulses(uint16_t address, uint16_t word, int maxPulses)
{
    const int attempts = std::max(1, maxPulses);
    for (int n = 1; n <= attempts; ++n) {
        m_chip.ProgramCycle(address, word);
        if (m_chip.HoldsWord(address, word)) {
            for (int extra = 0; extra < 3 * n; ++extra) {
                m_chip.ProgramCycle(address, word);
            }
            return true;
        }
    }
    return false;
}

bool ChipSession::ProgramWithPulses(uint16_t word, int maxPulses)
{
    AbandonPendingTransfer("word programming");
    return ProgramLocationWithPulses(m_address, word, maxPulses);
}

bool ChipSession::ProgramConfigWithPulses(uint16_t word, int maxPulses)
{
    AbandonPendingTransfer("configuration programming");
    return ProgramLocationWithPulses(m_chip.Description().configAddress, word, maxPulses);
}

bool ChipSession::ProgramOneCycle(uint16_t word)
{
    AbandonPendingTransfer("word programming");
    m_chip.ProgramCycle(m_address, word);
    return m_chip.HoldsWord(m_address, word);
}

bool ChipSession::ProgramDataByte(uint16_t value)
{
    AbandonPendingTransfer("data programming");
    m_chip.ProgramDataCycle(m_address, static_cast<uint8_t>(value));
    return m_chip.HoldsData(m_address, value);
}

} // namespace tolm::sim
