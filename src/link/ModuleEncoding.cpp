#include "link/ModuleEncoding.h"

#include <array>
#include <cstddef>

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

// The bits first..first+width-1 of value, as a number.
unsigned Bits(unsigned value, unsigned first, unsigned width)
{
    return (value >> first) & ((1u << width) - 1u);
}

unsigned Nibble(unsigned value, unsigned index)
{
    return Bits(value, index * 4, 4);
}

// Exclusive OR of value's bits first, first+2, ... up to bit 13.
unsigned AlternateBitParity(unsigned value, unsigned first)
{
    unsigned parity = 0;
    for (unsigned bit = first; bit < 14; bit += 2) {
        parity ^= Bits(value, bit, 1);
    }
    return parity;
}

// The values of exactly N hexadecimal digits, or nothing.
template <std::size_t N> std::optional<std::array<unsigned, N>> DigitValues(std::string_view text)
{
    if (text.size() != N) {
        return std::nullopt;
    }
    std::array<unsigned, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        const std::optional<unsigned> value = HexDigitValue(text[i]);
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
    }
    return values;
}

} // namespace

char HexDigit(unsigned value)
{
    return kDigits[value & 0xFu];
}

std::optional<unsigned> HexDigitValue(char c)
{
    const std::size_t position = kDigits.find(c);
    if (position == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<unsigned>(position);
}

std::string EncodeOneDigit(unsigned value)
{
    return std::string(1, HexDigit(value));
}

std::string EncodeTimingPair(std::uint16_t word, std::uint8_t count)
{
    return {HexDigit(Nibble(word, 0)),  HexDigit(Nibble(count, 1)), HexDigit(Nibble(word, 1)),
            HexDigit(Nibble(count, 0)), HexDigit(Nibble(word, 2)),  HexDigit(Nibble(word, 3))};
}

std::string EncodeWord14(std::uint16_t value)
{
    return {HexDigit(Bits(value, 0, 4)),  HexDigit(Bits(value, 6, 4)),
            HexDigit(Bits(value, 4, 2)),  '0',
            HexDigit(Bits(value, 10, 4)), HexDigit(Bits(value, 14, 2))};
}

std::string Encode12BitA(std::uint16_t value)
{
    return {HexDigit(Nibble(value, 1)), HexDigit(Nibble(value, 0)), HexDigit(Nibble(value, 2))};
}

std::string Encode12BitB(std::uint16_t value)
{
    return {HexDigit(Nibble(value, 0)), HexDigit(Nibble(value, 2)), HexDigit(Nibble(value, 1))};
}

std::string EncodeTransfer16(std::uint16_t transfer)
{
    return {HexDigit(Nibble(transfer, 0)), '0',
            HexDigit(Nibble(transfer, 1)), '0',
            HexDigit(Nibble(transfer, 2)), HexDigit(Nibble(transfer, 3))};
}

std::uint16_t NormalTransferWord(std::uint16_t value)
{
    return static_cast<std::uint16_t>((value * 2u) & 0xFFFFu);
}

std::uint16_t ParityEncode(std::uint16_t value)
{
    const unsigned evenParity = AlternateBitParity(value, 0);
    const unsigned oddParity = AlternateBitParity(value, 1);
    return static_cast<std::uint16_t>(((value << 2) | ((1u - oddParity) << 1) | evenParity) &
                                      0xFFFFu);
}

std::uint16_t TransferWordValue(std::uint16_t transfer, bool parityMode)
{
    const unsigned shift = parityMode ? 2 : 1;
    return static_cast<std::uint16_t>((transfer >> shift) & 0x3FFFu);
}

std::optional<std::uint16_t> DecodeReply14(std::string_view digits)
{
    const auto d = DigitValues<4>(digits);
    if (!d) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>((*d)[0] + ((*d)[1] & 3u) * 16 + (*d)[2] * 64 +
                                      (*d)[3] * 1024);
}

std::optional<std::uint16_t> Decode12BitB(std::string_view digits)
{
    const auto d = DigitValues<3>(digits);
    if (!d) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>((*d)[0] + (*d)[2] * 16 + (*d)[1] * 256);
}

std::optional<std::uint16_t> DecodeReply16(std::string_view digits)
{
    const auto d = DigitValues<4>(digits);
    if (!d) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>((*d)[0] + (*d)[1] * 16 + (*d)[2] * 256 + (*d)[3] * 4096);
}
