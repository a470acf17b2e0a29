#include "WireCodec.h"

#include <bit>

namespace tolm::sim::wire {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// Reads the digits of one argument in wire order and keeps the first fault it meets.
class DigitReader
{
public:
    explicit DigitReader(std::span<const uint8_t> chars) : m_chars(chars) {}

    uint32_t Digit(size_t position)
    {
        const auto value = DigitValue(m_chars[position]);
        if (!value) {
            Fail("character " + Describe(position) + " is not a hexadecimal digit");
            return 0;
        }
        return static_cast<uint32_t>(*value);
    }

    // A digit that carries a two-bit field can only be 0 to 3.
    uint32_t TwoBits(size_t position)
    {
        const uint32_t value = Digit(position);
        if (value > 3) {
            Fail("character " + Describe(position) + " exceeds a two-bit field");
        }
        return value & 3;
    }

    void Filler(size_t position)
    {
        if (m_chars[position] != '0') {
            Fail("filler character " + Describe(position) + " is not \"0\"");
        }
    }

    Decoded Result(uint32_t value) const { return {value, m_fault}; }

private:
    std::string Describe(size_t position) const
    {
        static constexpr char kHex[] = "0123456789ABCDEF";
        const uint8_t c = m_chars[position];
        return std::to_string(position + 1) + " (" + kHex[c >> 4] + kHex[c & 15] + ")";
    }

    void Fail(std::string text)
    {
        if (m_fault.empty()) {
            m_fault = std::move(text);
        }
    }

    std::span<const uint8_t> m_chars;
    std::string m_fault;
};

uint16_t EvenBitsParity(uint16_t value)
{
    return std::popcount(static_cast<unsigned>(value & 0x1555)) & 1;
}

uint16_t OddBitsParity(uint16_t value)
{
    return std::popcount(static_cast<unsigned>(value & 0x2AAA)) & 1;
}

} // namespace

std::optional<int> DigitValue(uint8_t character)
{
    if (character >= '0' && character <= '9') {
        return character - '0';
    }
    if (character >= 'A' && character <= 'F') {
        return character - 'A' + 10;
    }
    return std::nullopt;
}

uint8_t DigitChar(int value)
{
    return static_cast<uint8_t>(kDigits[value & 15]);
}

Decoded DecodeOneDigit(std::span<const uint8_t> chars)
{
    DigitReader r(chars);
    const uint32_t value = r.Digit(0);
    return r.Result(value);
}

Decoded Decode12BitA(std::span<const uint8_t> chars)
{
    DigitReader r(chars);
    const uint32_t n1 = r.Digit(0);
    const uint32_t n0 = r.Digit(1);
    const uint32_t n2 = r.Digit(2);
    return r.Result(n0 | n1 << 4 | n2 << 8);
}

Decoded Decode12BitB(std::span<const uint8_t> chars)
{
    DigitReader r(chars);
    const uint32_t n0 = r.Digit(0);
    const uint32_t n2 = r.Digit(1);
    const uint32_t n1 = r.Digit(2);
    return r.Result(n0 | n1 << 4 | n2 << 8);
}

Decoded DecodeWord14(std::span<const uint8_t> chars)
{
    DigitReader r(chars);
    const uint32_t bits0 = r.Digit(0);
    const uint32_t bits6 = r.Digit(1);
    const uint32_t bits4 = r.TwoBits(2);
    r.Filler(3);
    const uint32_t bits10 = r.Digit(4);
    const uint32_t bits14 = r.TwoBits(5);
    return r.Result(bits0 | bits4 << 4 | bits6 << 6 | bits10 << 10 | bits14 << 14);
}

Decoded DecodeTransfer16(std::span<const uint8_t> chars)
{
    DigitReader r(chars);
    const uint32_t n0 = r.Digit(0);
    r.Filler(1);
    const uint32_t n1 = r.Digit(2);
    r.Filler(3);
    const uint32_t n2 = r.Digit(4);
    const uint32_t n3 = r.Digit(5);
    return r.Result(n0 | n1 << 4 | n2 << 8 | n3 << 12);
}

Decoded DecodeTimingPair(std::span<const uint8_t> chars)
{
    DigitReader r(chars);
    const uint32_t w0 = r.Digit(0);
    const uint32_t c1 = r.Digit(1);
    const uint32_t w1 = r.Digit(2);
    const uint32_t c0 = r.Digit(3);
    const uint32_t w2 = r.Digit(4);
    const uint32_t w3 = r.Digit(5);
    const uint32_t word = w0 | w1 << 4 | w2 << 8 | w3 << 12;
    const uint32_t count = c0 | c1 << 4;
    return r.Result(count << 16 | word);
}

TimingPair SplitTimingPair(uint32_t value)
{
    return {static_cast<uint16_t>(value & 0xFFFF), static_cast<uint8_t>(value >> 16)};
}

std::vector<uint8_t> EncodeReply14(uint16_t value)
{
    return {DigitChar(value), DigitChar((value >> 4) & 3), DigitChar(value >> 6),
            DigitChar(value >> 10)};
}

std::vector<uint8_t> EncodeReply16(uint16_t t)
{
    return {DigitChar(t), DigitChar(t >> 4), DigitChar(t >> 8), DigitChar(t >> 12)};
}

std::vector<uint8_t> Encode12BitB(uint16_t value)
{
    return {DigitChar(value), DigitChar(value >> 8), DigitChar(value >> 4)};
}

uint16_t NormalTransfer(uint16_t value)
{
    return static_cast<uint16_t>((value & 0x3FFF) << 1);
}

uint16_t ParityTransfer(uint16_t value)
{
    value &= 0x3FFF;
    return static_cast<uint16_t>(value << 2 | (1 - OddBitsParity(value)) << 1 |
                                 EvenBitsParity(value));
}

uint16_t NormalTransferValue(uint16_t t)
{
    return (t >> 1) & 0x3FFF;
}

uint16_t ParityTransferValue(uint16_t t)
{
    return (t >> 2) & 0x3FFF;
}

bool ParityBitsValid(uint16_t t)
{
    return ParityTransfer(ParityTransferValue(t)) == t;
}

} // namespace tolm::sim::wire
