#pragma once

#include <cstdint>

// The command bytes of the programmer module: raw byte values, sent first in every exchange.
enum class ModuleCommand : std::uint8_t {
    ParallelPicCommand = 0x00,
    SerialPicCommand = 0x01,
    SerialReadData = 0x02,
    SerialLoadData = 0x03,
    ProgramPulse = 0x04,
    SetPulseTiming = 0x05,
    Identify = 0x06,
    PowerOff = 0x07,
    PowerOn16C5x = 0x08,
    PowerOnSerialMode = 0x09,
    Read12BitWord = 0x0A,
    ReadProgWord = 0x0B,
    ReadDataWord = 0x0C,
    Write12BitWord = 0x0D,
    Write12BitConfig = 0x0E,
    WriteWordEprom = 0x0F,
    WriteWordFlash = 0x10,
    WriteDataByte = 0x11,
    Increment12Bit = 0x12,
    Advance12Bit = 0x13,
    IncrementAddress = 0x14,
    AdvanceAddress = 0x15,
    LoadConfig = 0x16,
    ParityMode = 0x17,
};
