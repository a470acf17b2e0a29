#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The module's character encodings, written from the wire description for the simulator's own
// use. Arguments arrive as ASCII upper-case hexadecimal digits in a fixed order per encoding,
// some with "0" filler characters; replies go out the same way.
namespace tolm::sim::wire {

// A decoded argument: the value, or the first encoding fault found in the characters.
struct Decoded
{
    uint32_t value = 0;
    std::string fault; // empty when the characters were well formed
    bool Ok() const { return fault.empty(); }
};

// The host's digit table is "0123456789ABCDEF": lower-case letters are not part of it.
std::optional<int> DigitValue(uint8_t character);
uint8_t DigitChar(int value);

Decoded DecodeOneDigit(std::span<const uint8_t> chars);   // commands 0x00, 0x01
Decoded Decode12BitA(std::span<const uint8_t> chars);     // N1 N0 N2: 0x0D, 0x0E
Decoded Decode12BitB(std::span<const uint8_t> chars);     // N0 N2 N1: 0x13, 0x15
Decoded DecodeWord14(std::span<const uint8_t> chars);     // 0x0F, 0x10, 0x11, 0x16
Decoded DecodeTransfer16(std::span<const uint8_t> chars); // 0x03: the raw transfer word t

struct TimingPair
{
    uint16_t word = 0;
    uint8_t count = 0;
};
// w.N0 c.N1 w.N1 c.N0 w.N2 w.N3: 0x05. value holds (count << 16) | word.
Decoded DecodeTimingPair(std::span<const uint8_t> chars);
TimingPair SplitTimingPair(uint32_t value);

std::vector<uint8_t> EncodeReply14(uint16_t value); // bits 0-3, 4-5, 6-9, 10-13: 0x0B, 0x0C
std::vector<uint8_t> EncodeReply16(uint16_t t);     // N0 N1 N2 N3 of t: 0x02
std::vector<uint8_t> Encode12BitB(uint16_t value);  // N0 N2 N1: 0x0A

// The PIC's 16-bit data transfer word for a 14-bit value.
uint16_t NormalTransfer(uint16_t value); // start bit, 14 data bits, stop bit
uint16_t ParityTransfer(uint16_t value); // value << 2, !odd parity, even parity
uint16_t NormalTransferValue(uint16_t t);
uint16_t ParityTransferValue(uint16_t t);
bool ParityBitsValid(uint16_t t);

} // namespace tolm::sim::wire
