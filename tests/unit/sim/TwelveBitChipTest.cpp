// 12-bit parts: the 16C5x through the module's 12-bit commands, the 12C508/509 through serial
// PIC commands; both start at the configuration word.

#include "HostScript.h"
#include "ModuleSimulator.h"

#include <gtest/gtest.h>

using namespace simtest;
using tolm::sim::FindChip;
using tolm::sim::ModuleSimulator;

namespace {

struct Part16C5x
{
    const char *name;
    unsigned programWords;
};

class Part16C5xTest : public testing::TestWithParam<Part16C5x>
{
protected:
    ModuleSimulator m{*FindChip(GetParam().name)};

    void PowerOn()
    {
        Send(m, {0x07});
        Send(m, Cat(0x05, Timing(0xF40C, 1)));
        Send(m, {0x08});
    }
    void TearDown() override { EXPECT_TRUE(m.ProtocolFaults().empty()) << m.ProtocolFaultsText(); }
};

TEST_P(Part16C5xTest, CounterStartsAtTheConfigurationWord)
{
    m.chip().SetConfigWord(0x0FFB);
    m.chip().SetProgramWord(0, 0x0A01);
    m.chip().SetProgramWord(1, 0x0A02);
    Host h{m};
    PowerOn();
    EXPECT_EQ(h.Read12(), 0x0FFB); // 0x0A reads and moves on
    EXPECT_EQ(h.Read12(), 0x0A01);
    EXPECT_EQ(Send(m, {0x0A}), (Bytes{'2', 'A', '0', 0x20})); // 12-bit B: N0 N2 N1
    PowerOn();
    EXPECT_EQ(Send(m, Cat(0x13, TwelveB(1))), kAck); // from the configuration, n + 1 = 2 steps
    EXPECT_EQ(m.State().address, 1);
    EXPECT_EQ(Send(m, {0x12}), kAck);
    EXPECT_EQ(m.State().address, 2);
}

TEST_P(Part16C5xTest, WritesProgramIdsAndConfiguration)
{
    const unsigned words = GetParam().programWords;
    PowerOn();
    Send(m, Cat(0x05, Timing(0x0C01, 100)));
    Send(m, Cat(0x13, TwelveB(4)));
    EXPECT_EQ(Send(m, Cat(0x0D, TwelveA(0x0ABC))), kAck);
    EXPECT_EQ(m.State().address, 4); // the write does not move
    EXPECT_EQ(m.chip().ProgramWord(4), 0x0ABC);
    EXPECT_EQ(Send(m, Cat(0x0D, TwelveA(0x0FFF))), kNak); // cleared bits stay cleared
    EXPECT_EQ(Send(m, Cat(0x0E, TwelveA(0x0FF3))), kAck);
    EXPECT_EQ(m.chip().ConfigWord(), 0x0FF3);
    PowerOn();
    Send(m, Cat(0x05, Timing(0x0C01, 100)));
    Send(m, Cat(0x13, TwelveB(words))); // lands on the first ID location
    for (unsigned k = 0; k < 4; ++k) {
        EXPECT_EQ(Send(m, Cat(0x0D, TwelveA(k))), kAck);
        Send(m, {0x12});
    }
    EXPECT_EQ(m.chip().IdWord(0), 0);
    EXPECT_EQ(m.chip().IdWord(3), 3);
    EXPECT_EQ(m.chip().ProgramWord(static_cast<uint16_t>(words - 1)), 0x0FFF);
}

TEST_P(Part16C5xTest, PulseCountsAndProtection)
{
    m.chip().SetPulsesNeeded(0, 100);
    m.chip().SetNeverProgram(1);
    PowerOn();
    Send(m, Cat(0x05, Timing(0x0C01, 100)));
    Send(m, {0x12});
    EXPECT_EQ(Send(m, Cat(0x0D, TwelveA(0x0123))), kAck);
    EXPECT_EQ(m.chip().PulsesApplied(0), 400);
    Send(m, {0x12});
    EXPECT_EQ(Send(m, Cat(0x0D, TwelveA(0x0123))), kNak);
    EXPECT_EQ(Send(m, Cat(0x0E, TwelveA(0x0FF7))), kAck); // CP (bit 3) cleared
    PowerOn();
    Host h{m};
    EXPECT_EQ(h.Read12(), 0x0FF7);
    EXPECT_EQ(h.Read12(), 0x0000); // protected program memory reads zeros
}

INSTANTIATE_TEST_SUITE_P(Parts, Part16C5xTest,
                         testing::Values(Part16C5x{"16c54", 0x200}, Part16C5x{"16c55", 0x200},
                                         Part16C5x{"16c56", 0x400}, Part16C5x{"16c57", 0x800},
                                         Part16C5x{"16c58", 0x800}),
                         [](const testing::TestParamInfo<Part16C5x> &p) {
                             return std::string(p.param.name);
                         });

struct Part12C50x
{
    const char *name;
    unsigned programWords;
    unsigned calibration;
};

class Part12C50xTest : public testing::TestWithParam<Part12C50x>
{
protected:
    ModuleSimulator m{*FindChip(GetParam().name)};
    Host h{m};

    void TearDown() override { EXPECT_TRUE(m.ProtocolFaults().empty()) << m.ProtocolFaultsText(); }
};

TEST_P(Part12C50xTest, OneIncrementLeadsFromTheConfigurationToAddressZero)
{
    const Part12C50x &part = GetParam();
    m.chip().SetProgramWord(0, 0x0A0A);
    h.PowerOn(false, false);
    EXPECT_EQ(h.ReadProgram(), 0x0FFF); // the configuration word
    h.Pic(6);
    EXPECT_EQ(h.ReadProgram(), 0x0A0A);
    h.Steps(static_cast<int>(part.programWords - 1));
    EXPECT_EQ(h.ReadProgram(), static_cast<int>(part.calibration)); // MOVLW k
    EXPECT_EQ(part.calibration & 0x0F00, 0x0C00u);
}

TEST_P(Part12C50xTest, WritesConfigurationProgramAndIds)
{
    const Part12C50x &part = GetParam();
    h.PowerOn(false, false);
    h.SetTiming(0x0C01, 100);
    h.Pic(2);
    h.Load(0x0FEA);
    h.Pulse();
    EXPECT_EQ(h.ReadProgram(), 0x0FEA);
    h.SetTiming(0x0C01, 25);
    h.Pic(6);
    EXPECT_EQ(PulseProgramWord(h, 0x0123), 1);
    h.Steps(static_cast<int>(part.programWords)); // IdAddress + 1 steps from the start
    for (unsigned k = 0; k < 4; ++k) {
        EXPECT_EQ(PulseProgramWord(h, k + 4), 1);
        h.Pic(6);
    }
    EXPECT_EQ(m.chip().ConfigWord(), 0x0FEA);
    EXPECT_EQ(m.chip().ProgramWord(0), 0x0123);
    EXPECT_EQ(m.chip().IdWord(0), 4);
    EXPECT_EQ(m.chip().IdWord(3), 7);
}

INSTANTIATE_TEST_SUITE_P(Parts, Part12C50xTest,
                         testing::Values(Part12C50x{"12c508", 0x200, 0x0C70},
                                         Part12C50x{"12c509", 0x400, 0x0C64}),
                         [](const testing::TestParamInfo<Part12C50x> &p) {
                             return std::string(p.param.name);
                         });

} // namespace
