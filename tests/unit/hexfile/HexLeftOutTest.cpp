// What a load leaves out because the device has no place for it, how it groups and words
// that, and the configuration word's width.
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "hexfile/HexReader.h"

#include "HexLines.h"

#include <gtest/gtest.h>

namespace {

const HexTargets kAll{.Program = true, .Data = true, .Config = true, .IDCode = true};
const HexTargets kProgram{.Program = true};
const HexTargets kData{.Data = true};
const HexTargets kConfig{.Config = true};
const HexTargets kConfigAndId{.Config = true, .IDCode = true};

HexLoadResult Load(const char *device, const HexTargets &targets, const QByteArray &file,
                   MemoryImage &image)
{
    return LoadHexBytes(file, image, *FindDevice(QString::fromLatin1(device)), targets);
}

TEST(HexLeftOut, NamesEveryStretchTheDeviceHasNoPlaceFor)
{
    struct Case
    {
        const char *what;
        const char *device;
        HexTargets targets;
        QByteArray file;
        const char *leftOut; // LeftOutReport, one line each
    };
    const Case cases[] = {
        {"program words past the end", "16f84", kProgram,
         HexWords(0, {1}) + HexWords(0x400, {1, 2, 3, 4, 5, 6, 7, 8}),
         "8 words at 0400-0407 lie beyond the 16f84's program memory (0000-03FF) and were left "
         "out"},
        {"a record running past the end", "16f84", kProgram, HexWords(0x3FE, {1, 2, 3}),
         "1 word at 0400 lies beyond the 16f84's program memory (0000-03FF) and was left out"},
        {"neighbouring records make one stretch", "16c54", kProgram,
         HexWords(0x300, {1, 2}) + HexWords(0x302, {3, 4}) + HexWords(0x400, {5}) +
             HexWords(0, {0}),
         "4 words at 0300-0303 lie beyond the 16c54's program memory (0000-01FF) and were left "
         "out\n1 word at 0400 lies beyond the 16c54's program memory (0000-01FF) and was left "
         "out"},
        {"program not ticked", "16f84", kData, HexWords(0x400, {1}) + HexWords(0x2100, {1}), ""},
        {"a 12-bit part has no configuration space", "16c54", kProgram,
         HexWords(0, {0}) + HexWords(0x204, {1}),
         "1 word at 0204 lies beyond the 16c54's program memory (0000-01FF) and was left out"},
        {"configuration space", "16f84", kConfigAndId,
         HexWords(0x2000, {1, 2, 3, 4, 0x3FFF, 0x3FFF, 0x3FFF, 0x3FF1}) +
             HexWords(0x2008, {0x3FFF}),
         "3 words at 2004-2006 lie in configuration space but are neither the 16f84's ID "
         "locations (2000-2003) nor its configuration word (2007), and were left out\n"
         "1 word at 2008 lies in configuration space but is neither the 16f84's ID locations "
         "(2000-2003) nor its configuration word (2007), and was left out"},
        {"data bytes past the EEPROM", "16f84", kData, HexWords(0x213E, {1, 2, 3, 4}),
         "2 data bytes at 40-41 lie beyond the 16f84's data memory (00-3F) and were left out"},
        {"data bytes without an EEPROM", "16c54", kProgram,
         HexWords(0, {0}) + HexWords(0x2100, {1, 2}),
         "2 data bytes at 00-01 were left out: the 16c54 has no data memory"},
        {"above 64 KiB", "16f84", kProgram,
         HexWords(0, {0}) + HexLine(0, 4, HexBytes({0x00, 0x01})) + HexWords(0, {1}) +
             HexWords(8, {2}) + HexLine(0, 4, HexBytes({0x00, 0x00})) + HexWords(1, {3}),
         "2 records on lines 3-4 lie above the first 64 KiB (after the extended linear address "
         "0001) and were left out"},
        {"a segment away from zero", "16f84", kProgram,
         HexWords(0, {0}) + HexLine(0, 2, HexBytes({0x10, 0x00})) + HexWords(0, {1}),
         "the record on line 3 lies above the first 64 KiB (after the extended segment address "
         "1000) and was left out"},
        {"undefined record types", "16f84", kConfig,
         HexWords(0x2007, {0x3FF1}) + HexLine(0, 9, HexBytes({0x01, 0x02})) + HexLine(0, 9, "") +
             HexLine(0, 6, "") + HexLine(0, 9, ""),
         "2 records on lines 2-3 have type 09, which no Intel HEX dialect defines, and were left "
         "out\nthe record on line 4 has type 06, which no Intel HEX dialect defines, and was "
         "left out\nthe record on line 5 has type 09, which no Intel HEX dialect defines, and "
         "was left out"},
        {"start addresses carry no memory", "16f84", kProgram,
         HexWords(0, {0}) + HexLine(0, 3, HexBytes({0x00, 0x00, 0x01, 0x00})) +
             HexLine(0, 5, HexBytes({0x00, 0x00, 0x01, 0x00})),
         ""},
    };
    for (const Case &c : cases) {
        MemoryImage image;
        const HexLoadResult r = Load(c.device, c.targets, c.file, image);
        EXPECT_EQ(r.LeftOutReport.join('\n').toStdString(), c.leftOut) << c.what;
        EXPECT_EQ(r.AnyLeftOut(), c.leftOut[0] != '\0') << c.what;
        EXPECT_EQ(r.StoppedAtLine, 0) << c.what;
        // Nothing left out is ever reported as a successful load.
        if (r.AnyLeftOut()) {
            EXPECT_TRUE(r.IsWarning()) << c.what;
            EXPECT_TRUE(r.Report.contains(r.LeftOutReport.first())) << c.what;
        }
    }
}

TEST(HexConflicts, NamesEveryAddressTwoRecordsGiveDifferentValues)
{
    struct Case
    {
        const char *what;
        HexTargets targets;
        QByteArray file;
        const char *conflicts; // ConflictReport, one line each
    };
    const Case cases[] = {
        {"two configuration words", kAll,
         ":02400E00F13F80\n:02400E000000B0\n" + HexWords(0, {1}) + HexWords(0x2100, {1}) +
             HexWords(0x2000, {1, 2, 3, 4}),
         "the configuration word is given twice: 3FF1 at line 1, 0000 at line 2"},
        {"the same word again", kConfig, HexWords(0x2007, {0x3FF1}) + HexWords(0x2007, {0x3FF1}),
         ""},
        {"the same word, padded", kConfig, HexWords(0x2007, {0x3FF1}) + HexWords(0x2007, {0xFFF1}),
         ""},
        {"overlapping program records", kProgram, HexWords(0, {1, 2, 3}) + HexWords(1, {2, 9}),
         "program word 0002 is given twice: 0003 at line 1, 0009 at line 2"},
        {"a record given twice with other words", kProgram,
         HexWords(0x10, {1, 2, 3, 4}) + HexWords(0x10, {5, 6, 7, 8}),
         "program words 0010-0013 are given twice, with other values at line 2 than at line 1"},
        {"a data byte", kData, HexWords(0x2100, {0x3F}) + HexWords(0x2100, {0x00}),
         "data byte 00 is given twice: 3F at line 1, 00 at line 2"},
        {"an ID digit", kConfigAndId, HexWords(0x2000, {1, 2, 3, 4}) + HexWords(0x2001, {3}),
         "ID location 2001 is given twice: 2 at line 1, 3 at line 2"},
        {"ID words with the same digit", kConfigAndId,
         HexWords(0x2000, {1, 2, 3, 4}) + HexWords(0x2001, {0x12}), ""},
        {"a target not ticked", kData, HexWords(0, {1}) + HexWords(0, {2}), ""},
        {"a segment that stays below 64 KiB", kConfig,
         HexLine(0, 2, HexBytes({0x04, 0x00})) + HexWords(7, {0x3FF1}) +
             HexLine(0, 2, HexBytes({0x00, 0x00})) + HexWords(0x2007, {0x3FF2}),
         "the configuration word is given twice: 3FF1 at line 2, 3FF2 at line 4"},
    };
    for (const Case &c : cases) {
        MemoryImage image;
        const HexLoadResult r = Load("16f84", c.targets, c.file, image);
        EXPECT_EQ(r.ConflictReport.join('\n').toStdString(), c.conflicts) << c.what;
        EXPECT_FALSE(r.AnyLeftOut()) << c.what << ": " << r.Report.toStdString();
        // A conflict is never reported as a successful load; the later record wins.
        if (r.AnyConflict()) {
            EXPECT_TRUE(r.IsWarning()) << c.what;
            EXPECT_TRUE(r.Report.contains(r.ConflictReport.first())) << c.what;
        }
    }
    MemoryImage image;
    Load("16f84", kAll, ":02400E00F13F80\n:02400E000000B0\n", image);
    EXPECT_EQ(image.ConfigWord, 0x0000);
}

TEST(HexLeftOut, EachWordGoesWhereItsOwnAddressSays)
{
    MemoryImage image;
    image.FillProgramImage("3FFF");
    // ID locations and the configuration word in one record, as some tools write them.
    const HexLoadResult r =
        Load("16f84", kAll,
             HexWords(0x3FE, {0x0AAA, 0x0BBB, 0x0CCC}) +
                 HexWords(0x2000, {1, 2, 3, 4, 0x3FFF, 0x3FFF, 0x3FFF, 0x3FF1}) +
                 HexWords(0x213F, {0x5A, 0xA5}),
             image);
    EXPECT_EQ(image.GetProgramWordText(0x3FF), "0BBB");
    // Kept in the image's cells beyond the device, where nothing reads it.
    EXPECT_EQ(image.GetProgramWordText(0x400), "0CCC");
    EXPECT_EQ(image.IDCodeText, "1234");
    EXPECT_TRUE(r.ConfigFound);
    EXPECT_EQ(image.ConfigWord, 0x3FF1);
    EXPECT_EQ(image.GetDataByteText(0x3F), "5A");
    EXPECT_EQ(r.LeftOut.size(), 3u);
}

TEST(HexLeftOut, AConfigurationWordWiderThanTheDeviceIsPaddingOrLeftOut)
{
    struct Case
    {
        const char *device;
        uint16_t word;
        bool found;
        uint16_t stored; // when found
        const char *leftOut;
    };
    const Case cases[] = {
        {"16c54", 0x0FF2, true, 0x0FF2, ""},
        {"16c54", 0xFFF2, true, 0x0FF2, ""},  // padded with ones to 16 bits
        {"12c508", 0xF000, true, 0x0000, ""}, // padding: the word is 000
        {"12c508", 0x8FFF, false, 0,
         "configuration word 8FFF on line 1 has bits beyond the "
         "12c508's 12-bit configuration word and was left out"},
        {"16c54", 0x1FFF, false, 0,
         "configuration word 1FFF on line 1 has bits beyond the "
         "16c54's 12-bit configuration word and was left out"},
        {"16f84", 0x3FF1, true, 0x3FF1, ""},
        {"16f84", 0xFFF1, true, 0x3FF1, ""},
        {"16f84", 0x7FF1, false, 0,
         "configuration word 7FF1 on line 1 has bits beyond the "
         "16f84's 14-bit configuration word and was left out"},
    };
    for (const Case &c : cases) {
        MemoryImage image;
        image.ConfigWord = 0x1234;
        const uint32_t address = FindDevice(QString::fromLatin1(c.device))->ConfigAddress;
        const HexLoadResult r = Load(c.device, kConfig, HexWords(address, {c.word}), image);
        const std::string what = std::string(c.device) + ' ' + std::to_string(c.word);
        EXPECT_EQ(r.ConfigFound, c.found) << what;
        EXPECT_EQ(image.ConfigWord, c.found ? c.stored : 0x1234) << what;
        EXPECT_EQ(r.ConfigEditText.toStdString(),
                  c.found ? FormatHex(c.stored, 4).toStdString() : std::string())
            << what;
        EXPECT_EQ(r.LeftOutReport.join('\n').toStdString(), c.leftOut) << what;
        EXPECT_EQ(r.MissingRecords, !c.found) << what;
    }
}

TEST(HexLeftOut, AFileThatLeavesOutALotListsTenAndCountsTheRest)
{
    QByteArray file = HexWords(0, {0});
    for (uint32_t a = 0; a < 150; ++a)
        file += HexWords(0x400 + 2 * a, {1}); // never neighbours: a stretch each
    MemoryImage image;
    const HexLoadResult r = Load("16f84", kProgram, file, image);
    EXPECT_EQ(r.LeftOut.size(), size_t{HexLeftOutList::kMaxGroups});
    EXPECT_EQ(r.MoreLeftOut, 50);
    const QStringList lines = r.Report.split('\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[10], "140 more stretches of the file were left out as well.");
}

TEST(HexReaderText, AByteOrderMarkAndBlanksAroundRecordsCarryNoMeaning)
{
    struct Case
    {
        QByteArray file;
        int stoppedAt;
        const char *report;
    };
    const QByteArray bom = "\xEF\xBB\xBF";
    const Case cases[] = {
        {bom + ":020000000100FD\r\n:00000001FF\r\n", 0, "File loaded successfully"},
        {bom + "  :020000000100FD \t\n\t:00000001FF  \n", 0, "File loaded successfully"},
        {bom, 0, "<Program> Records NOT found"},
        // Only at the very start: anywhere else the mark is not part of a record.
        {":020000000100FD\n" + bom + ":00000001FF\n", 2,
         "Reading stopped at line 2: the byte BB at column 2 is not a hexadecimal digit. The "
         "records after it were not loaded."},
    };
    for (const Case &c : cases) {
        MemoryImage image;
        const HexLoadResult r = Load("16f84", kProgram, c.file, image);
        EXPECT_EQ(r.StoppedAtLine, c.stoppedAt) << c.file.toHex().data();
        EXPECT_EQ(r.Report.toStdString(), c.report) << c.file.toHex().data();
        if (r.ProgramFound) {
            EXPECT_EQ(image.GetProgramWordText(0), "0001");
        }
    }
}

} // namespace
