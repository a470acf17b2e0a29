#include "hexfile/HexRecord.h"

#include <gtest/gtest.h>

namespace {

struct GoodLine
{
    const char *line;
    uint16_t wordAddress;
    uint16_t wordCount;
    const char *dataText;
    uint16_t type;
};

TEST(ParseHexRecord, ReadsWordsHighByteFirstAsTheyStand)
{
    const GoodLine cases[] = {
        {":080000000100020003000400EE", 0x0000, 4, "0001000200030004", 0},
        {":02400E00F13F80", 0x2007, 1, "3FF1", 0},
        {":02400e00f13f80", 0x2007, 1, "3ff1", 0},   // lower case kept
        {":00000001FF", 0x0000, 0, "", 1},           // end record
        {":020000040000FA", 0x0000, 1, "0000", 4},   // INHX32 address record
        {"x02400E00F13F80", 0x2007, 1, "3FF1", 0},   // start mark not checked
        {":01000000FF00", 0x0000, 0, "", 0},         // odd count: last byte dropped
        {":03000000FF3FBF00", 0x0000, 1, "3FFF", 0}, // odd count with checksum 00
    };
    for (const GoodLine &c : cases) {
        const auto record = ParseHexRecord(QString::fromLatin1(c.line));
        ASSERT_TRUE(record) << c.line;
        EXPECT_EQ(record->WordAddress, c.wordAddress) << c.line;
        EXPECT_EQ(record->WordCount, c.wordCount) << c.line;
        EXPECT_EQ(record->DataText, c.dataText) << c.line;
        EXPECT_EQ(record->RecordType, c.type) << c.line;
    }
}

TEST(ParseHexRecord, RejectsDamagedLines)
{
    const char *cases[] = {
        "",                 // empty line
        ":",                // no fields
        ":02400E00F13F81",  // checksum off by one
        ":02400E00F13F8",   // one character short
        ":02400E00F13F800", // one character long
        " :02400E00F13F80", // leading blank
        ":02400E00F13F80 ", // trailing blank
        ":02400E00F1 F80",  // blank inside
        ":02400E00G13F80",  // not a hex digit
        ":0G400E00F13F80",  // length not hex
        ":0200000400FF",    // count says two bytes, none there
        ":0100000001FE",    // odd count with a correct but nonzero checksum
    };
    for (const char *line : cases)
        EXPECT_FALSE(ParseHexRecord(QString::fromLatin1(line))) << '"' << line << '"';
}

} // namespace
