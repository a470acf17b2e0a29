#include "device/ConfigControls.h"
#include "device/catalogue/CatalogueInUse.h"

#include <gtest/gtest.h>

namespace {

DeviceRecord Device(const char *name)
{
    return *FindDevice(name);
}

// The controls right after picking the device with every box unchecked.
ConfigControls Fresh(const DeviceRecord &d)
{
    return ControlsAfterDeviceSelection(d, ConfigControls{});
}

struct BuildCase
{
    const char *device;
    int osc; // -1: keep the item selected with the device
    bool wdt, put, mclr;
    uint16_t expected;
};

class BuildFromControls : public testing::TestWithParam<BuildCase>
{
};

TEST_P(BuildFromControls, GivesTheWord)
{
    const BuildCase c = GetParam();
    const DeviceRecord d = Device(c.device);
    ConfigControls controls = Fresh(d);
    if (c.osc >= 0)
        controls.OscBox = c.osc;
    controls.WdtCbx = c.wdt;
    controls.PutCbx = c.put;
    controls.MClrCbx = c.mclr;
    EXPECT_EQ(ControlsToConfig(controls, d, 0), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, BuildFromControls,
                         testing::Values(BuildCase{"16f84", 3, false, false, false, 0x3FFB},
                                         BuildCase{"16f84", 3, true, false, false, 0x3FFF},
                                         BuildCase{"16f84", 0, false, true, false, 0x3FF0},
                                         BuildCase{"16c54", 3, false, false, false, 0x0FFB},
                                         BuildCase{"12c508", 3, false, false, true, 0x0FFB},
                                         BuildCase{"16f877", -1, false, false, false, 0x3D3B},
                                         BuildCase{"16f628", -1, false, false, false, 0x3F1B},
                                         BuildCase{"16f628a", -1, false, false, false, 0x3F1B},
                                         BuildCase{"16c84", 3, false, true, false, 0x3FFB}));

TEST(ConfigToControls, ActiveLowPowerUpTimerReadsChecked)
{
    const DeviceRecord d = Device("16f84");
    const ConfigControls c = ConfigToControls(0x3FF3, d, Fresh(d));
    EXPECT_EQ(c.OscBox, 3);
    EXPECT_FALSE(c.WdtCbx);
    EXPECT_TRUE(c.PutCbx);
    EXPECT_TRUE(c.ProtNoneBtn);
    EXPECT_FALSE(c.ProtAllBtn);
}

struct ProtectionRead
{
    const char *device;
    uint16_t word;
    bool none, up34, up12, all;
};

class ReadProtection : public testing::TestWithParam<ProtectionRead>
{
};

TEST_P(ReadProtection, SelectsTheMatchingChoice)
{
    const ProtectionRead p = GetParam();
    const DeviceRecord d = Device(p.device);
    const ConfigControls c = ConfigToControls(p.word, d, Fresh(d));
    EXPECT_EQ(c.ProtNoneBtn, p.none);
    EXPECT_EQ(c.ProtUp34Btn, p.up34);
    EXPECT_EQ(c.ProtUp12Btn, p.up12);
    EXPECT_EQ(c.ProtAllBtn, p.all);
}

INSTANTIATE_TEST_SUITE_P(
    Generic, ReadProtection,
    testing::Values(ProtectionRead{"16c61", 0x3FEF, false, false, false, true},
                    ProtectionRead{"16c61", 0x3FFF, true, false, false, false},
                    ProtectionRead{"16c64", 0x3F9F, false, true, false, false},
                    ProtectionRead{"16c64", 0x3FAF, false, false, true, false},
                    ProtectionRead{"16c64", 0x3F8F, false, false, false, true},
                    ProtectionRead{"16c64", 0x3FBF, true, false, false, false},
                    // A pattern no choice uses shows no choice at all.
                    ProtectionRead{"16c63", 0x3F0F, false, false, false, false},
                    // Without partial protection those two buttons stay unchecked even when
                    // the word carries their pattern.
                    ProtectionRead{"16c62", 0x3F9F, false, false, false, false}));

INSTANTIATE_TEST_SUITE_P(
    Fixed, ReadProtection,
    testing::Values(ProtectionRead{"16f628", 0x3FFF, true, false, false, false},
                    ProtectionRead{"16f628", 0x17FF, false, true, false, false},
                    ProtectionRead{"16f628", 0x2BFF, false, false, true, false},
                    ProtectionRead{"16f628", 0x03FF, false, false, false, true},
                    ProtectionRead{"16f628a", 0x3FFF, true, false, false, false},
                    ProtectionRead{"16f628a", 0x1FFF, false, false, false, true},
                    ProtectionRead{"16f877", 0x2FEF, false, true, false, false},
                    ProtectionRead{"12ce674", 0x2A5F, false, false, true, false},
                    ProtectionRead{"16c715", 0x15DF, false, true, false, false}));

TEST(ConfigToControls, FixedLayoutKeepsThePreviousChoiceForAnUnknownPattern)
{
    const DeviceRecord d = Device("16f628");
    ConfigControls before = Fresh(d);
    before.ProtNoneBtn = false;
    before.ProtUp12Btn = true;
    const ConfigControls after = ConfigToControls(0x3BFF, d, before); // bits 13-10 = 1110
    EXPECT_TRUE(after.ProtUp12Btn);
    EXPECT_FALSE(after.ProtNoneBtn);
}

TEST(ConfigToControls, Layout628aNeverLeavesPartialChoicesChecked)
{
    const DeviceRecord d = Device("16f628a");
    ConfigControls before = Fresh(d);
    before.ProtUp34Btn = true;
    before.ProtUp12Btn = true;
    const ConfigControls after = ConfigToControls(0x3FFF, d, before);
    EXPECT_TRUE(after.ProtNoneBtn);
    EXPECT_FALSE(after.ProtUp34Btn);
    EXPECT_FALSE(after.ProtUp12Btn);
}

TEST(ConfigToControls, GenericLayoutLeavesBoxesTheDeviceLacks)
{
    const DeviceRecord d = Device("16c54"); // watchdog only
    ConfigControls before = Fresh(d);
    before.LvpCbx = true; // a state the window would never show, kept as it is
    before.BOutCbx = true;
    const ConfigControls after = ConfigToControls(0x0000, d, before);
    EXPECT_TRUE(after.LvpCbx);
    EXPECT_TRUE(after.BOutCbx);
    EXPECT_FALSE(after.WdtCbx);
}

TEST(ConfigToControls, FixedLayoutReadsEveryBoxOfTheLayout)
{
    const DeviceRecord d = Device("16f877");
    const ConfigControls c = ConfigToControls(0x3FFF, d, Fresh(d));
    EXPECT_TRUE(c.WdtCbx);
    EXPECT_FALSE(c.PutCbx); // active low
    EXPECT_TRUE(c.BOutCbx);
    EXPECT_TRUE(c.LvpCbx);
    EXPECT_FALSE(c.CpdCbx);
    EXPECT_TRUE(c.WrtCbx);
    EXPECT_FALSE(c.DebugCbx);
    EXPECT_EQ(c.OscBox, 3);
}

TEST(ConfigMapping, OscillatorBitsOf628LayoutsAndTheEightItemList)
{
    const DeviceRecord d628 = Device("16f628");
    for (int index = 0; index < 8; ++index) {
        ConfigControls c = Fresh(d628);
        c.OscBox = index;
        const uint16_t word = ControlsToConfig(c, d628, 0);
        EXPECT_EQ(word & 0x3, index % 4);
        EXPECT_EQ((word >> 4) & 1, index >= 4 ? 1 : 0);
        EXPECT_EQ(ConfigToControls(word, d628, Fresh(d628)).OscBox, index);
    }
    const DeviceRecord d674 = Device("12ce674");
    ConfigControls c = Fresh(d674);
    EXPECT_EQ(ControlsToConfig(c, d674, 0) & 0x7, 7);
    c.OscBox = 5;
    EXPECT_EQ(ConfigToControls(ControlsToConfig(c, d674, 0), d674, Fresh(d674)).OscBox, 5);
}

TEST(ControlsToConfig, WithoutAProtectionChoiceBuildsOnTheCurrentWord)
{
    const DeviceRecord d = Device("16f84");
    ConfigControls c = Fresh(d);
    c.ProtNoneBtn = false;
    c.OscBox = 1;
    c.WdtCbx = true;
    c.PutCbx = true;
    // Only bits are set on the base; a 0 the controls do not ask for stays 0.
    EXPECT_EQ(ControlsToConfig(c, d, 0x1230), 0x1235);
    EXPECT_EQ(ControlsToConfig(c, d, 0x0002), 0x0007);
}

TEST(ConfigMapping, FixedLayoutBuildsFromTheChoiceBase)
{
    ConfigControls c = Fresh(Device("16c715"));
    c.ProtNoneBtn = false;
    c.ProtUp34Btn = true;
    c.OscBox = 0;
    c.PutCbx = true;
    EXPECT_EQ(ControlsToConfig(c, Device("16c715"), 0), 0x1510);
    c.ProtUp34Btn = false;
    c.ProtUp12Btn = true;
    EXPECT_EQ(ControlsToConfig(c, Device("16c715"), 0), 0x2A20);
    // 16f628: "Upper 3/4" puts 0101 in bits 13-10, "Upper 1/2" 1010.
    ConfigControls c628 = Fresh(Device("16f628"));
    c628.ProtNoneBtn = false;
    c628.ProtUp34Btn = true;
    EXPECT_EQ((ControlsToConfig(c628, Device("16f628"), 0) >> 10) & 0xF, 0x5);
    c628.ProtUp34Btn = false;
    c628.ProtUp12Btn = true;
    EXPECT_EQ((ControlsToConfig(c628, Device("16f628"), 0) >> 10) & 0xF, 0xA);
}

TEST(ConfigMapping, EveryProtectionChoiceSurvivesBuildThenRead)
{
    bool ConfigControls::*const buttons[] = {
        &ConfigControls::ProtNoneBtn, &ConfigControls::ProtUp34Btn, &ConfigControls::ProtUp12Btn,
        &ConfigControls::ProtAllBtn};
    for (const DeviceRecord &d : DevicesInUse()) {
        const ConfigControlsEnabled enabled = EnabledControls(d);
        for (auto button : buttons) {
            if ((button == &ConfigControls::ProtUp34Btn && !enabled.ProtUp34Btn) ||
                (button == &ConfigControls::ProtUp12Btn && !enabled.ProtUp12Btn))
                continue;
            ConfigControls c = Fresh(d);
            c.ProtNoneBtn = false;
            c.*button = true;
            const uint16_t word = ControlsToConfig(c, d, 0);
            const ConfigControls back = ConfigToControls(word, d, Fresh(d));
            EXPECT_TRUE(back.*button) << d.DeviceName.toStdString() << " word " << word;
            EXPECT_EQ(ControlsToConfig(back, d, 0), word) << d.DeviceName.toStdString();
        }
    }
}

TEST(ConfigMapping, TheEmptyRecordChangesNothing)
{
    const DeviceRecord d = *FindDevice("");
    ConfigControls c;
    c.WdtCbx = true;
    c.OscBox = 2;
    EXPECT_EQ(ConfigToControls(0x0000, d, c), c);
    EXPECT_EQ(ControlsToConfig(c, d, 0x1234), 0x1234);
    EXPECT_EQ(ControlsAfterDeviceSelection(d, c).OscBox, 2);
}

TEST(ConfigControls, DeviceSelectionKeepsOfferedBoxesAndClearsTheRest)
{
    ConfigControls before;
    before.WdtCbx = before.PutCbx = before.LvpCbx = before.BOutCbx = true;
    before.ProtNoneBtn = false;
    before.ProtAllBtn = true;
    const ConfigControls after = ControlsAfterDeviceSelection(Device("16c84"), before);
    EXPECT_TRUE(after.WdtCbx);
    EXPECT_TRUE(after.PutCbx);
    EXPECT_FALSE(after.LvpCbx);
    EXPECT_FALSE(after.BOutCbx);
    EXPECT_TRUE(after.ProtNoneBtn);
    EXPECT_FALSE(after.ProtAllBtn);
    EXPECT_EQ(after.OscBox, 3);
    EXPECT_EQ(ControlsAfterDeviceSelection(Device("16f628"), before).OscBox, 7);
}

} // namespace
