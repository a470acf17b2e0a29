#include "hexfile/HexWriter.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "hexfile/HexRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

DeviceRecord Device(const char *name)
{
    return *FindDevice(QString::fromLatin1(name));
}

const HexAddressTexts k16f84Ranges{"0000", "03FF", "00", "3F"};

// The file's lines without their CR LF ends; fails the test when a line ends otherwise.
QStringList Lines(const QByteArray &text)
{
    EXPECT_TRUE(text.endsWith("\r\n"));
    QStringList lines = QString::fromLatin1(text).split(QStringLiteral("\r\n"));
    lines.removeLast();
    for (const QString &line : lines)
        EXPECT_FALSE(line.contains('\r') || line.contains('\n')) << line.toStdString();
    return lines;
}

QStringList Save(const MemoryImage &image, const HexTargets &targets, const HexAddressTexts &ranges,
                 const char *device = "16f84")
{
    QByteArray text;
    const HexSaveResult r = BuildHexFileText(image, Device(device), targets, ranges, text);
    EXPECT_TRUE(r.Ok()) << r.Message.toStdString();
    return Lines(text);
}

// Length and address fields of each record, e.g. "100000" for 16 bytes at 0000.
QStringList Heads(const QStringList &lines)
{
    QStringList heads;
    for (const QString &line : lines)
        heads << line.mid(1, 6);
    return heads;
}

TEST(HexWriter, ProgramRangeIsCutIntoRecordsOfEightWords)
{
    struct Case
    {
        const char *start, *end;
        QStringList heads;
    };
    const Case cases[] = {
        {"0000", "0013", {"100000", "100010", "080020", "000000"}},
        {"0000", "0007", {"100000", "000000"}},
        {"0003", "0003", {"020006", "000000"}},
        {"0100", "00FF", {"000000"}},           // start = end + 1: empty
        {"0200", "0000", {"000000"}},           // start far above end: empty
        {"1FFC", "FFFF", {"083FF8", "000000"}}, // stops at the end of the image
        {"2000", "2FFF", {"000000"}},           // wholly beyond the image
    };
    MemoryImage image;
    for (const Case &c : cases) {
        const QStringList lines = Save(image, {.Program = true}, {c.start, c.end, "00", "3F"});
        EXPECT_EQ(Heads(lines), c.heads) << c.start << '-' << c.end;
        EXPECT_EQ(lines.last(), kHexEndOfFileRecord);
    }
}

TEST(HexWriter, DataBytesTravelAsLowBytesFrom4200)
{
    MemoryImage image;
    image.SetDataByteText(0, "3F");
    const QStringList lines = Save(image, {.Data = true}, k16f84Ranges);
    ASSERT_EQ(lines.size(), 9);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(lines[i].mid(1, 6), QStringLiteral("10%1").arg(0x4200 + 16 * i, 4, 16).toUpper());
    EXPECT_EQ(lines[0], ":104200003F00FF00FF00FF00FF00FF00FF00FF0076");
    EXPECT_EQ(BuildDataRecord(image, 0, 1).Line, ":024200003F007D");
}

TEST(HexWriter, WordsAreWrittenLowByteFirstAsStored)
{
    struct Case
    {
        const char *cell;
        const char *line;
    };
    const Case cases[] = {
        {"3FFF", ":02000000FF3FC0"},
        {"3fff", ":02000000ff3fC0"}, // case kept, computed fields upper case
        {"0aBc", ":02000000Bc0a38"},
    };
    for (const Case &c : cases) {
        MemoryImage image;
        image.SetProgramWordText(0, c.cell);
        const BuiltRecord r = BuildProgramRecord(image, 0, 1);
        EXPECT_TRUE(r.Ok());
        EXPECT_EQ(r.Line, c.line);
        EXPECT_TRUE(ParseHexRecord(r.Line)) << r.Line.toStdString();
    }
    MemoryImage image;
    for (int a = 0; a < 4; ++a)
        image.SetProgramWordText(a, QStringLiteral("000%1").arg(a + 1));
    EXPECT_EQ(BuildProgramRecord(image, 0, 4).Line, ":080000000100020003000400EE");
}

TEST(HexWriter, ConfigurationAndIdRecords)
{
    EXPECT_EQ(BuildConfigRecord(0x3FF1, Device("16f84")), ":02400E00F13F80");
    EXPECT_EQ(BuildConfigRecord(0x0FF3, Device("12c508")), ":021FFE00F30FDF");
    struct Case
    {
        const char *device;
        const char *id;
        const char *line;
    };
    const Case cases[] = {
        {"16f84", "1234", ":084000000100020003000400AE"},
        {"16f84", "12", ":08400000010002000F000F0097"}, // completed with F
        {"16f84", "", ":084000000F000F000F000F007C"},
        {"16f84", "123456", ":084000000100020003000400AE"}, // first four digits
        {"16f84", "abcd", ":084000000a000b000c000d008A"},
        {"12c508", "1234", ":080400000100020003000400EA"},
        {"16c71", "1234", ":084000000100020003000400AE"}, // 14-bit ID locations
    };
    for (const Case &c : cases) {
        const BuiltRecord r = BuildIDCodeRecord(c.id, Device(c.device));
        EXPECT_TRUE(r.Ok());
        EXPECT_EQ(r.Line, c.line) << c.device << ' ' << c.id;
    }
}

TEST(HexWriter, SectionsComeInFixedOrder)
{
    MemoryImage image;
    image.ConfigWord = 0x3FF1;
    image.IDCodeText = "1234";
    const QStringList lines =
        Save(image, {.Program = true, .Data = true, .Config = true, .IDCode = true},
             {"0000", "0007", "00", "07"});
    EXPECT_EQ(lines, (QStringList{":10000000FF3FFF3FFF3FFF3FFF3FFF3FFF3FFF3F00",
                                  ":10420000FF00FF00FF00FF00FF00FF00FF00FF00B6", ":02400E00F13F80",
                                  ":084000000100020003000400AE", ":00000001FF"}));
}

TEST(HexWriter, AnyAddressFieldThatDoesNotConvertStopsTheSave)
{
    const HexAddressTexts cases[] = {
        {"0000", "12 4", "00", "3F"},
        {"0000", "03FF", "00", "3 "}, // data field checked with program only ticked
        {"", "03FF", "00", "3F"},
        {"00x0", "03FF", "00", "3F"},
    };
    MemoryImage image;
    for (const HexAddressTexts &ranges : cases) {
        QByteArray text = "untouched";
        const HexSaveResult r =
            BuildHexFileText(image, Device("16f84"), {.Program = true}, ranges, text);
        EXPECT_EQ(r.Status, HexSaveStatus::AddressError);
        EXPECT_EQ(r.Message, "Min or Max Address Error!");
        EXPECT_EQ(text, "untouched");
        EXPECT_FALSE(ParseAddressRanges(ranges));
    }
}

TEST(HexWriter, NonHexCellsNameTheTextAndTheCell)
{
    struct Case
    {
        const char *programCell, *dataCell, *id;
        HexTargets targets;
        const char *message, *location;
    };
    const Case cases[] = {
        {"3FGF",
         "FF",
         "FFFF",
         {.Program = true, .Data = true, .Config = true, .IDCode = true},
         "'$GF' is not a valid integer value",
         "program word 0013"},
        {"G0FF",
         "FF",
         "FFFF",
         {.Program = true},
         "'$G0' is not a valid integer value",
         "program word 0013"},
        {"FFF",
         "FF",
         "FFFF",
         {.Program = true},
         "'$FFF' is not a valid integer value",
         "program word 0013"},
        {"3FFF",
         "X1",
         "FFFF",
         {.Program = true, .Data = true},
         "'$X1' is not a valid integer value",
         "data byte 13"},
        {"3FFF",
         "FF",
         "12_4",
         {.Program = true, .Data = true, .Config = true, .IDCode = true},
         "'$_' is not a valid integer value",
         "ID code"},
        {"3FGF", "X1", "12_4", {.Config = true}, "", ""}, // not ticked: no error
    };
    for (const Case &c : cases) {
        MemoryImage image;
        image.SetProgramWordText(0x13, c.programCell);
        image.SetDataByteText(0x13, c.dataCell);
        image.IDCodeText = c.id;
        QByteArray text;
        const HexSaveResult r =
            BuildHexFileText(image, Device("16f84"), c.targets, k16f84Ranges, text);
        EXPECT_EQ(r.Message, c.message) << c.programCell << ' ' << c.dataCell << ' ' << c.id;
        EXPECT_EQ(r.Location, c.location);
        EXPECT_EQ(r.Status, *c.message ? HexSaveStatus::ConversionError : HexSaveStatus::Ok);
    }
}

TEST(HexWriter, FailedSaveLeavesAnExistingFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.hex");
    const QByteArray before = ":020000000100FD\r\n:00000001FF\r\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    MemoryImage image;
    image.SetProgramWordText(0x200, "3F?F");
    const HexSaveResult r =
        SaveHexFile(path, image, Device("16f84"), {.Program = true}, k16f84Ranges);
    EXPECT_EQ(r.Status, HexSaveStatus::ConversionError);
    EXPECT_EQ(r.Location, "program word 0200");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.hex"});
}

TEST(HexWriter, SaveWritesTheBuiltTextOrReportsTheFileError)
{
    QTemporaryDir dir;
    MemoryImage image;
    const HexTargets targets{.Config = true};
    const HexSaveResult saved =
        SaveHexFile(dir.filePath("out.hex"), image, Device("16f84"), targets, k16f84Ranges);
    EXPECT_TRUE(saved.Ok());
    QFile file(dir.filePath("out.hex"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ":02400E000000B0\r\n:00000001FF\r\n");

    const HexSaveResult failed = SaveHexFile(dir.filePath("no/such/dir/out.hex"), image,
                                             Device("16f84"), targets, k16f84Ranges);
    EXPECT_EQ(failed.Status, HexSaveStatus::FileError);
    EXPECT_TRUE(failed.Message.contains("out.hex")) << failed.Message.toStdString();
}

} // namespace
