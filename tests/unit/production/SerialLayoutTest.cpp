// Where a serial number goes in a chip's image, on both cores: the RETLW words a program
// reads back, the data EEPROM bytes and the ID code, and the locations a device refuses.
#include "production/SerialLayout.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

MemoryImage &BlankImage(MemoryImage &image, const DeviceRecord &device)
{
    image.FillProgramImage(BlankWordText(device));
    image.FillDataImage(QStringLiteral("FF"));
    image.IDCodeText = QStringLiteral("FFFF");
    return image;
}

TEST(SerialLayout, ParsesTheThreeForms)
{
    struct Case
    {
        const char *text;
        bool valid;
        SerialLocation location;
    };
    const Case cases[] = {
        {"id", true, {SerialPlace::IdCode, 0, 4}},
        {"ID", true, {SerialPlace::IdCode, 0, 4}},
        {"data:10", true, {SerialPlace::DataMemory, 0x10, 2}},
        {"data:3e:1", true, {SerialPlace::DataMemory, 0x3E, 1}},
        {"prog:0300:3", true, {SerialPlace::ProgramMemory, 0x300, 3}},
        {"PROG:1FF", true, {SerialPlace::ProgramMemory, 0x1FF, 2}},
        {"prog:0300:8", true, {SerialPlace::ProgramMemory, 0x300, 8}},
        {"prog:0300:9", false, {}},
        {"data:10:0", false, {}},
        {"data:", false, {}},
        {"data:xyz", false, {}},
        {"id:2", false, {}},
        {"eeprom:10", false, {}},
        {"prog:10000", false, {}},
        {"data:10:2:1", false, {}},
    };
    for (const Case &c : cases) {
        QString error;
        const auto location = ParseSerialLocation(QString::fromLatin1(c.text), error);
        EXPECT_EQ(location.has_value(), c.valid) << c.text;
        if (c.valid && location) {
            EXPECT_EQ(*location, c.location) << c.text;
        } else {
            EXPECT_TRUE(error.contains(QLatin1String("prog:AAAA[:N]"))) << c.text;
        }
    }
}

TEST(SerialLayout, RefusesLocationsTheDeviceLacks)
{
    struct Case
    {
        const char *device;
        SerialLocation location;
        const char *refusal; // a part of the reason; nullptr when the location fits
    };
    const Case cases[] = {
        {"16f84", {SerialPlace::DataMemory, 0x3E, 2}, nullptr},
        {"16f84", {SerialPlace::DataMemory, 0x3F, 2}, "data 3F-40 reaches beyond the 16f84's"},
        {"16f84", {SerialPlace::ProgramMemory, 0x3FE, 2}, nullptr},
        {"16f84", {SerialPlace::ProgramMemory, 0x3FF, 2}, "prog 03FF-0400 reaches beyond"},
        {"16c54", {SerialPlace::DataMemory, 0x00, 2}, "the 16c54 has no data memory"},
        {"16c54", {SerialPlace::IdCode, 0, 4}, nullptr},
        {"16c54", {SerialPlace::ProgramMemory, 0x1FE, 2}, nullptr},
        // The 12c508 keeps the factory's calibration word at 01FF.
        {"12c508", {SerialPlace::ProgramMemory, 0x1FD, 2}, nullptr},
        {"12c508",
         {SerialPlace::ProgramMemory, 0x1FE, 2},
         "would replace the 12c508's "
         "calibration word at 01FF"},
    };
    for (const Case &c : cases) {
        const auto refusal = SerialLocationRefusal(c.location, *FindDevice(c.device));
        EXPECT_EQ(refusal.has_value(), c.refusal != nullptr)
            << c.device << " " << SerialLocationText(c.location).toStdString();
        if (refusal && c.refusal) {
            EXPECT_TRUE(refusal->contains(QLatin1String(c.refusal))) << refusal->toStdString();
        }
    }
}

TEST(SerialLayout, PlacesTheNumberLeastSignificantByteFirst)
{
    struct Case
    {
        const char *device;
        SerialLocation location;
        std::uint64_t number;
        std::vector<const char *> cells; // program words, data bytes or the ID code
    };
    const Case cases[] = {
        // 14-bit core: RETLW k is 34kk.
        {"16f84", {SerialPlace::ProgramMemory, 0x300, 3}, 0x0A0B0C, {"340C", "340B", "340A"}},
        // 12-bit core: RETLW k is 08kk.
        {"16c54", {SerialPlace::ProgramMemory, 0x040, 2}, 1000, {"08E8", "0803"}},
        {"12c508", {SerialPlace::ProgramMemory, 0x000, 1}, 0xFF, {"08FF"}},
        {"16f84", {SerialPlace::DataMemory, 0x10, 2}, 0x1234, {"34", "12"}},
        {"16f877", {SerialPlace::DataMemory, 0xFC, 4}, 0x01020304, {"04", "03", "02", "01"}},
        {"16f84", {SerialPlace::IdCode, 0, 4}, 0xBEEF, {"BEEF"}},
        {"12c508", {SerialPlace::IdCode, 0, 4}, 42, {"002A"}},
    };
    for (const Case &c : cases) {
        const DeviceRecord device = *FindDevice(c.device);
        MemoryImage image;
        BlankImage(image, device);
        EXPECT_FALSE(ImageHasDataAt(image, c.location, device)) << c.device;
        PlaceSerial(image, c.location, device, c.number);
        std::vector<QString> cells;
        for (int i = 0; i < static_cast<int>(c.cells.size()); ++i) {
            const int address = c.location.address + i;
            if (c.location.place == SerialPlace::ProgramMemory)
                cells.push_back(image.GetProgramWordText(address));
            else if (c.location.place == SerialPlace::DataMemory)
                cells.push_back(image.GetDataByteText(address));
            else
                cells.push_back(image.IDCodeText);
        }
        for (std::size_t i = 0; i < cells.size(); ++i)
            EXPECT_EQ(cells[i], QLatin1String(c.cells[i])) << c.device << " cell " << i;
        // The words around the location stay as they were.
        if (c.location.place == SerialPlace::ProgramMemory) {
            EXPECT_EQ(image.GetProgramWordText(c.location.address + c.location.count),
                      BlankWordText(device))
                << c.device;
        }
        EXPECT_TRUE(ImageHasDataAt(image, c.location, device)) << c.device;
    }
}

} // namespace
