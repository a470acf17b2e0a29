#include "ModuleFirmware.h"

#include "WireCodec.h"

#include <array>
#include <cstdio>
#include <string>

namespace tolm::sim {

namespace {

using namespace std::chrono_literals;

constexpr auto kPulseTime = 100us;
constexpr int kParallelModeCode = 10;

enum class Reply { None, Raw, Transfer16, Word14, Word12 };

struct CommandInfo
{
    int argLength;
    wire::Decoded (*decode)(std::span<const uint8_t>);
    ModuleFirmware::Need need;
    Reply reply;
    bool programs; // answers with an acknowledge only when the location then holds the word
};

constexpr auto kNothing = ModuleFirmware::Need::Nothing;
constexpr auto kSerial = ModuleFirmware::Need::SerialMode;
constexpr auto kParallel = ModuleFirmware::Need::ParallelMode;
constexpr auto k16C5x = ModuleFirmware::Need::Mode16C5x;

constexpr std::array<CommandInfo, 0x18> kCommands = {{
    {1, wire::DecodeOneDigit, kParallel, Reply::None, false},  // 00 parallel PIC command
    {1, wire::DecodeOneDigit, kSerial, Reply::None, false},    // 01 serial PIC command
    {0, nullptr, kSerial, Reply::Transfer16, false},           // 02 serial read data
    {6, wire::DecodeTransfer16, kSerial, Reply::None, false},  // 03 serial load data
    {0, nullptr, kSerial, Reply::None, false},                 // 04 programming pulse
    {6, wire::DecodeTimingPair, kNothing, Reply::None, false}, // 05 pulse timing
    {0, nullptr, kNothing, Reply::Raw, false},                 // 06 identify
    {0, nullptr, kNothing, Reply::None, false},                // 07 power off
    {0, nullptr, kNothing, Reply::None, false},                // 08 power on, 16C5x
    {0, nullptr, kNothing, Reply::None, false},                // 09 power on, serial mode
    {0, nullptr, k16C5x, Reply::Word12, false},                // 0A read 12-bit word
    {0, nullptr, kParallel, Reply::Word14, false},             // 0B read program word
    {0, nullptr, kParallel, Reply::Word14, false},             // 0C read data word
    {3, wire::Decode12BitA, k16C5x, Reply::None, true},        // 0D write 12-bit word
    {3, wire::Decode12BitA, k16C5x, Reply::None, true},        // 0E write 12-bit config
    {6, wire::DecodeWord14, kParallel, Reply::None, true},     // 0F write word, EPROM
    {6, wire::DecodeWord14, kParallel, Reply::None, true},     // 10 write word, flash
    {6, wire::DecodeWord14, kParallel, Reply::None, true},     // 11 write data byte
    {0, nullptr, k16C5x, Reply::None, false},                  // 12 increment, 12-bit
    {3, wire::Decode12BitB, k16C5x, Reply::None, false},       // 13 advance, 12-bit
    {0, nullptr, kParallel, Reply::None, false},               // 14 increment address
    {3, wire::Decode12BitB, kParallel, Reply::None, false},    // 15 advance address
    {6, wire::DecodeWord14, kParallel, Reply::None, false},    // 16 load configuration
    {0, nullptr, kNothing, Reply::None, false},                // 17 parity mode
}};

std::vector<uint8_t> EncodeReply(Reply kind, uint16_t value)
{
    switch (kind) {
    case Reply::Raw:
        return {static_cast<uint8_t>(value)};
    case Reply::Transfer16:
        return wire::EncodeReply16(value);
    case Reply::Word14:
        return wire::EncodeReply14(value);
    case Reply::Word12:
        return wire::Encode12BitB(value);
    case Reply::None:
        break;
    }
    return {};
}

std::string Hex2(uint8_t value)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", value);
    return text;
}

} // namespace

ModuleFirmware::ModuleFirmware(SimChip &chip, FaultLog &log)
    : m_chip(chip), m_log(log), m_session(chip, log)
{}

int ModuleFirmware::ArgumentLength(uint8_t command)
{
    return command < kCommands.size() ? kCommands[command].argLength : -1;
}

ModuleState ModuleFirmware::State() const
{
    return {m_powered,     m_mode,         m_parity,           m_timingWord,
            m_timingCount, m_identifyByte, m_session.Address()};
}

CommandResult ModuleFirmware::Execute(uint8_t command, std::span<const uint8_t> args)
{
    if (command >= kCommands.size()) {
        return {{}, false, {}};
    }
    const CommandInfo &info = kCommands[command];
    uint32_t argument = 0;
    if (info.decode != nullptr) {
        const wire::Decoded decoded = info.decode(args);
        if (!decoded.Ok()) {
            m_log.Record("argument of command " + Hex2(command) + ": " + decoded.fault);
            return {{}, false, {}};
        }
        argument = decoded.value;
    }
    if (!CheckNeed(info.need)) {
        // An unpowered chip does nothing: reads deliver zeros, writes never take.
        return {EncodeReply(info.reply, 0), !info.programs, {}};
    }
    const long pulsesBefore = m_chip.TotalPulses();
    const long long cycleUsBefore = m_chip.CycleTimeUs();
    CommandResult result = Dispatch(command, argument);
    result.busy = kPulseTime * (m_chip.TotalPulses() - pulsesBefore) +
                  std::chrono::microseconds(m_chip.CycleTimeUs() - cycleUsBefore);
    return result;
}

bool ModuleFirmware::CheckNeed(Need need)
{
    if (need == Need::Nothing) {
        return true;
    }
    if (!m_powered) {
        m_log.Record("command to an unpowered target");
        return false;
    }
    // A command in the wrong programming mode is recorded and still carried out.
    if (need == Need::SerialMode && m_mode != ModuleMode::Serial &&
        m_mode != ModuleMode::Parallel) {
        m_log.Record("serial PIC command outside serial programming mode (0x09)");
    } else if (need == Need::ParallelMode && m_mode != ModuleMode::Parallel) {
        m_log.Record("Parallel-method command before PIC command 10 switched it on");
    } else if (need == Need::Mode16C5x && m_mode != ModuleMode::Mode16C5x) {
        m_log.Record("12-bit command outside 16C5x programming mode (0x08)");
    }
    return true;
}

void ModuleFirmware::PowerOn(ModuleMode mode)
{
    const bool chipIs16C5x = m_chip.Description().core == ChipCore::Core12Module;
    if (chipIs16C5x != (mode == ModuleMode::Mode16C5x)) {
        m_log.Record(chipIs16C5x ? "serial-mode power-on (0x09) for a 16C5x part"
                                 : "16C5x power-on (0x08) for a part that needs 0x09");
    }
    m_powered = true;
    m_mode = mode;
    m_session.Begin();
}

void ModuleFirmware::PicCommand(int code)
{
    if (code == kParallelModeCode && m_mode == ModuleMode::Serial) {
        m_mode = ModuleMode::Parallel;
    }
    m_session.PicCommand(code);
}

void ModuleFirmware::CheckTransferForm()
{
    const bool chipNeedsParity = m_chip.Description().needsParity;
    if (m_parity != chipNeedsParity) {
        m_log.Record(chipNeedsParity
                         ? "transfer word in the normal form to a part that needs the parity form"
                         : "transfer word in the parity form to a part that takes the normal form");
    }
}

uint16_t ModuleFirmware::TransferWord(uint16_t value) const
{
    return m_parity ? wire::ParityTransfer(value) : wire::NormalTransfer(value);
}

uint16_t ModuleFirmware::ReceiveTransfer(uint16_t t)
{
    CheckTransferForm();
    if (m_parity) {
        if (!wire::ParityBitsValid(t)) {
            m_log.Record("parity bits of the transfer word are wrong");
        }
        return wire::ParityTransferValue(t);
    }
    if ((t & 1) != 0) {
        m_log.Record("start bit of the transfer word is set");
    }
    return wire::NormalTransferValue(t);
}

CommandResult ModuleFirmware::Dispatch(uint8_t command, uint32_t argument)
{
    const auto word = static_cast<uint16_t>(argument);
    CommandResult result;
    switch (command) {
    case 0x00:
    case 0x01:
        PicCommand(static_cast<int>(argument));
        break;
    case 0x02:
        CheckTransferForm();
        result.reply = wire::EncodeReply16(TransferWord(m_session.ReadValue()));
        break;
    case 0x03:
        m_session.LoadValue(ReceiveTransfer(word));
        break;
    case 0x04:
        m_session.Pulse();
        break;
    case 0x05: {
        const wire::TimingPair pair = wire::SplitTimingPair(argument);
        m_timingWord = pair.word;
        m_timingCount = pair.count;
        break;
    }
    case 0x06:
        result.reply = {m_identifyByte};
        break;
    case 0x07:
        m_powered = false;
        m_mode = ModuleMode::Off;
        m_parity = false;
        break;
    case 0x08:
        PowerOn(ModuleMode::Mode16C5x);
        break;
    case 0x09:
        PowerOn(ModuleMode::Serial);
        break;
    case 0x0A:
        result.reply = wire::Encode12BitB(m_session.ReadProgramWord());
        m_session.Increment();
        break;
    case 0x0B:
        result.reply = wire::EncodeReply14(m_session.ReadProgramWord());
        break;
    case 0x0C:
        result.reply = wire::EncodeReply14(m_session.ReadDataWord());
        break;
    case 0x0D:
    case 0x0F:
        result.acknowledged = m_session.ProgramWithPulses(word, m_timingCount);
        break;
    case 0x0E:
        result.acknowledged = m_session.ProgramConfigWithPulses(word, m_timingCount);
        break;
    case 0x10:
        result.acknowledged = m_session.ProgramOneCycle(word);
        break;
    case 0x11:
        result.acknowledged = m_session.ProgramDataByte(word);
        break;
    case 0x12:
    case 0x14:
        m_session.Increment();
        break;
    case 0x13:
    case 0x15:
        m_session.Advance(argument + 1);
        break;
    case 0x16:
        m_session.LoadConfiguration(word);
        break;
    case 0x17:
        m_parity = true;
        break;
    default:
        break;
    }
    return result;
}

} // namespace tolm::sim
