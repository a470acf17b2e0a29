// The checksum rule against values the manufacturer printed: a fault in the word count, the blank
// word, the pattern or the configuration mask shows up as a different number.
#include "device/catalogue/PartChecksum.h"

#include <gtest/gtest.h>

namespace {

struct PublishedCase
{
    const char *name;
    PartAlgorithm algorithm;
    int programWords;
    uint16_t checksumMask;
    bool calibrationAtLastWord;
    uint16_t blank;   // as printed, code protection off
    uint16_t pattern; // 0x25E6 at the first and the last user word
};

class PublishedChecksum : public testing::TestWithParam<PublishedCase>
{
};

TEST_P(PublishedChecksum, IsComputed)
{
    const PublishedCase c = GetParam();
    PartDefinition part;
    part.algorithm = c.algorithm;
    part.programWords = c.programWords;
    ConfigWordDef word;
    word.address = 0x2007;
    word.implemented = 0x3FFF;
    word.blank = 0x3FFF;
    word.checksumMask = c.checksumMask;
    part.config.push_back(word);
    if (c.calibrationAtLastWord)
        part.calibration.push_back(
            {CalibrationKind::RetlwLastWord, static_cast<uint16_t>(c.programWords - 1), 0});
    EXPECT_EQ(ComputedChecksum(part), c.blank);
    EXPECT_EQ(ComputedChecksum(part, 0x25E6), c.pattern);
}

// 12F615 and 12F617: Microchip DS41396A, Table 6-1. 16F627: DS30034D, Table 3-2. 12F629:
// DS41191D, Table 4-1, where the OSCCAL word at 0x3FF is not a user word.
INSTANTIATE_TEST_SUITE_P(
    Manufacturer, PublishedChecksum,
    testing::Values(
        PublishedCase{"F615_1K", PartAlgorithm::Flash14Bulk, 1024, 0x03FF, false, 0xFFFF, 0xCBCD},
        PublishedCase{"F617_2K", PartAlgorithm::Flash14Bulk, 2048, 0x03FF, false, 0xFBFF, 0xC7CD},
        PublishedCase{"F627", PartAlgorithm::Flash14, 1024, 0x3DFF, false, 0x39FF, 0x05CD},
        PublishedCase{"F629_Osccal", PartAlgorithm::Flash14Bulk, 1024, 0x01FF, true, 0xBE00,
                      0x89CE}),
    [](const testing::TestParamInfo<PublishedCase> &row) { return row.param.name; });

TEST(PartChecksum, CalibrationWordInConfigurationSpaceKeepsEveryProgramWord)
{
    PartDefinition part;
    part.algorithm = PartAlgorithm::Flash14Bulk;
    part.programWords = 2048;
    part.calibration.push_back({CalibrationKind::ConfigWord, 0x2008, 0});
    EXPECT_EQ(LastUserWord(part), 0x7FF);
}

} // namespace
