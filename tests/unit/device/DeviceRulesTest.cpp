#include "device/DeviceRules.h"
#include "device/AllCodeProtect.h"
#include "device/ConfigControls.h"
#include "device/DeviceOptions.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "device/catalogue/PartDefinition.h"

#include <gtest/gtest.h>

namespace {

// Relations between the catalogue's columns and the rules: a mistyped cell or a rule that
// drifts from the table shows up on some row.
TEST(DeviceRules, TheCoreWidthAgreesWithEveryColumnThatDependsOnIt)
{
    for (const DeviceRecord &d : DevicesInUse()) {
        if (!DeviceFamily::HasAlgorithms(d.DeviceFamily))
            continue;
        SCOPED_TRACE(d.DeviceName.toStdString());
        const bool twelve = HasTwelveBitCore(d);
        EXPECT_EQ(twelve, d.ConfigAddress == 0x0FFF);
        EXPECT_EQ(BlankWordText(d), FormatHex(BlankWord(d), 4));
        EXPECT_EQ(ConfigWordMask(d), WordMask(d));
        EXPECT_EQ(ConfigBitsUsed(d) & ~ConfigWordMask(d), 0) << "a control beyond the width";
        EXPECT_EQ(CalibrationAddress(d).has_value(), d.HasCalibration != 0);
        EXPECT_EQ(CalibrationInstruction(d, 0).has_value(), d.HasCalibration != 0);
    }
}

// The named behaviours that replaced row numbers keep to the columns they depend on.
TEST(DeviceRules, NamedBehavioursAgreeWithTheColumns)
{
    for (const DeviceRecord &d : DevicesInUse()) {
        SCOPED_TRACE(d.DeviceName.toStdString());
        ASSERT_TRUE(d.Part);
        EXPECT_TRUE(HasOscillatorList(d));
        // Only word-built protection keeps the protection words in the record.
        EXPECT_EQ(d.Part->config.front().protection == ProtectionStyle::Words, d.ProtMask != 0);
        // Switching methods and erasing are flash matters.
        if (ConfigSerialOnly(d) || ErasesByBulkCommands(d)) {
            EXPECT_EQ(d.DeviceFamily, DeviceFamily::kFlash14Bit);
        }
        EXPECT_EQ(d.PowerOnMode == PowerOnMode::k16C5x, d.DeviceFamily == DeviceFamily::k16C5x);
    }
    EXPECT_FALSE(HasOscillatorList(NoDeviceRecord()));
    EXPECT_EQ(NoDeviceRecord().PowerOnMode, PowerOnMode::k16C5x);
}

// All Code Protect by rule: a word that clears the protection bits reads back as All, and a
// part without a pattern gets its word back unchanged.
TEST(DeviceRules, AllCodeProtectWordFollowsTheDevicesRule)
{
    const struct
    {
        const char *device;
        std::uint16_t chipWord;
        std::uint16_t programmed;
    } rows[] = {
        {"16f628", 0x3FFF, 0x03FF},
        {"12ce674", 0x3FFF, 0x009F},
        {"16c715", 0x3F3A, 0x3F3A},
        {"16f876", 0x0FCF, 0x0FCF}, // already protected: stays as it is
    };
    for (const auto &r : rows) {
        const DeviceRecord d = *FindDevice(r.device);
        const ConfigControls controls = ConfigToControls(r.chipWord, d, {});
        EXPECT_EQ(AllCodeProtectWord(d, r.chipWord, controls), r.programmed) << r.device;
        if (d.Part->config.front().allCodeProtect == AllCodeProtect::ClearProtectionBits) {
            const ConfigControls after = ConfigToControls(r.programmed, d, controls);
            EXPECT_TRUE(after.ProtAllBtn) << r.device;
        }
    }
    // The generic layout: the All word with the options the chip had (16c84: 0060 with RC).
    const DeviceRecord c84 = *FindDevice("16c84");
    EXPECT_EQ(AllCodeProtectWord(c84, 0x3FF3, ConfigToControls(0x3FF3, c84, {})), 0x0063);
}

// A bit the controls do not use must not change what they show, or the checksum would leave
// out something the user set.
TEST(DeviceRules, BitsOutsideTheUsedOnesDoNotReachTheControls)
{
    for (const DeviceRecord &d : DevicesInUse()) {
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
    EXPECT_EQ(ImageChecksum(image, c54),
              static_cast<uint16_t>(0x200 * 0x0FFF + ConfigBitsUsed(c54)));
}

// On every flash part, the image of a blank chip, and of one with the manufacturer's pattern at
// the first and last user words, sums to the figures the part file publishes: the same rule the
// programming guides give (second configuration word included, the OSCCAL word left
// out).
TEST(DeviceRules, ChecksumOfABlankAndAPatternImageIsThePublishedOne)
{
    for (const DeviceRecord &d : DevicesInUse()) {
        // The EPROM parts keep the sum they always showed, by the bits the controls use.
        if (!d.Part || !d.Part->checksums || d.DeviceFamily != DeviceFamily::kFlash14Bit)
            continue;
        SCOPED_TRACE(d.DeviceName.toStdString());
        MemoryImage image;
        image.FillProgramImage(BlankWordText(d));
        image.ConfigWord = d.Part->config.front().blank;
        image.SecondConfigWord = SecondConfigBlank(d);
        EXPECT_EQ(ImageChecksum(image, d), d.Part->checksums->blank);
        const int lastUser = ProgMaxAddress(d) - (CalibrationSavedAcrossErase(d) ? 1 : 0);
        const QString pattern = FormatHex(d.Part->checksums->patternWord, 4);
        image.SetProgramWordText(0, pattern);
        image.SetProgramWordText(lastUser, pattern);
        EXPECT_EQ(ImageChecksum(image, d), d.Part->checksums->pattern);
        // A second configuration word counts with its checksum bits only.
        if (SecondConfigAddress(d)) {
            image.SecondConfigWord &= static_cast<uint16_t>(~0x0100);
            EXPECT_EQ(ImageChecksum(image, d),
                      static_cast<uint16_t>(d.Part->checksums->pattern - 0x0100));
        }
    }
}

} // namespace
