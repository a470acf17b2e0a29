#pragma once

#include <cstdint>

// The PIC's own serial-programming command codes, which the module passes to the chip
// (ModuleSerialPicCommand, ModuleParallelPicCommand), and the module's timing pairs.
namespace PicCode {
constexpr std::uint8_t kLoadConfiguration = 0; // the counter moves to 2000
constexpr std::uint8_t kDisableProtectStep1 = 1;
constexpr std::uint8_t kLoadProgramData = 2;
constexpr std::uint8_t kLoadDataMemory = 3;
constexpr std::uint8_t kReadProgramData = 4;
constexpr std::uint8_t kReadDataMemory = 5;
constexpr std::uint8_t kIncrementAddress = 6;
constexpr std::uint8_t kDisableProtectStep2 = 7;
constexpr std::uint8_t kBeginProgramming = 8; // on flash parts: erase and program cycle
constexpr std::uint8_t kBulkEraseProgram = 9;
// Not a chip command: the module takes it after its serial-mode power-on as the switch to
// its own combined (Parallel method) commands.
constexpr std::uint8_t kParallelModeSwitch = 10;
constexpr std::uint8_t kBulkEraseData = 11;
} // namespace PicCode

// Timing word and pulse count of ModuleSetPulseTiming. The module holds the idle pair while
// it powers a chip up or down; the EPROM pairs give 12-bit parts up to 100 pulses and 14-bit
// EPROM parts 25; flash parts time one erase/program cycle.
namespace PulseTiming {
constexpr std::uint16_t kFlashWord = 0xF40C;
constexpr std::uint8_t kFlashCount = 1;
constexpr std::uint16_t kEpromWord = 0x0C01;
constexpr std::uint8_t kTwelveBitCount = 100;
constexpr std::uint8_t kEpromCount = 25;
} // namespace PulseTiming

// Pulse-and-verify programming of EPROM locations: at most this many single pulses, then
// three times as many again once the location reads back right (overprogramming).
constexpr int kMaxProgramPulses = 25;
constexpr int kOverprogramFactor = 3;

// The configuration word sits seven locations after Load Configuration's 2000.
constexpr int kConfigOffsetFromLoadConfig = 7;

// Milliseconds: before a Serial-method read of a word, and after an erase step.
constexpr int kReadSettleMs = 1;
constexpr int kEraseSettleMs = 20;
