// The 23 parts added from the manufacturer's programming guides: relations between their
// columns that a mistyped number breaks, and what their named fields build.
#include "device/catalogue/Catalogue.h"
#include "device/catalogue/PartAlgorithms.h"
#include "device/catalogue/PartConfigMapping.h"
#include "device/catalogue/PartRecord.h"

#include <gtest/gtest.h>

namespace {

const Catalogue &Shipped()
{
    static const Catalogue catalogue = LoadCatalogue(ShippedPartsFolder(), QString());
    return catalogue;
}

std::vector<const PartDefinition *> NewParts()
{
    std::vector<const PartDefinition *> parts;
    for (const PartDefinition &part : Shipped().parts) {
        if (!part.confirmedOnHardware)
            parts.push_back(&part);
    }
    return parts;
}

TEST(NewParts, AreTheTwentyThreeAndAllCarryADeviceId)
{
    ASSERT_EQ(NewParts().size(), 23u);
    for (const PartDefinition *part : NewParts())
        EXPECT_TRUE(part->deviceId.has_value()) << qPrintable(part->name);
}

TEST(NewParts, NameEveryImplementedBitAndSumAllButTheBandGap)
{
    for (const PartDefinition *part : NewParts()) {
        for (const ConfigWordDef &word : part->config) {
            uint16_t named = 0;
            for (const ConfigField &field : word.fields)
                named |= field.mask;
            EXPECT_EQ(named, word.implemented) << qPrintable(part->name);
            uint16_t bandGap = 0;
            for (const CalibrationDef &cal : part->calibration)
                bandGap |= cal.kind == CalibrationKind::BandGap && cal.address == word.address
                               ? cal.mask
                               : 0;
            EXPECT_EQ(word.checksumMask, word.implemented & ~bandGap) << qPrintable(part->name);
        }
    }
}

TEST(NewParts, BulkErasedPartsKeepTheirCalibrationOutOfReach)
{
    // A part whose code 8 only programs is erased first; whatever the factory calibrated must be
    // a calibration value of the file, or the erase loses it.
    for (const char *name : {"12f629", "12f675", "16f630", "16f676"}) {
        const PartDefinition *part = Shipped().Find(QLatin1String(name));
        ASSERT_NE(part, nullptr);
        ASSERT_NE(LastWordCalibration(*part), nullptr) << name;
        EXPECT_EQ(LastWordCalibration(*part)->kind, CalibrationKind::RetlwLastWord);
        EXPECT_TRUE(ToDeviceRecord(*part).HasCalibration);
    }
    for (const char *name : {"12f683", "16f690", "16f882", "16f887"}) {
        const PartDefinition *part = Shipped().Find(QLatin1String(name));
        ASSERT_NE(part, nullptr);
        ASSERT_EQ(part->calibration.size(), 1u) << name;
        EXPECT_EQ(part->calibration[0].kind, CalibrationKind::ConfigWord);
        EXPECT_FALSE(ToDeviceRecord(*part).HasCalibration) << "no calibration box for " << name;
    }
}

struct BuildCase
{
    const char *part;
    bool all; // "All" checked instead of "None"
    uint16_t expected;
};

class NewPartBuild : public testing::TestWithParam<BuildCase>
{
};

// Right after selection, nothing ticked, built on the blank word: the bits no option control
// stands for come out at their blank value (unimplemented bits, and WRT, BOREN, IESO, FCMEN,
// band-gap: off or erased), the active-low boxes write their 1, and the oscillator is the selected
// item.
TEST_P(NewPartBuild, FromFreshControls)
{
    const BuildCase c = GetParam();
    const PartDefinition *part = Shipped().Find(QLatin1String(c.part));
    ASSERT_NE(part, nullptr);
    ConfigControls controls = PartControlsAfterSelection(*part, ConfigControls{});
    controls.ProtNoneBtn = !c.all;
    controls.ProtAllBtn = c.all;
    EXPECT_EQ(PartControlsToConfig(controls, *part, part->config.front().blank), c.expected);
    // Reading the word back selects the same protection choice.
    const ConfigControls read = PartConfigToControls(c.expected, *part, ConfigControls{});
    EXPECT_EQ(read.ProtAllBtn, c.all);
    EXPECT_EQ(read.ProtNoneBtn, !c.all);
}

INSTANTIATE_TEST_SUITE_P(Examples, NewPartBuild,
                         testing::Values(BuildCase{"16f877a", false, 0x3F3B},
                                         BuildCase{"16f877a", true, 0x1F3B},
                                         BuildCase{"12f675", false, 0x3197},
                                         BuildCase{"16f690", true, 0x3F97},
                                         BuildCase{"16f84a", false, 0x3FFB}));

// A word loaded from a file keeps the fields the System page does not show (BOREN, IESO, FCMEN on
// the 16F887) when the controls build it again, and the unimplemented bits read as their blank.
TEST(NewParts, BuildingKeepsTheFieldsWithoutASystemPageControl)
{
    const PartDefinition *part = Shipped().Find(QStringLiteral("16f887"));
    ASSERT_NE(part, nullptr);
    for (uint16_t word : {uint16_t{0x20D4}, uint16_t{0x3CFF}, uint16_t{0x0BE1}}) {
        const ConfigControls read = PartConfigToControls(word, *part, ConfigControls{});
        EXPECT_EQ(PartControlsToConfig(read, *part, word), word) << word;
        // Whatever word was there before: the loaded word's fields come from the word itself.
        EXPECT_EQ(PartControlsToConfig(read, *part, word) & 0x0F00, word & 0x0F00);
    }
    const PartDefinition *a877 = Shipped().Find(QStringLiteral("16f877a"));
    ASSERT_NE(a877, nullptr);
    ConfigControls c = PartControlsAfterSelection(*a877, ConfigControls{});
    EXPECT_EQ(PartControlsToConfig(c, *a877, 0x0000) & 0x1030, 0x1030) << "unimplemented bits";
    EXPECT_EQ(PartControlsToConfig(c, *a877, 0x0000) & 0x0600, 0x0000) << "WRT from the word";
}

TEST(NewParts, AllCodeProtectClearsOnlyTheProtectionBits)
{
    const PartDefinition *part = Shipped().Find(QStringLiteral("16f887"));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(PartAllCodeProtectWord(*part, 0x3FFF, ConfigControls{}), 0x3FBF);
    EXPECT_EQ(PartConfigBitsUsed(*part), 0x30FF); // FOSC..CPD, LVP, DEBUG; not BOREN, IESO, FCMEN
}

} // namespace
