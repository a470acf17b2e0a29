#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "hexfile/HexReader.h"
#include "hexfile/HexWriter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A file saved for a device and loaded again for it gives back every cell, the
// configuration word and the ID code, whatever the device's layout in the file. Digits come
// back in upper case, whatever case the saved cells held.
class HexRoundTrip : public testing::TestWithParam<int>
{
};

// Distinct words at every address, some in lower case, which the writer copies as they are.
QString WordText(int address, int row)
{
    const QString text = FormatHex(static_cast<uint32_t>((address * 41 + row * 7) & 0x3FFF), 4);
    return address % 3 == 0 ? text.toLower() : text;
}

TEST_P(HexRoundTrip, SavedFileLoadsBackTheSameImage)
{
    const int row = GetParam();
    const DeviceRecord device = DevicesInUse().at(static_cast<size_t>(row));
    const int progLast = static_cast<int>(*ParseHexText(device.ProgMaxText));
    const int dataLast = static_cast<int>(*ParseHexText(device.DataMaxText));
    const HexTargets targets{
        .Program = true, .Data = device.HasDataMemory != 0, .Config = true, .IDCode = true};

    MemoryImage saved;
    for (int a = 0; a <= progLast; ++a)
        saved.SetProgramWordText(a, WordText(a, row));
    for (int a = 0; a <= dataLast; ++a)
        saved.SetDataByteText(a, WordText(a, row).right(2));
    // A word the device can hold: 12 bits on the 12-bit parts.
    saved.ConfigWord = static_cast<uint16_t>((0x3F00 | row) & ConfigWordMask(device));
    saved.SecondConfigWord = static_cast<uint16_t>(0x3900 | row);
    saved.IDCodeText = QStringLiteral("1a%1").arg(row % 100, 2, 10, QLatin1Char('0'));

    QTemporaryDir dir;
    const QString path = dir.filePath("image.hex");
    const HexSaveResult r = SaveHexFile(path, saved, device, targets,
                                        {"0000", device.ProgMaxText, "00", device.DataMaxText});
    ASSERT_TRUE(r.Ok()) << r.Message.toStdString();

    MemoryImage loaded;
    loaded.FillProgramImage("0000");
    loaded.FillDataImage("00");
    const HexLoadResult l = LoadHexFile(path, loaded, device, targets);
    EXPECT_EQ(l.Report, "File loaded successfully") << device.DeviceName.toStdString();
    for (int a = 0; a <= progLast; ++a)
        ASSERT_EQ(loaded.GetProgramWordText(a), saved.GetProgramWordText(a).toUpper()) << a;
    if (progLast + 1 < MemoryImage::kProgramWords) {
        EXPECT_EQ(loaded.GetProgramWordText(progLast + 1), "0000"); // nothing past the device
    }
    if (targets.Data) {
        for (int a = 0; a <= dataLast; ++a)
            ASSERT_EQ(loaded.GetDataByteText(a), saved.GetDataByteText(a).toUpper()) << a;
    }
    EXPECT_EQ(loaded.ConfigWord, saved.ConfigWord);
    EXPECT_EQ(l.ConfigEditText, FormatHex(saved.ConfigWord, 4));
    // The second configuration word travels only for the parts that have one (16F88X).
    EXPECT_EQ(l.SecondConfigFound, SecondConfigAddress(device).has_value());
    EXPECT_EQ(loaded.SecondConfigWord, l.SecondConfigFound ? saved.SecondConfigWord : 0x3FFF);
    EXPECT_EQ(loaded.IDCodeText, saved.IDCodeText.toUpper());
}

INSTANTIATE_TEST_SUITE_P(
    EveryDevice, HexRoundTrip, testing::Range(0, 53), [](const testing::TestParamInfo<int> &param) {
        return DevicesInUse().at(static_cast<size_t>(param.param)).DeviceName.toStdString();
    });

} // namespace
