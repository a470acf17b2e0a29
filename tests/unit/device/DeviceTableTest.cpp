#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/catalogue/CatalogueInUse.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(DeviceTable, EveryPartIsFoundByName)
{
    for (const DeviceRecord &d : DevicesInUse()) {
        const auto found = FindDevice(d.DeviceName);
        ASSERT_TRUE(found.has_value()) << d.DeviceName.toStdString();
        EXPECT_EQ(*found, d);
    }
}

TEST(DeviceTable, LookupIsExactAndCaseSensitive)
{
    EXPECT_FALSE(FindDevice("16F84").has_value());
    EXPECT_FALSE(FindDevice("16f84 ").has_value());
    EXPECT_FALSE(FindDevice("16f8").has_value());
    ASSERT_TRUE(FindDevice("").has_value());
    EXPECT_EQ(*FindDevice(""), NoDeviceRecord());
    EXPECT_TRUE(FindDevice("16c62A").has_value());
    EXPECT_FALSE(FindDevice("16c62a").has_value());
}

TEST(DeviceTable, SelectorListsEveryPartOnceWithTodaysThirtyFirstInTheUsersOrder)
{
    const QStringList &names = SelectorDeviceNames();
    ASSERT_EQ(names.size(), 53);
    EXPECT_EQ(names.first(), "12c508");
    EXPECT_EQ(names[8], "16c554");
    EXPECT_EQ(names[23], "16f628");
    EXPECT_EQ(names[29], "16f876");
    std::set<QString> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), 53u);
    EXPECT_FALSE(names.contains(QString()));
}

struct Expected
{
    const char *name;
    const char *progMax, *dataMax;
    uint16_t id, config;
    uint8_t powerOn, family;
};

class DeviceIdentity : public testing::TestWithParam<Expected>
{
};

TEST_P(DeviceIdentity, SizesAddressesAndFamily)
{
    const Expected e = GetParam();
    const DeviceRecord d = *FindDevice(e.name);
    EXPECT_EQ(d.ProgMaxText, e.progMax);
    EXPECT_EQ(d.DataMaxText, e.dataMax);
    EXPECT_EQ(d.IdAddress, e.id);
    EXPECT_EQ(d.ConfigAddress, e.config);
    EXPECT_EQ(d.PowerOnMode, e.powerOn);
    EXPECT_EQ(d.DeviceFamily, e.family);
    EXPECT_EQ(d.NoConfigWord, 0);
}

// Every part the program has always had. The 16c71 and 16c715, whose built-in rows carried 0000
// for their ID locations, have them at 2000 like every 14-bit part (the hex files always put them
// there).
INSTANTIATE_TEST_SUITE_P(Catalogue, DeviceIdentity,
                         testing::Values(Expected{"16c54", "01FF", "00", 0x0200, 0x0FFF, 0, 1},
                                         Expected{"16c57", "07FF", "00", 0x0800, 0x0FFF, 0, 1},
                                         Expected{"16c71", "03FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c715", "07FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16f84", "03FF", "3F", 0x2000, 0x2007, 1, 3},
                                         Expected{"16f877", "1FFF", "FF", 0x2000, 0x2007, 1, 3},
                                         Expected{"16f628a", "07FF", "7F", 0x2000, 0x2007, 1, 3},
                                         Expected{"12c509", "03FF", "00", 0x0400, 0x0FFF, 1, 4},
                                         Expected{"12ce674", "07FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"", "0000", "00", 0x0000, 0x0000, 0, 0},
                                         Expected{"16c55", "01FF", "00", 0x0200, 0x0FFF, 0, 1},
                                         Expected{"16c56", "03FF", "00", 0x0400, 0x0FFF, 0, 1},
                                         Expected{"16c58", "07FF", "00", 0x0800, 0x0FFF, 0, 1},
                                         Expected{"16c61", "03FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c62", "07FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c63", "0FFF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c64", "07FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c65", "0FFF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c73", "0FFF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c74", "0FFF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c84", "03FF", "3F", 0x2000, 0x2007, 1, 3},
                                         Expected{"16f83", "01FF", "3F", 0x2000, 0x2007, 1, 3},
                                         Expected{"16c710", "01FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c711", "03FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"12c508", "01FF", "00", 0x0200, 0x0FFF, 1, 4},
                                         Expected{"16c65A", "0FFF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c554", "01FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c558", "07FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16c62A", "07FF", "00", 0x2000, 0x2007, 1, 2},
                                         Expected{"16f876", "1FFF", "FF", 0x2000, 0x2007, 1, 3},
                                         Expected{"16f628", "07FF", "7F", 0x2000, 0x2007, 1, 3}));

TEST(DeviceTable, FamiliesGroupTheParts)
{
    const std::set<QString> family1{"16c54", "16c55", "16c56", "16c57", "16c58"};
    const std::set<QString> family4{"12c508", "12c509"};
    const std::set<QString> eprom14{"16c61",  "16c62",  "16c63",   "16c64",  "16c65",  "16c71",
                                    "16c73",  "16c74",  "16c710",  "16c711", "16c65A", "16c554",
                                    "16c558", "16c62A", "12ce674", "16c715"};
    for (const DeviceRecord &d : DevicesInUse()) {
        const QString &name = d.DeviceName;
        const int expected = family1.count(name)   ? 1
                             : family4.count(name) ? 4
                             : eprom14.count(name) ? 2
                                                   : 3;
        EXPECT_EQ(d.DeviceFamily, expected) << name.toStdString();
        // The 16C5x parts alone power up with their own sequence and the Parallel method.
        EXPECT_EQ(d.PowerOnMode, expected == 1 ? 0 : 1) << name.toStdString();
        EXPECT_EQ(HasTwelveBitCore(d), expected == 1 || expected == 4) << name.toStdString();
        EXPECT_EQ(BlankWordText(d), expected == 1 || expected == 4 ? "0FFF" : "3FFF");
    }
}

// Relations between columns that every part must keep; a mistyped number breaks one of them.
TEST(DeviceTable, ColumnsAgreeWithEachOther)
{
    for (const DeviceRecord &d : DevicesInUse()) {
        SCOPED_TRACE(d.DeviceName.toStdString());
        EXPECT_TRUE(d.HasSerial || d.HasParallel);
        EXPECT_EQ(d.HasDataMemory != 0, d.DataMaxText != "00");
        const uint32_t progMax = *ParseHexText(d.ProgMaxText);
        EXPECT_EQ(progMax & (progMax + 1), 0u) << "program size is a power of two";
        if (HasTwelveBitCore(d)) {
            EXPECT_EQ(d.ConfigAddress, 0x0FFF);
            EXPECT_EQ(d.IdAddress, progMax + 1) << "ID locations sit right above program memory";
            EXPECT_FALSE(d.HasPwrt);
        } else {
            EXPECT_EQ(d.ConfigAddress, 0x2007);
            EXPECT_EQ(d.IdAddress, 0x2000);
        }
        if (d.ProtMask == 0) {
            EXPECT_EQ(d.ProtNoneWord | d.ProtUp34Word | d.ProtUp12Word | d.ProtAllWord, 0);
        } else {
            EXPECT_NE(d.ProtNoneWord & d.ProtMask, d.ProtAllWord & d.ProtMask);
        }
    }
}

struct FlagRow
{
    const char *name;
    const char *flags; // Ser Par Data Part Wdt Pwrt PwrtHi Bor Mclr Lvp Dbg Wrt Cpd Par16 Cal
    uint16_t mask, none, up34, up12, all;
};

class DeviceFlags : public testing::TestWithParam<FlagRow>
{
};

TEST_P(DeviceFlags, CapabilitiesAndProtectionWords)
{
    const FlagRow e = GetParam();
    const DeviceRecord d = *FindDevice(e.name);
    const uint8_t got[] = {d.HasSerial, d.HasParallel,     d.HasDataMemory,  d.HasPartialProtect,
                           d.HasWdt,    d.HasPwrt,         d.PwrtActiveHigh, d.HasBrownout,
                           d.HasMclre,  d.HasLvp,          d.HasDebug,       d.HasWrt,
                           d.HasCpd,    d.HasMemoryParity, d.HasCalibration};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(got[i], e.flags[i] - '0') << "flag column " << i;
    EXPECT_EQ(d.ProtMask, e.mask);
    EXPECT_EQ(d.ProtNoneWord, e.none);
    EXPECT_EQ(d.ProtUp34Word, e.up34);
    EXPECT_EQ(d.ProtUp12Word, e.up12);
    EXPECT_EQ(d.ProtAllWord, e.all);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, DeviceFlags,
    testing::Values(FlagRow{"16c54", "010010000000000", 0x0008, 0x0FF8, 0, 0, 0},
                    FlagRow{"16c63", "100111010000000", 0x3F30, 0x3FB0, 0x1590, 0x2AA0, 0x0080},
                    FlagRow{"16c84", "111011100000000", 0x0010, 0x3FF0, 0, 0, 0x0060},
                    FlagRow{"16f84", "111011000000000", 0x3FF0, 0x3FF0, 0, 0, 0},
                    FlagRow{"12c508", "100010001000001", 0x0008, 0x0FE8, 0, 0, 0},
                    FlagRow{"16c558", "110111000000000", 0x3F30, 0x3FB0, 0x15D0, 0x2AE0, 0x0080},
                    FlagRow{"16f877", "111111010111100", 0, 0, 0, 0, 0},
                    FlagRow{"12ce674", "100111001000001", 0, 0, 0, 0, 0},
                    FlagRow{"16f628", "111111011100100", 0, 0, 0, 0, 0},
                    FlagRow{"16c715", "100111010000010", 0, 0, 0, 0, 0},
                    FlagRow{"16f628a", "101011011100100", 0, 0, 0, 0, 0}));

TEST(OscillatorLists, ByDevice)
{
    const auto list = [](const char *name) { return OscillatorList(*FindDevice(name)); };
    EXPECT_EQ(list("16c54"), QStringList({"LP", "XT", "HS", "RC"}));
    EXPECT_EQ(list("16c715"), QStringList({"LP", "XT", "HS", "RC"}));
    EXPECT_EQ(list("12c508").last(), "External RC");
    EXPECT_EQ(list("12ce674").size(), 8);
    EXPECT_EQ(list("12ce674")[3], "Invalid !");
    EXPECT_EQ(list("16f628").last(), "ER Clockout");
    EXPECT_EQ(list("16f628a").last(), "RCOsc Clockout");
    EXPECT_TRUE(list("").isEmpty());
    EXPECT_FALSE(HasOscillatorList(*FindDevice("")));
}

} // namespace
