#include "device/ConfigControls.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/DeviceTable.h"
#include "device/MemoryImage.h"

#include <gtest/gtest.h>

namespace {

// Relations between the catalogue's columns and the rules: a mistyped cell or a rule that
// drifts from the table shows up on some row.
TEST(DeviceRules, TheCoreWidthAgreesWithEveryColumnThatDependsOnIt)
{
    for (const DeviceRecord &d : DeviceTable()) {
        if (!DeviceFamily::HasAlgorithms(d.DeviceFamily))
            continue;
        SCOPED_TRACE(d.DeviceName.toStdString());
        const bool twelve = HasTwelveBitCore(d);
        EXPECT_EQ(twelve, IsTwelveBitCore(d.DeviceType));
        EXPECT_EQ(twelve, d.ConfigAddress == 0x0FFF);
        EXPECT_EQ(BlankWordText(d.DeviceType), FormatHex(BlankWord(d), 4));
        EXPECT_EQ(ConfigWordMask(d), WordMask(d));
        EXPECT_EQ(ConfigBitsUsed(d) & ~ConfigWordMask(d), 0) << "a control beyond the width";
        EXPECT_EQ(CalibrationAddress(d).has_value(), d.HasCalibration != 0);
    }
}

// A bit the controls do not use must not change what they show, or the checksum would leave
// out something the user set.
TEST(DeviceRules, BitsOutsideTheUsedOnesDoNotReachTheControls)
{
    for (const DeviceRecord &d : DeviceTable()) {
        SCOPED_TRACE(d.DeviceName.toStdString());
        const uint16_t unused = static_cast<uint16_t>(~ConfigBitsUsed(d) & 0x3FFF);
        for (uint16_t word : {uint16_t{0x0000}, uint16_t{0x3FFF}, uint16_t{0x2A5A}}) {
            const ConfigControls before = ConfigToControls(word, d, {});
            EXPECT_EQ(ConfigToControls(word ^ unused, d, {}), before) << word;
        }
    }
}

TEST(DeviceRules, ChecksumSumsTheWholeProgramMemoryAndTheUsedConfigurationBits)
{
    MemoryImage image;
    const DeviceRecord f84 = *FindDevice("16f84");
    image.FillProgramImage("3FFF");
    image.ConfigWord = 0x3FFF;
    EXPECT_EQ(ImageChecksum(image, f84), 0x3BFF);

    // Words beyond the device, the ID code and data memory do not count; case does not matter.
    image.SetProgramWordText(0x0400, "1234");
    image.IDCodeText = "1234";
    image.FillDataImage("00");
    image.SetProgramWordText(0x0000, "3ffe");
    EXPECT_EQ(ImageChecksum(image, f84), 0x3BFE);

    const DeviceRecord c54 = *FindDevice("16c54");
    image.FillProgramImage("FFFF"); // masked to 12 bits: 0x200 words of 0FFF
    image.ConfigWord = 0xFFFF;
    EXPECT_EQ(ImageChecksum(image, c54), static_cast<uint16_t>(0x200 * 0x0FFF + ConfigBitsUsed(c54)));
}

} // namespace
