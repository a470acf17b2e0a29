#include "hexfile/HexRecord.h"
#include "hexfile/HexLoadReport.h"

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

TEST(ParseHexRecord, ReadsWordsHighByteFirstInUpperCase)
{
    const GoodLine cases[] = {
        {":080000000100020003000400EE", 0x0000, 4, "0001000200030004", 0},
        {":02400E00F13F80", 0x2007, 1, "3FF1", 0},
        {":02400e00f13f80", 0x2007, 1, "3FF1", 0},       // lower case raised
        {" \t:02400E00F13F80\t ", 0x2007, 1, "3FF1", 0}, // blanks around the record
        {":00000001FF", 0x0000, 0, "", 1},               // end record
        {":020000040000FA", 0x0000, 1, "0000", 4},       // INHX32 address record
        {"x02400E00F13F80", 0x2007, 1, "3FF1", 0},       // start mark not checked
        {":01000000FF00", 0x0000, 0, "", 0},             // odd count: last byte dropped
        {":03000000FF3FBF00", 0x0000, 1, "3FFF", 0},     // odd count with checksum 00
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
        "",                  // empty line
        ":",                 // no fields
        ":02400E00F13F81",   // checksum off by one
        ":02400E00F13F8",    // one character short
        ":02400E00F13F800",  // one character long
        " ",                 // nothing but a blank
        ":02400E00F13F80\v", // not a blank
        ":02400E00F1 F80",   // blank inside
        ":02400E00G13F80",   // not a hex digit
        ":0G400E00F13F80",   // length not hex
        ":0200000400FF",     // count says two bytes, none there
        ":0100000001FE",     // odd count with a correct but nonzero checksum
    };
    for (const char *line : cases)
        EXPECT_FALSE(ParseHexRecord(QString::fromLatin1(line))) << '"' << line << '"';
}

// The reason a user reads for each way a line can fail, on a line as the file has it.
TEST(ParseHexLine, SaysWhyALineIsNotARecord)
{
    struct Case
    {
        QString line;
        const char *reason;
    };
    const Case cases[] = {
        {"", "the line is empty"},
        {" \t ", "the line is empty"},
        {":02400E00F13F81", "the checksum does not add up (checksum 81, should be 80)"},
        {":02400e00f13f00", "the checksum does not add up (checksum 00, should be 80)"},
        {":0100000001FE", "the checksum does not add up (sum FE, should be 00)"}, // odd count
        {":02400E00F13F8",
         "its length does not fit its byte count: 14 characters, where byte count 02 needs 15"},
        {":", "its length does not fit its byte count: 1 characters, where byte count 00 needs 11"},
        {":02400E00G13F80", "'G' at column 10 is not a hexadecimal digit"},
        {"  :02400E00G13F80", "'G' at column 12 is not a hexadecimal digit"},
        {":02400E00F1 F80", "' ' at column 12 is not a hexadecimal digit"},
        {QString(QChar(0)) + QChar(0), "the byte 00 at column 2 is not a hexadecimal digit"},
        {QString::fromLatin1(":020000040000FA\xFF"),
         "the byte FF at column 16 is not a hexadecimal digit"},
        {QString(522, QLatin1Char('0')),
         "the line is longer than any record (over 521 characters)"},
    };
    for (const Case &c : cases) {
        const HexLineResult r = ParseHexLine(c.line);
        EXPECT_FALSE(r.Record) << c.line.toStdString();
        EXPECT_EQ(HexLineFaultText(r.Fault).toStdString(), c.reason) << c.line.toStdString();
    }
    // The longest record there is still parses.
    // (An odd count, so its checksum is 00 and pairs up with the last data byte.)
    const QString longest = ":FF00000001" + QString(508, QLatin1Char('0')) + "00";
    EXPECT_TRUE(ParseHexLine(longest).Record);
}

} // namespace
