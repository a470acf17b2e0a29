#include "device/MemoryImage.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(MemoryImage, CellPositionsLeaveRoomForHeaders)
{
    EXPECT_EQ(ProgramCell(0x0000), (CellPosition{1, 1}));
    EXPECT_EQ(ProgramCell(0x0013), (CellPosition{4, 2}));
    EXPECT_EQ(ProgramCell(0x1FFF), (CellPosition{16, 512}));
    EXPECT_EQ(DataCell(0x3F), (CellPosition{16, 4}));
    EXPECT_EQ(DataCell(0xFF), (CellPosition{16, 16}));
}

TEST(MemoryImage, TextIsKeptExactlyAsStored)
{
    MemoryImage image;
    const char *texts[] = {"3fff", "3FFF", "12", "", " 1A ", "zz"};
    int address = 0;
    for (const char *text : texts) {
        image.SetProgramWordText(address, text);
        image.SetDataByteText(address, text);
        EXPECT_EQ(image.GetProgramWordText(address), text);
        EXPECT_EQ(image.GetDataByteText(address), text);
        ++address;
    }
}

TEST(MemoryImage, FillsSetEveryCellAndNothingElse)
{
    MemoryImage image;
    image.ConfigWord = 0x1234;
    image.IDCodeText = "1234";
    image.SetDataByteText(5, "3C");
    image.FillProgramImage("0FFF");
    for (int a = 0; a < MemoryImage::kProgramWords; ++a)
        ASSERT_EQ(image.GetProgramWordText(a), "0FFF") << a;
    EXPECT_EQ(image.GetDataByteText(5), "3C");
    image.FillDataImage("00");
    for (int a = 0; a < MemoryImage::kDataBytes; ++a)
        ASSERT_EQ(image.GetDataByteText(a), "00") << a;
    EXPECT_EQ(image.ConfigWord, 0x1234);
    EXPECT_EQ(image.IDCodeText, "1234");
}

TEST(MemoryImage, ReadsOutsideTheImageAreEmptyAndWritesAreIgnored)
{
    MemoryImage image;
    int changes = 0;
    QObject::connect(&image, &MemoryImage::programCellChanged, [&](int) { ++changes; });
    QObject::connect(&image, &MemoryImage::dataCellChanged, [&](int) { ++changes; });
    for (int address : {-1, 0x2000, 0xFFFF, 0x12345}) {
        EXPECT_TRUE(image.GetProgramWordText(address).isEmpty());
        image.SetProgramWordText(address, "1111");
    }
    for (int address : {-1, 0x100, 0x4200}) {
        EXPECT_TRUE(image.GetDataByteText(address).isEmpty());
        image.SetDataByteText(address, "11");
    }
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(image.GetProgramWordText(0x1FFF), "3FFF");
}

TEST(MemoryImage, SignalsNameTheChangedCellOrTheFill)
{
    MemoryImage image;
    std::vector<QString> events;
    QObject::connect(&image, &MemoryImage::programCellChanged,
                     [&](int a) { events.push_back(QString("p%1").arg(a)); });
    QObject::connect(&image, &MemoryImage::dataCellChanged,
                     [&](int a) { events.push_back(QString("d%1").arg(a)); });
    QObject::connect(&image, &MemoryImage::programImageFilled, [&] { events.push_back("P"); });
    QObject::connect(&image, &MemoryImage::dataImageFilled, [&] { events.push_back("D"); });
    image.SetProgramWordText(0x13, "0001");
    image.SetDataByteText(0x3F, "AA");
    image.FillProgramImage("0000");
    image.FillDataImage("FF");
    EXPECT_EQ(events, (std::vector<QString>{"p19", "d63", "P", "D"}));
}

} // namespace
