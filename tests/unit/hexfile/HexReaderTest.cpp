#include "hexfile/HexReader.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const HexTargets kAllTargets{.Program = true, .Data = true, .Config = true, .IDCode = true};

DeviceRecord Device(const char *name)
{
    return *FindDevice(QString::fromLatin1(name));
}

HexLoadResult Load(MemoryImage &image, const char *text, const HexTargets &targets = kAllTargets,
                   const char *device = "16f84")
{
    return LoadHexBytes(QByteArray(text), image, Device(device), targets);
}

TEST(HexReader, LoadsTheRecordsOfEveryTickedTarget)
{
    MemoryImage image;
    const HexLoadResult r = Load(image, ":02400E00F13F80\r\n"
                                        ":080000000100020003000400EE\r\n"
                                        ":024200003F007D\r\n"
                                        ":00000001FF\r\n");
    const char *words[] = {"0001", "0002", "0003", "0004", "3FFF"};
    for (int a = 0; a < 5; ++a)
        EXPECT_EQ(image.GetProgramWordText(a), words[a]) << a;
    EXPECT_EQ(image.GetDataByteText(0), "3F");
    EXPECT_EQ(image.GetDataByteText(1), "FF");
    EXPECT_EQ(image.ConfigWord, 0x3FF1);
    EXPECT_TRUE(r.ConfigFound);
    EXPECT_EQ(r.ConfigEditText, "3FF1");
    EXPECT_TRUE(r.ProgramFound && r.DataFound && !r.IDCodeFound);
    EXPECT_TRUE(r.MissingRecords);
    EXPECT_EQ(r.Report, "<ID Code> Records NOT found");
    EXPECT_EQ(image.IDCodeText, "FFFF");
    EXPECT_EQ(r.StoppedAtLine, 0);
    EXPECT_TRUE(r.FileError.isEmpty());
}

TEST(HexReader, ReportsMissingTargetsInFixedOrder)
{
    struct Case
    {
        HexTargets targets;
        const char *text;
        const char *report;
    };
    const Case cases[] = {
        {kAllTargets, ":00000001FF\r\n",
         "<Program> <Data> <Configuration> <ID Code> Records NOT found"},
        {kAllTargets, ":080000000100020003000400EE\r\n:02400E00F13F80\r\n",
         "<Data> <ID Code> Records NOT found"},
        {{.Program = true}, ":080000000100020003000400EE\r\n", "File loaded successfully"},
        {{}, "", "File loaded successfully"},
    };
    for (const Case &c : cases) {
        MemoryImage image;
        const HexLoadResult r = Load(image, c.text, c.targets);
        EXPECT_EQ(r.Report, c.report) << c.text;
        EXPECT_EQ(r.MissingRecords, r.Report != "File loaded successfully");
    }
}

TEST(HexReader, IdRecordGivesOneDigitPerLocationInFileOrder)
{
    struct Case
    {
        const char *device;
        const char *text;
        const char *id;
    };
    const Case cases[] = {
        {"16f84", ":084000000100020003000400AE\r\n", "1234"},
        {"16f84", ":084000000a000b000c000d008A\r\n", "ABCD"},  // case raised
        {"16f84", ":0440000001000200B9\r\n", "12"},            // short record, short text
        {"12c508", ":080400000100020003000400EA\r\n", "1234"}, // 12-bit part, word 0x200
        {"16c71", ":084000000100020003000400AE\r\n", "1234"},  // ID at 0x2000 for 14-bit
    };
    for (const Case &c : cases) {
        MemoryImage image;
        const HexLoadResult r = Load(image, c.text, {.IDCode = true}, c.device);
        EXPECT_TRUE(r.IDCodeFound) << c.device << ' ' << c.text;
        EXPECT_EQ(image.IDCodeText, c.id) << c.device << ' ' << c.text;
    }
}

// Every other way into the image writes upper case: a lower-case file must not verify as
// different from the chip it was written to.
TEST(HexReader, WordsAreStoredInUpperCase)
{
    MemoryImage image;
    image.FillProgramImage("0000");
    const HexLoadResult r = Load(image, ":04000000ff3fAb1201\n:024200003f007d\n"
                                        ":02400e00f13f80\n:0440000001000b00b0\n");
    EXPECT_EQ(image.GetProgramWordText(0), "3FFF");
    EXPECT_EQ(image.GetProgramWordText(1), "12AB");
    EXPECT_EQ(image.GetDataByteText(0), "3F");
    EXPECT_EQ(image.ConfigWord, 0x3FF1);
    EXPECT_EQ(r.ConfigEditText, "3FF1");
    EXPECT_EQ(image.IDCodeText, "1B");
}

TEST(HexReader, StopsAtTheFirstDamagedLineKeepingWhatCameBefore)
{
    MemoryImage image;
    const HexLoadResult r = Load(image,
                                 ":020000000100FD\r\n"
                                 ":020002000200FA\r\n"
                                 ":020004000300F8\r\n" // checksum should be F7
                                 ":020006000400F4\r\n"
                                 ":02400E00F13F80\r\n",
                                 {.Program = true, .Config = true});
    EXPECT_EQ(image.GetProgramWordText(0), "0001");
    EXPECT_EQ(image.GetProgramWordText(1), "0002");
    EXPECT_EQ(image.GetProgramWordText(2), "3FFF");
    EXPECT_EQ(image.GetProgramWordText(3), "3FFF");
    EXPECT_FALSE(r.ConfigFound);
    EXPECT_EQ(image.ConfigWord, 0);
    EXPECT_EQ(r.StoppedAtLine, 3);
    EXPECT_EQ(r.Report, "<Configuration> Records NOT found\nReading stopped at line 3: the "
                        "checksum does not add up (checksum F8, should be F7). The records after "
                        "it were not loaded.");
    EXPECT_EQ(r.StopReason, "the checksum does not add up (checksum F8, should be F7)");
}

TEST(HexReader, AFileReadOnlyInPartIsNeverReportedAsLoaded)
{
    struct Case
    {
        const char *text;
        const char *report;
    };
    const Case cases[] = {
        // Every ticked target found, but the reading ended early: records may be missing.
        {":020000000100FD\n:02400E00F13F80\nnot a record\n:020002000200FA\n",
         "Reading stopped at line 3: 'o' at column 2 is not a hexadecimal digit. The records "
         "after it were not loaded."},
        {":020000000100FD\n:02400E00F13F80\n:00000001FF\nnot a record\n",
         "File loaded successfully"},
        {":020000000100FD\n:02400E00F13F80\n", "File loaded successfully"},
    };
    for (const Case &c : cases) {
        MemoryImage image;
        const HexLoadResult r = Load(image, c.text, {.Program = true, .Config = true});
        EXPECT_EQ(r.Report, c.report) << c.text;
        EXPECT_EQ(r.IsWarning(), r.Report != "File loaded successfully") << c.text;
    }
}

TEST(HexReader, UntickedTargetsAndRecordsOutsideTheWindowsChangeNothing)
{
    const char *file = ":02400E00F13F80\r\n"
                       ":080000000100020003000400EE\r\n"
                       ":024200003F007D\r\n"
                       ":084000000100020003000400AE\r\n"
                       ":020800000500F1\r\n" // word 0x400, past the 16f84's 0x3FF
                       ":00000001FF\r\n";
    MemoryImage image;
    image.ConfigWord = 0x1234;
    const HexLoadResult r = Load(image, file, {.Program = true});
    EXPECT_EQ(image.GetProgramWordText(0), "0001");
    EXPECT_EQ(image.GetProgramWordText(0x400), "3FFF");
    EXPECT_EQ(image.GetDataByteText(0), "FF");
    EXPECT_EQ(image.ConfigWord, 0x1234);
    EXPECT_EQ(image.IDCodeText, "FFFF");
    EXPECT_EQ(r.Report, "1 word at 0400 lies beyond the 16f84's program memory (0000-03FF) and "
                        "was left out");
}

TEST(HexReader, ARecordStartingInsideAWindowIsStoredWhole)
{
    MemoryImage image;
    // Four words from 0x3FE: two inside the 16f84's program memory, two past it.
    Load(image, ":0807FC000100020003000400EB\r\n", {.Program = true});
    EXPECT_EQ(image.GetProgramWordText(0x3FE), "0001");
    EXPECT_EQ(image.GetProgramWordText(0x401), "0004");
}

TEST(HexReader, LinesEndInCrLfCrOrLfAndTheFileAtCtrlZ)
{
    const QByteArray program = ":080000000100020003000400EE";
    const QByteArray config = ":02400E00F13F80";
    struct Case
    {
        QByteArray text;
        bool configFound;
    };
    const Case cases[] = {
        {program + "\r\n" + config + "\r\n:00000001FF\r\n", true},
        {program + "\r" + config + "\r:00000001FF\r", true},
        {program + "\n" + config + "\n:00000001FF\n", true},
        {program + "\n" + config, true},                    // no line end at the end
        {program + "\r\n\x1A" + config + "\r\n", false},    // Ctrl-Z ends the file
        {program + "\r\n" + config + "\x1A garbage", true}, // and also the line before it
    };
    for (const Case &c : cases) {
        MemoryImage image;
        const HexLoadResult r =
            LoadHexBytes(c.text, image, Device("16f84"), {.Program = true, .Config = true});
        EXPECT_EQ(image.GetProgramWordText(3), "0004") << c.text.toHex().data();
        EXPECT_EQ(r.ConfigFound, c.configFound) << c.text.toHex().data();
        EXPECT_EQ(r.StoppedAtLine, 0) << c.text.toHex().data();
    }
}

TEST(HexReader, AddressRecordsAreNotStoredAndRecordsAbove64KAreSkipped)
{
    MemoryImage image;
    image.FillProgramImage("1111");
    const HexLoadResult r = Load(image,
                                 ":020000040000FA\n" // upper address 0000: not a program word
                                 ":020002000200FA\n" // word 1
                                 ":020000040001F9\n" // from here on above 64 KiB
                                 ":020000000900F5\n" // would be word 0
                                 ":02400E00003F71\n" // would be the configuration word
                                 ":020000040000FA\n" // back below 64 KiB
                                 ":020004000300F7\n" // word 2
                                 ":00000001FF\n",
                                 {.Program = true, .Config = true});
    EXPECT_EQ(image.GetProgramWordText(0), "1111");
    EXPECT_EQ(image.GetProgramWordText(1), "0002");
    EXPECT_EQ(image.GetProgramWordText(2), "0003");
    EXPECT_FALSE(r.ConfigFound);
    EXPECT_EQ(r.StoppedAtLine, 0);
}

TEST(HexReader, ASegmentAddressAwayFromZeroSkipsTheRecordsUntilZeroReturns)
{
    struct Case
    {
        const char *segmentRecord;
        const char *word0; // what the data record after it leaves at word 0
    };
    const Case cases[] = {
        {":020000021000EC", "1111"}, // segment 1000: byte address 10000, above 64 KiB
        {":020000020001FB", "1111"}, // any segment but 0000 moves the records away
        {":020000020000FC", "0009"}, // segment 0000: records stay where they are
    };
    for (const Case &c : cases) {
        MemoryImage image;
        image.FillProgramImage("1111");
        const QByteArray text = QByteArray(c.segmentRecord) +
                                "\n:020000000900F5\n" // word 0
                                ":020000020000FC\n"   // back to segment 0000
                                ":020002000200FA\n"   // word 1
                                ":00000001FF\n";
        Load(image, text.constData(), {.Program = true});
        EXPECT_EQ(image.GetProgramWordText(0), c.word0) << c.segmentRecord;
        EXPECT_EQ(image.GetProgramWordText(1), "0002") << c.segmentRecord;
    }
}

TEST(HexReader, RecordsWithoutWordsDeliverNothing)
{
    MemoryImage image;
    image.ConfigWord = 0x1234;
    const HexLoadResult r = Load(image, ":00400E00B2\r\n:00400000C0\r\n:0000000000\r\n");
    EXPECT_FALSE(r.ConfigFound || r.IDCodeFound || r.ProgramFound);
    EXPECT_EQ(image.ConfigWord, 0x1234);
    EXPECT_EQ(image.IDCodeText, "FFFF");
}

TEST(HexReader, UnreadableFileIsAFileErrorAndLeavesTheImage)
{
    QTemporaryDir dir;
    MemoryImage image;
    const char *paths[] = {"missing.hex", ""};
    for (const char *name : paths) {
        const QString path = name[0] ? dir.filePath(name) : dir.path(); // a directory
        const HexLoadResult r = LoadHexFile(path, image, Device("16f84"), kAllTargets);
        EXPECT_FALSE(r.FileError.isEmpty()) << name;
        EXPECT_TRUE(r.FileError.contains(path)) << r.FileError.toStdString();
    }
    EXPECT_EQ(image.GetProgramWordText(0), "3FFF");
}

// Words 2007, 2008 and 2009 in one record: a part with a second configuration word takes 2008
// as it; the calibration word at 2009 is the chip's and never comes from a file; a part with
// one configuration word leaves 2008 out too.
TEST(HexReader, TheSecondConfigurationWordOnlyForThePartsThatHaveOne)
{
    struct Case
    {
        const char *device;
        bool secondFound;
        uint16_t second;
        const char *report;
    };
    const Case cases[] = {
        {"16f887", true, 0x3EFF,
         "1 word at 2009 lies in configuration space but is neither the 16f887's ID locations "
         "(2000-2003) nor its configuration words (2007, 2008), and was left out"},
        {"16f877a", false, 0x3FFF,
         "2 words at 2008-2009 lie in configuration space but are neither the 16f877a's ID "
         "locations (2000-2003) nor its configuration word (2007), and were left out"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.device);
        MemoryImage image;
        const HexLoadResult r =
            Load(image, ":06400E00D42FFF3E341226\r\n:00000001FF\r\n", {.Config = true}, c.device);
        EXPECT_EQ(image.ConfigWord, 0x2FD4);
        EXPECT_EQ(r.SecondConfigFound, c.secondFound);
        EXPECT_EQ(image.SecondConfigWord, c.second);
        EXPECT_EQ(r.Report, c.report);
    }
}

} // namespace
