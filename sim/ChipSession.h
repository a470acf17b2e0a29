#pragma once

#include "SimChip.h"
#include "SimSettings.h"
#include "WriteLatches.h"

#include <array>
#include <cstdint>

namespace tolm::sim {

// The chip's side of one power cycle in programming mode: its address counter, its write
// latches, the PIC serial-programming command codes and the transfer each Load or Read command
// expects. The module's combined commands (12-bit and Parallel ones) are built on the same
// state. It also counts every PIC command code that reaches the chip, over all power cycles.
class ChipSession
{
public:
    ChipSession(SimChip &chip, FaultLog &log) : m_chip(chip), m_log(log) {}

    // Power-on in programming mode: 14-bit parts start at 0000, 12-bit parts at their
    // configuration word.
    void Begin();
    uint16_t Address() const { return m_address; }
    void Increment();
    void Advance(uint32_t locations);

    // One PIC serial-programming command. Codes 0, 2 and 3 expect a data word next
    // (LoadValue), codes 4 and 5 a read (ReadValue). The module's argument is one hexadecimal
    // digit, so it can only pass codes 0..15; a code above 15 (End Programming 0x17, Chip Erase
    // 0x1F on the parts that have them) is carried out and recorded as a protocol fault, so a
    // test can show that none ever arrives.
    void PicCommand(int code);
    // How many times each 6-bit command code reached the chip; and all codes above 15.
    long PicCommandCount(int code) const;
    long PicCommandsAbove15() const;
    void LoadValue(uint16_t value);
    uint16_t ReadValue();

    // The module's combined commands.
    void LoadConfiguration(uint16_t word); // 0x16
    uint16_t ReadProgramWord();            // 0x0B, 0x0A
    uint16_t ReadDataWord();               // 0x0C
    void Pulse();                          // 0x04: program the latch once
    // Pulses with read-back until the location holds the word (at most maxPulses), then three
    // times as many overprogramming pulses; true when the location holds the word.
    bool ProgramWithPulses(uint16_t word, int maxPulses);       // 0x0D, 0x0F
    bool ProgramConfigWithPulses(uint16_t word, int maxPulses); // 0x0E
    bool ProgramOneCycle(uint16_t word);                        // 0x10
    bool ProgramDataByte(uint16_t value);                       // 0x11

private:
    enum class Pending { None, Load, ReadProgram, ReadData };
    enum class SetUpErase { None, Program, Data };

    void AbandonPendingTransfer(const char *what);
    void StartLoad(bool dataMemory, bool configuration);
    void BulkErase(SetUpErase which);
    void CommandAbove15(int code);
    void ProgramLatch();
    void ProgramBlockLatches();
    void StepUnprotectSequence(int code, bool &handled);
    bool ProgramLocationWithPulses(uint16_t address, uint16_t word, int maxPulses);

    SimChip &m_chip;
    FaultLog &m_log;
    uint16_t m_address = 0;
    WriteLatches m_latches;
    uint8_t m_dataLatch = 0xFF;
    bool m_latchForData = false;
    SetUpErase m_setUpErase = SetUpErase::None;
    std::array<long, 64> m_codeCounts{};
    bool m_loadIsConfiguration = false;
    bool m_configLoadedAllOnes = false;
    Pending m_pending = Pending::None;
    int m_unprotectStage = 0;
};

} // namespace tolm::sim
