#include "ChipSession.h"

#include <algorithm>
#include <cstdio>
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
    kEndProgramming = 0x17, // 16F87XA: also sets the write latches to 1s
    kChipErase = 0x1F,      // 16F87XA: the only erase of a protected part
};

constexpr int kHighestCodeTheModuleSends = 15;

} // namespace

void ChipSession::Begin()
{
    const ChipDescription &d = m_chip.Description();
    m_address = d.core == ChipCore::Core14 ? 0 : d.configAddress;
    m_latches.Reset(d.writeLatchWords, d.WordMask());
    m_dataLatch = 0xFF;
    m_latchForData = false;
    m_setUpErase = SetUpErase::None;
    m_loadIsConfiguration = false;
    m_configLoadedAllOnes = false;
    m_pending = Pending::None;
    m_unprotectStage = 0;
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
    ++m_codeCounts[static_cast<size_t>(code) % m_codeCounts.size()];
    AbandonPendingTransfer(("PIC command " + std::to_string(code)).c_str());
    const SetUpErase setUp = m_setUpErase;
    m_setUpErase = SetUpErase::None;
    if (code > kHighestCodeTheModuleSends) {
        CommandAbove15(code);
        return;
    }
    if (setUp != SetUpErase::None && code == kBeginProgramming) {
        BulkErase(setUp);
        return;
    }
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
    case kBulkEraseData: {
        const SetUpErase which = code == kBulkEraseProgram ? SetUpErase::Program : SetUpErase::Data;
        if (m_chip.Behaviour().bulkEraseWaitsForBegin) {
            m_setUpErase = which; // the 16F87XA erases at the Begin Erase/Programming after it
        } else {
            BulkErase(which);
        }
        break;
    }
    default:
        break; // End Programming and the codes without a chip function change nothing
    }
}

long ChipSession::PicCommandCount(int code) const
{
    return code >= 0 && code < static_cast<int>(m_codeCounts.size())
               ? m_codeCounts[static_cast<size_t>(code)]
               : 0;
}

long ChipSession::PicCommandsAbove15() const
{
    long total = 0;
    for (size_t code = kHighestCodeTheModuleSends + 1; code < m_codeCounts.size(); ++code) {
        total += m_codeCounts[code];
    }
    return total;
}

void ChipSession::BulkErase(SetUpErase which)
{
    if (which == SetUpErase::Program) {
        m_chip.BulkEraseProgram(m_address);
    } else {
        m_chip.BulkEraseData();
    }
}

// Only the parts whose programming guide defines these codes act on them.
void ChipSession::CommandAbove15(int code)
{
    char text[96];
    std::snprintf(text, sizeof text,
                  "PIC command %02X reached the chip: the module can only send codes 0 to 15",
                  static_cast<unsigned>(code));
    m_log.Record(text);
    if (!m_chip.Behaviour().protectionNeedsChipErase) {
        return;
    }
    if (code == kChipErase) {
        m_chip.ChipErase();
    } else if (code == kEndProgramming) {
        m_latches.Clear();
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
    } else if (code == kBeginProgramming && stage == 2 && m_chip.Behaviour().unprotectSequence) {
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
    if (m_latchForData) {
        m_dataLatch = static_cast<uint8_t>(value & 0xFF);
    } else {
        m_latches.Load(m_address, value & m_chip.Description().WordMask());
    }
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
    m_latches.Load(m_address, word & m_chip.Description().WordMask());
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
        m_chip.ProgramDataCycle(m_address, m_dataLatch);
        return;
    }
    if (m_chip.Behaviour().blockEraseWrite) {
        ProgramBlockLatches();
    } else if (m_latches.Size() > 1 && m_address < kConfigSpace) {
        // Every latch of the block goes out; unloaded ones still hold 3FFF, which programs
        // nothing, and all return to 3FFF afterwards. So one-word and multi-word writes both
        // work. In configuration space only the addressed word is written.
        m_chip.ProgramBlock(m_address, m_latches.All());
        m_latches.Clear();
    } else {
        m_chip.ProgramCycle(m_address, m_latches.At(m_address));
    }
}

// 16F87XA: Begin Erase/Programming ignores the counter's low three bits and erases and writes
// the whole aligned block from the eight latches, which keep their contents afterwards. Eight
// loads must therefore come before every one; a block written with fewer takes whatever the
// other latches still hold. The configuration word is written only when the counter is on it.
void ChipSession::ProgramBlockLatches()
{
    if (m_address == m_chip.Description().configAddress) {
        m_chip.ProgramCycle(m_address, m_latches.At(m_address));
    } else {
        const int loaded = m_latches.LoadedCount();
        if (m_address < kConfigSpace && loaded < m_latches.Size()) {
            m_log.Record("Begin Erase/Programming after " + std::to_string(loaded) + " of the " +
                         std::to_string(m_latches.Size()) +
                         " write latches were loaded: the block takes what the others still hold");
        }
        m_chip.ProgramBlock(m_address, m_latches.All());
    }
    m_latches.MarkWritten();
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
    if (m_latches.Size() > 1) {
        // Through the latches, as a Load Data and Begin Programming would go.
        m_latches.Load(m_address, word & m_chip.Description().WordMask());
        m_latchForData = false;
        ProgramLatch();
    } else {
        m_chip.ProgramCycle(m_address, word);
    }
    return m_chip.HoldsWord(m_address, word);
}

bool ChipSession::ProgramDataByte(uint16_t value)
{
    AbandonPendingTransfer("data programming");
    m_chip.ProgramDataCycle(m_address, static_cast<uint8_t>(value));
    return m_chip.HoldsData(m_address, value);
}

} // namespace tolm::sim
