#include "device/HexText.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase
{
    const char *text;
    std::optional<uint32_t> value;
};

class HexParse : public testing::TestWithParam<ParseCase>
{
};

TEST_P(HexParse, AcceptsOnlyHexDigits)
{
    EXPECT_EQ(ParseHexText(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HexParse,
    testing::Values(ParseCase{"0", 0u}, ParseCase{"3FFF", 0x3FFFu}, ParseCase{"3fff", 0x3FFFu},
                    ParseCase{"aB", 0xABu}, ParseCase{"FFFFFFFF", 0xFFFFFFFFu},
                    ParseCase{"000000001", 1u}, ParseCase{"", std::nullopt},
                    ParseCase{"12 4", std::nullopt}, ParseCase{" 12", std::nullopt},
                    ParseCase{"3FF_", std::nullopt}, ParseCase{"$12", std::nullopt},
                    ParseCase{"-1", std::nullopt}, ParseCase{"0x10", std::nullopt},
                    ParseCase{"G", std::nullopt}, ParseCase{"100000000", std::nullopt}));

TEST(HexText, ConversionMessageCarriesTheMarkedText)
{
    EXPECT_EQ(InvalidHexMessage(u"12 4"), "'$12 4' is not a valid integer value");
    EXPECT_EQ(InvalidHexMessage(u""), "'$' is not a valid integer value");
}

TEST(HexText, FormatsUpperCaseWithLeadingZeros)
{
    EXPECT_EQ(FormatHex(0x3FB, 4), "03FB");
    EXPECT_EQ(FormatHex(0xab, 2), "AB");
    EXPECT_EQ(FormatHex(0, 4), "0000");
}

} // namespace
