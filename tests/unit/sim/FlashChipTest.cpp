// Flash and EEPROM parts: programming cycles, data EEPROM, configuration space, erase
// sequences and code protection, through both the serial PIC commands and the Parallel ones.

#include "HostScript.h"
#include "ModuleSimulator.h"

#include <gtest/gtest.h>

using namespace simtest;
using tolm::sim::FindChip;
using tolm::sim::ModuleSimulator;

namespace {

struct FlashPart
{
    const char *name;
    unsigned programWords;
    unsigned dataBytes;
    int deviceId; // word at 2006, 0 when the part has none
};

class FlashPartTest : public testing::TestWithParam<FlashPart>
{
protected:
    ModuleSimulator m{*FindChip(GetParam().name)};
    Host h{m};

    void TearDown() override { EXPECT_TRUE(m.ProtocolFaults().empty()) << m.ProtocolFaultsText(); }
};

TEST_P(FlashPartTest, SerialProgramAndDataWritesReadBack)
{
    const FlashPart &part = GetParam();
    h.PowerOn(false, false);
    h.Steps(5);
    EXPECT_EQ(FlashWriteSerial(h, 0x1234), 0x1234);
    EXPECT_EQ(FlashWriteSerial(h, 0x0042), 0x0042); // a flash cycle replaces the word
    h.Pic(3);
    h.Load(0x5A);
    h.Pic(8);
    EXPECT_EQ(h.ReadDataMemory(), 0x5A);
    EXPECT_EQ(m.chip().ProgramWord(5), 0x0042);
    EXPECT_EQ(m.chip().DataByte(5), 0x5A);
    EXPECT_EQ(m.chip().DataByte(6), 0xFF);
    // Program memory repeats above its size.
    h.Steps(static_cast<int>(part.programWords));
    EXPECT_EQ(h.ReadProgram(), 0x0042);
    EXPECT_EQ(h.ReadDataMemory(), 0x5A); // data memory repeats too
}

TEST_P(FlashPartTest, ParallelWritesAndAdvance)
{
    h.PowerOn(false, true);
    EXPECT_EQ(Send(m, Cat(0x15, TwelveB(2))), kAck); // three locations on
    EXPECT_EQ(h.Word14Command(0x10, 0x2ABC), kAck);
    EXPECT_EQ(h.ReadWord14(0x0B), 0x2ABC);
    EXPECT_EQ(h.Word14Command(0x10, 0x4000), kNak); // bit 14 is never held
    EXPECT_EQ(h.Word14Command(0x11, 0x00C3), kAck);
    EXPECT_EQ(h.ReadWord14(0x0C), 0xC3);
    EXPECT_EQ(m.State().address, 3);
    EXPECT_EQ(m.chip().ProgramWord(3), 0x0000);
    EXPECT_EQ(m.chip().DataByte(3), 0xC3);
}

TEST_P(FlashPartTest, ConfigurationSpaceHoldsIdsDeviceIdAndConfiguration)
{
    h.PowerOn(false, false);
    h.Pic(0);
    h.Load(0);
    EXPECT_EQ(m.State().address, 0x2000);
    for (unsigned k = 0; k < 4; ++k) {
        EXPECT_EQ(FlashWriteSerial(h, k + 1), static_cast<int>(k + 1));
        h.Pic(6);
    }
    h.Steps(2);
    EXPECT_EQ(h.ReadProgram(), GetParam().deviceId);
    EXPECT_EQ(FlashWriteSerial(h, 0x1111), GetParam().deviceId); // read-only
    h.Pic(6);
    EXPECT_EQ(FlashWriteSerial(h, 0x3FF1), 0x3FF1);
    EXPECT_EQ(m.chip().ConfigWord(), 0x3FF1);
    EXPECT_EQ(m.chip().IdWord(0), 1);
    EXPECT_EQ(m.chip().IdWord(3), 4);
    h.Steps(0x1FF9); // configuration space wraps to 2000, never to program memory
    EXPECT_EQ(m.State().address, 0x2000);
    EXPECT_EQ(h.ReadProgram(), 1);
}

TEST_P(FlashPartTest, CodeProtectDisableSequenceErasesEverything)
{
    m.chip().SetProgramWord(0, 0x0123);
    m.chip().SetDataByte(1, 0x45);
    m.chip().SetIdWord(2, 0x0007);
    m.chip().SetConfigWord(0x0001); // every protection bit clear
    h.PowerOn(false, false);
    EXPECT_EQ(h.ReadProgram(), 0x0000); // protected memory reads zeros
    EXPECT_EQ(h.ReadDataMemory(), 0x00);
    h.SetTiming(0xF40C, 1);
    h.Pic(0);
    h.Load(0x3FFF);
    h.Steps(7);
    for (unsigned code : {1, 7, 8, 1, 7}) {
        EXPECT_EQ(h.Pic(code), kAck);
    }
    EXPECT_EQ(m.chip().ProgramWord(0), 0x3FFF);
    EXPECT_EQ(m.chip().DataByte(1), 0xFF);
    EXPECT_EQ(m.chip().IdWord(2), 0x3FFF);
    EXPECT_EQ(m.chip().ConfigWord(), 0x3FFF);
}

TEST_P(FlashPartTest, ParallelCodeProtectDisableSequenceErasesEverything)
{
    m.chip().SetProgramWord(7, 0x0000);
    m.chip().SetConfigWord(0x0000);
    h.PowerOn(false, true);
    h.Word14Command(0x16, 0x3FFF);
    for (int i = 0; i < 7; ++i) {
        Send(m, {0x14});
    }
    for (unsigned code : {1, 7, 8, 1, 7}) {
        EXPECT_EQ(h.ParallelPic(code), kAck);
    }
    EXPECT_EQ(m.chip().ProgramWord(7), 0x3FFF);
    EXPECT_EQ(m.chip().ConfigWord(), 0x3FFF);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, FlashPartTest,
    testing::Values(FlashPart{"16c84", 0x400, 64, 0}, FlashPart{"16f83", 0x200, 64, 0},
                    FlashPart{"16f84", 0x400, 64, 0}, FlashPart{"16f628", 0x800, 128, 0x07C0},
                    FlashPart{"16f628a", 0x800, 128, 0x1060},
                    FlashPart{"16f876", 0x2000, 256, 0x09E0},
                    FlashPart{"16f877", 0x2000, 256, 0x09A0},
                    FlashPart{"16f84a", 0x400, 64, 0x0560}, FlashPart{"16f627", 0x400, 128, 0x07A0},
                    FlashPart{"16f873", 0x1000, 128, 0x0960},
                    FlashPart{"16f874", 0x1000, 128, 0x0920}),
    [](const testing::TestParamInfo<FlashPart> &p) { return std::string(p.param.name); });

TEST(FlashChipTest, F84ReadsAddress400AsAddress0)
{
    ModuleSimulator m(*FindChip("16f84"));
    m.chip().SetProgramWord(0, 0x0ABC);
    Host h{m};
    h.PowerOn(false, true);
    Send(m, Cat(0x15, TwelveB(0x3FF)));
    EXPECT_EQ(m.State().address, 0x400);
    EXPECT_EQ(h.ReadWord14(0x0B), 0x0ABC);
}

TEST(FlashChipTest, F628aBulkEraseFromConfigurationSpaceTakesConfigurationAndIds)
{
    ModuleSimulator m(*FindChip("16f628a"));
    Host h{m};
    auto dirty = [&] {
        m.chip().SetProgramWord(0x10, 0);
        m.chip().SetDataByte(0x10, 0);
        m.chip().SetIdWord(0, 0);
        m.chip().SetConfigWord(0x1FFF); // CP (bit 13) set: program memory protected
    };
    dirty();
    h.PowerOn(false, false);
    h.Pic(2);
    h.Load(0x3FFF);
    h.Pic(9); // in program space: program memory only
    EXPECT_EQ(m.chip().ProgramWord(0x10), 0x3FFF);
    EXPECT_EQ(m.chip().ConfigWord(), 0x1FFF);
    EXPECT_EQ(m.chip().DataByte(0x10), 0x00);

    dirty();
    h.PowerOn(false, false);
    h.Pic(0);
    h.Load(0x3FFF);
    h.Pic(2);
    h.Load(0x3FFF);
    h.Pic(9);
    h.Pic(11);
    EXPECT_EQ(m.chip().ProgramWord(0x10), 0x3FFF);
    EXPECT_EQ(m.chip().DataByte(0x10), 0xFF);
    EXPECT_EQ(m.chip().IdWord(0), 0x3FFF);
    EXPECT_EQ(m.chip().ConfigWord(), 0x3FFF);
    EXPECT_TRUE(m.ProtocolFaults().empty()) << m.ProtocolFaultsText();
}

struct ProtectionCase
{
    const char *part;
    uint16_t config;
    bool programProtected;
    bool dataProtected;
};

class ProtectionTest : public testing::TestWithParam<ProtectionCase>
{
};

TEST_P(ProtectionTest, ProtectedMemoryReadsZerosAndRefusesProgramming)
{
    const ProtectionCase &c = GetParam();
    ModuleSimulator m(*FindChip(c.part));
    m.chip().SetProgramWord(0, 0x1555);
    m.chip().SetDataByte(0, 0x66);
    m.chip().SetConfigWord(c.config);
    Host h{m};
    h.PowerOn(false, true);
    EXPECT_EQ(h.ReadWord14(0x0B), c.programProtected ? 0 : 0x1555);
    EXPECT_EQ(h.ReadWord14(0x0C), c.dataProtected ? 0 : 0x66);
    EXPECT_EQ(h.Word14Command(0x10, 0x1554), c.programProtected ? kNak : kAck);
    EXPECT_EQ(h.Word14Command(0x11, 0x67), c.dataProtected ? kNak : kAck);
    // Writing the configuration cannot lift protection: only an erase does.
    h.Word14Command(0x16, 0);
    Send(m, Cat(0x15, TwelveB(6)));
    h.Word14Command(0x10, 0x3FFF);
    EXPECT_EQ(m.chip().CodeProtected(), c.programProtected);
    EXPECT_EQ(h.ReadWord14(0x0B), m.chip().ConfigWord()); // configuration stays readable
}

INSTANTIATE_TEST_SUITE_P(Parts, ProtectionTest,
                         testing::Values(ProtectionCase{"16f84", 0x3FFF, false, false},
                                         ProtectionCase{"16f84", 0x000F, true, true},
                                         ProtectionCase{"16c84", 0x3FEF, true, true},
                                         ProtectionCase{"16f877", 0x3EFF, false, true},
                                         ProtectionCase{"16f877", 0x0FCF, true, false},
                                         ProtectionCase{"16f628", 0x03FF, true, false},
                                         ProtectionCase{"16f628a", 0x1FFF, true, false}));

} // namespace
