// Chip files: the program's 8-bit merged Intel HEX layout, both ways.

#include "ChipHexFile.h"
#include "SimChip.h"

#include <gtest/gtest.h>

using tolm::sim::ChipHexText;
using tolm::sim::FindChip;
using tolm::sim::ParseChipHex;
using tolm::sim::SimChip;

namespace {

bool Contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST(ChipHexFileTest, WritesTheProgramsLayout)
{
    SimChip chip(*FindChip("16f84"));
    chip.SetProgramWord(0, 0x0001);
    chip.SetProgramWord(1, 0x0002);
    chip.SetConfigWord(0x3FF1);
    chip.SetDataByte(0, 0x3F);
    for (int k = 0; k < 4; ++k) {
        chip.SetIdWord(k, static_cast<uint16_t>(k + 1));
    }
    const std::string text = ChipHexText(chip);
    EXPECT_EQ(text.substr(0, 45), ":1000000001000200FF3FFF3FFF3FFF3FFF3FFF3F79\r\n");
    EXPECT_TRUE(Contains(text, ":02400E00F13F80\r\n"));
    EXPECT_TRUE(Contains(text, ":084000000100020003000400AE\r\n"));
    EXPECT_TRUE(Contains(text, ":104200003F00FF00FF00FF00FF00FF00FF00FF00"));
    EXPECT_EQ(text.substr(text.size() - 13), ":00000001FF\r\n");
}

struct RoundTrip
{
    const char *part;
    uint16_t lastWord;
};

class ChipHexRoundTripTest : public testing::TestWithParam<RoundTrip>
{
};

TEST_P(ChipHexRoundTripTest, ReadsBackWhatItWrote)
{
    SimChip chip(*FindChip(GetParam().part));
    const uint16_t last = static_cast<uint16_t>(chip.ProgramWords() - 1);
    chip.SetProgramWord(0, 0x0123);
    chip.SetProgramWord(last, GetParam().lastWord);
    chip.SetDataByte(static_cast<uint16_t>(chip.DataBytes() - 1), 0x77);
    chip.SetConfigWord(0x0AB5);
    chip.SetIdWord(3, 0x000C);
    chip.SetSecondConfigWord(0x3DFF);
    chip.SetCalibrationSpaceWord(0x0123);
    SimChip copy(*FindChip(GetParam().part));
    copy.SetProgramWord(5, 0);
    std::string error;
    ASSERT_TRUE(ParseChipHex(ChipHexText(chip), copy, error)) << error;
    EXPECT_EQ(ChipHexText(copy), ChipHexText(chip));
    EXPECT_EQ(copy.ProgramWord(last), GetParam().lastWord);
    EXPECT_EQ(copy.ConfigWord(), chip.ConfigWord());
}

INSTANTIATE_TEST_SUITE_P(Parts, ChipHexRoundTripTest,
                         testing::Values(RoundTrip{"16f84", 0x2ABC}, RoundTrip{"16f877", 0x1111},
                                         RoundTrip{"12c508", 0x0C5A}, RoundTrip{"16c57", 0x0FFE},
                                         RoundTrip{"12ce674", 0x3455}, RoundTrip{"12f675", 0x3412},
                                         RoundTrip{"12f683", 0x0001}, RoundTrip{"16f887", 0x2002}));

TEST(ChipHexFileTest, ReadsOnlyWhatTheFileMentionsAndAcceptsAnyLineEnd)
{
    SimChip chip(*FindChip("16f84"));
    std::string error;
    ASSERT_TRUE(ParseChipHex(":02400E00F13F80\r:044200005500110054\n:00000001FF", chip, error))
        << error;
    EXPECT_EQ(chip.ConfigWord(), 0x3FF1);
    EXPECT_EQ(chip.DataByte(0), 0x55);
    EXPECT_EQ(chip.DataByte(1), 0x11);
    EXPECT_EQ(chip.ProgramWord(0), 0x3FFF);
}

TEST(ChipHexFileTest, RefusesABadRecordAndLeavesTheChipAlone)
{
    SimChip chip(*FindChip("16f84"));
    std::string error;
    EXPECT_FALSE(ParseChipHex(":020000003412B8\r\n:02400E00F13F81\r\n", chip, error));
    EXPECT_EQ(error, "line 2: checksum error");
    EXPECT_EQ(chip.ProgramWord(0), 0x3FFF);
    EXPECT_FALSE(ParseChipHex("0200000034127F", chip, error));
    EXPECT_FALSE(ParseChipHex(":0400000034127F", chip, error));
}

} // namespace
