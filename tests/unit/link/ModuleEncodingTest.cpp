#include "link/ModuleEncoding.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace {

using namespace std::string_view_literals;

struct EncodingCase
{
    const char *name;
    std::function<std::string()> encode;
    const char *expected;
};

// The wire examples of the module's documentation, and a few more that put every nibble in a
// distinct place.
TEST(ModuleEncoding, ArgumentEncodingsMatchTheModulesExamples)
{
    const EncodingCase cases[] = {
        {"timing F40C/1", [] { return EncodeTimingPair(0xF40C, 1); }, "C0014F"},
        {"timing 0C01/25", [] { return EncodeTimingPair(0x0C01, 25); }, "1109C0"},
        {"timing 0C01/100", [] { return EncodeTimingPair(0x0C01, 100); }, "1604C0"},
        {"timing 1234/56", [] { return EncodeTimingPair(0x1234, 0x56); }, "453621"},
        {"word14 3FFF", [] { return EncodeWord14(0x3FFF); }, "FF30F0"},
        {"word14 1234", [] { return EncodeWord14(0x1234); }, "483040"},
        {"word14 keeps bits 14-15", [] { return EncodeWord14(0xC000); }, "000003"},
        {"12-bit A ABC", [] { return Encode12BitA(0x0ABC); }, "BCA"},
        {"12-bit B ABC", [] { return Encode12BitB(0x0ABC); }, "CAB"},
        {"12-bit B 1022", [] { return Encode12BitB(1022); }, "E3F"},
        {"transfer16 7FFE", [] { return EncodeTransfer16(0x7FFE); }, "E0F0F7"},
        {"transfer16 FFFD", [] { return EncodeTransfer16(0xFFFD); }, "D0F0FF"},
        {"transfer16 0002", [] { return EncodeTransfer16(0x0002); }, "200000"},
        {"transfer16 48D3", [] { return EncodeTransfer16(0x48D3); }, "30D084"},
        {"one digit 10", [] { return EncodeOneDigit(10); }, "A"},
    };
    for (const EncodingCase &c : cases) {
        EXPECT_EQ(c.encode(), c.expected) << c.name;
    }
}

TEST(ModuleEncoding, TransferWordForms)
{
    struct Case
    {
        std::uint16_t value;
        std::uint16_t normal;
        std::uint16_t parity;
    };
    const Case cases[] = {
        {0x3FFF, 0x7FFE, 0xFFFD}, {0x0000, 0x0000, 0x0002}, {0x1234, 0x2468, 0x48D3},
        {0x0001, 0x0002, 0x0007}, // one even bit: Pe = 1, odd parity 0 so bit 1 set
        {0x0002, 0x0004, 0x0008}, // one odd bit: Po = 1 so bit 1 clear
        {0xC000, 0x8000, 0x0002}, // bits 14-15 are not data in the parity form
    };
    for (const Case &c : cases) {
        EXPECT_EQ(NormalTransferWord(c.value), c.normal) << std::hex << c.value;
        EXPECT_EQ(ParityEncode(c.value), c.parity) << std::hex << c.value;
        EXPECT_EQ(TransferWordValue(c.parity, true), c.value & 0x3FFF) << std::hex << c.value;
        EXPECT_EQ(TransferWordValue(c.normal, false), c.value & 0x3FFF) << std::hex << c.value;
    }
    // The received parity bits are not checked.
    EXPECT_EQ(TransferWordValue(0xFFFC, true), 0x3FFF);
    // Reply digits E, F, F, 7 are the same wire word in both forms, read differently.
    EXPECT_EQ(TransferWordValue(0x7FFE, false), 0x3FFF);
    EXPECT_EQ(TransferWordValue(0x7FFE, true), 0x1FFF);
}

TEST(ModuleEncoding, ReplyDecodings)
{
    using Decoder = std::optional<std::uint16_t> (*)(std::string_view);
    struct Case
    {
        const char *name;
        Decoder decode;
        std::string_view digits;
        std::optional<std::uint16_t> expected;
    };
    const Case cases[] = {
        {"reply14 F3FF", DecodeReply14, "F3FF", 0x3FFF},
        {"reply14 second digit above 3", DecodeReply14, "F7FF", 0x3FFF},
        {"reply14 second digit C counts as 0", DecodeReply14, "5C20", 0x0085},
        {"reply14 A5", DecodeReply14, "5220", 0x00A5},
        {"reply16 EFF7", DecodeReply16, "EFF7", 0x7FFE},
        {"reply16 3D84", DecodeReply16, "3D84", 0x48D3},
        {"12-bit B CAB", Decode12BitB, "CAB", 0x0ABC},
        {"lower case is not a digit", DecodeReply16, "eff7", std::nullopt},
        {"space is not a digit", DecodeReply14, "F3 F", std::nullopt},
        {"G is not a digit", Decode12BitB, "CAG", std::nullopt},
        {"NUL is not a digit", Decode12BitB, "C\0B"sv, std::nullopt},
        {"too short", DecodeReply16, "EFF", std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.decode(c.digits), c.expected) << c.name;
    }
}

TEST(ModuleEncoding, EveryDigitRoundTrips)
{
    for (unsigned v = 0; v < 16; ++v) {
        EXPECT_EQ(HexDigitValue(HexDigit(v)), v);
    }
    for (const char c : std::string("GZaf/:@` ")) {
        EXPECT_EQ(HexDigitValue(c), std::nullopt) << c;
    }
}

} // namespace
