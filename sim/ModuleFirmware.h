#pragma once

#include "ChipSession.h"
#include "SimChip.h"
#include "SimSettings.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

namespace tolm::sim {

// What the module's programming mode is.
enum class ModuleMode {
    Off,       // target unpowered
    Mode16C5x, // after 0x08: the 12-bit commands 0x0A, 0x0D, 0x0E, 0x12, 0x13
    Serial,    // after 0x09: the serial PIC commands 0x00 to 0x04
    Parallel,  // after 0x09 and PIC command 10: also the combined commands 0x0B, 0x0C, 0x0F-0x11,
               // 0x14-0x16
};

// A snapshot of the module, for tests.
struct ModuleState
{
    bool powered = false;
    ModuleMode mode = ModuleMode::Off;
    bool parity = false;     // transfer words in the parity form (0x17 until 0x07)
    uint16_t timingWord = 0; // last pair of 0x05
    uint8_t timingCount = 0;
    uint8_t identifyByte = 0xAA; // answer to 0x06
    uint16_t address = 0;        // the chip's address counter
};

// The module's answer to one complete command, before faults and wire timing are applied.
struct CommandResult
{
    std::vector<uint8_t> reply;        // reply characters (or the raw byte of 0x06)
    bool acknowledged = true;          // false: the final byte is kNotAcknowledged instead of 0x20
    std::chrono::microseconds busy{0}; // time the chip needed (pulses, programming cycles)
};

constexpr uint8_t kAcknowledge = 0x20;
constexpr uint8_t kNotAcknowledged = 0x3F; // '?': a word that would not program, a bad argument

// The module's command interpreter: decodes the arguments of the 24 commands, drives the chip
// and builds the reply. It does not see bytes arriving or leaving; ModuleSimulator does that.
class ModuleFirmware
{
public:
    ModuleFirmware(SimChip &chip, FaultLog &log);

    // Number of argument characters after the command byte; -1 for an unknown command.
    static int ArgumentLength(uint8_t command);

    CommandResult Execute(uint8_t command, std::span<const uint8_t> args);

    ModuleState State() const;
    void SetIdentifyByte(uint8_t value) { m_identifyByte = value; }
    const ChipSession &Session() const { return m_session; }

    // What a command needs from the module's state before it can reach the chip.
    enum class Need { Nothing, SerialMode, ParallelMode, Mode16C5x };

private:
    bool CheckNeed(Need need);
    void PowerOn(ModuleMode mode);
    void PicCommand(int code);
    uint16_t TransferWord(uint16_t value) const;
    uint16_t ReceiveTransfer(uint16_t t);
    void CheckTransferForm();
    CommandResult Dispatch(uint8_t command, uint32_t argument);

    SimChip &m_chip;
    FaultLog &m_log;
    ChipSession m_session;
    bool m_powered = false;
    ModuleMode m_mode = ModuleMode::Off;
    bool m_parity = false;
    uint16_t m_timingWord = 0;
    uint8_t m_timingCount = 0;
    uint8_t m_identifyByte = 0xAA;
};

} // namespace tolm::sim
