#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The module takes its arguments and gives its replies as ASCII hexadecimal digits, in orders
// chosen by its firmware rather than by significance. Nibble names: N0 = bits 0-3, N1 = bits
// 4-7, N2 = bits 8-11, N3 = bits 12-15. Encoders write upper-case digits only.

// The digit for the low four bits of value ('0'-'9', 'A'-'F').
char HexDigit(unsigned value);

// The value of one reply digit. The module only ever sends '0'-'9' and 'A'-'F'; anything else
// (lower case included) has no value.
std::optional<unsigned> HexDigitValue(char c);

// One digit: N0. Arguments of the PIC command pass-through commands.
std::string EncodeOneDigit(unsigned value);

// Timing pair: w.N0, c.N1, w.N1, c.N0, w.N2, w.N3 (w a 16-bit timing word, c a pulse count).
std::string EncodeTimingPair(std::uint16_t word, std::uint8_t count);

// Word 14: bits 0-3, bits 6-9, bits 4-5, '0', bits 10-13, bits 14-15.
std::string EncodeWord14(std::uint16_t value);

// 12-bit A: N1, N0, N2.
std::string Encode12BitA(std::uint16_t value);

// 12-bit B: N0, N2, N1.
std::string Encode12BitB(std::uint16_t value);

// Transfer 16 of a transfer word t: N0, '0', N1, '0', N2, N3.
std::string EncodeTransfer16(std::uint16_t transfer);

// The PIC's serial data format for a 14-bit value: a start bit 0, the 14 data bits, a stop bit.
std::uint16_t NormalTransferWord(std::uint16_t value);

// The parity form used by memory-parity parts: the value shifted left by two, bit 1 the inverse
// of the parity of the value's odd bits (1, 3, ... 13), bit 0 the parity of its even bits.
std::uint16_t ParityEncode(std::uint16_t value);

// The 14-bit value carried by a received transfer word, in normal or parity form; the parity
// bits of a received word are not checked.
std::uint16_t TransferWordValue(std::uint16_t transfer, bool parityMode);

// Reply 14 (digits d1..d4 in arrival order): d1 + (d2 AND 3) * 16 + d3 * 64 + d4 * 1024. Only
// the low two bits of the second digit count. Nothing when a digit is not hexadecimal or the
// reply is not exactly four characters.
std::optional<std::uint16_t> DecodeReply14(std::string_view digits);

// 12-bit B reply (d1..d3): d1 + d3 * 16 + d2 * 256.
std::optional<std::uint16_t> Decode12BitB(std::string_view digits);

// Reply 16 (d1..d4): d1 + d2 * 16 + d3 * 256 + d4 * 4096, the raw transfer word.
std::optional<std::uint16_t> DecodeReply16(std::string_view digits);
