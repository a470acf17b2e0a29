// EPROM parts: bits only clear, locations take after their pulse count, nothing erases; the
// parity form of the 16c715; calibration words.

#include "HostScript.h"
#include "ModuleSimulator.h"

#include <gtest/gtest.h>

using namespace simtest;
using tolm::sim::FindChip;
using tolm::sim::ModuleSimulator;

namespace {

struct EpromPart
{
    const char *name;
    unsigned programWords;
    bool parity;
};

class EpromPartTest : public testing::TestWithParam<EpromPart>
{
protected:
    ModuleSimulator m{*FindChip(GetParam().name)};
    Host h{m};

    void PowerOn(bool parallel = false)
    {
        h.PowerOn(GetParam().parity, parallel);
        h.SetTiming(0x0C01, 25);
    }
    void TearDown() override { EXPECT_TRUE(m.ProtocolFaults().empty()) << m.ProtocolFaultsText(); }
};

TEST_P(EpromPartTest, SerialPulsesClearBitsAfterThePulseCount)
{
    m.chip().SetPulsesNeeded(3, 5);
    PowerOn();
    h.Steps(3);
    EXPECT_EQ(PulseProgramWord(h, 0x3F0F), 5);
    EXPECT_EQ(m.chip().PulsesApplied(3), 5 + 15);
    EXPECT_EQ(PulseProgramWord(h, 0x30FF), 0); // 3F0F AND 30FF = 300F never equals 30FF
    EXPECT_EQ(m.chip().ProgramWord(3), 0x300F);
    h.Pic(6);
    EXPECT_EQ(PulseProgramWord(h, 0x0123), 1);
    EXPECT_EQ(m.chip().PulsesApplied(4), 4);
}

TEST_P(EpromPartTest, ParallelWriteAcknowledgesOnlyAWordThatTook)
{
    m.chip().SetNeverProgram(1);
    m.chip().SetPulsesNeeded(2, 30); // more than the 25 pulses the timing pair allows
    PowerOn(true);
    EXPECT_EQ(h.Word14Command(0x0F, 0x1234), kAck);
    EXPECT_EQ(m.chip().PulsesApplied(0), 4);
    Send(m, {0x14});
    EXPECT_EQ(h.Word14Command(0x0F, 0x1234), kNak);
    EXPECT_EQ(m.chip().ProgramWord(1), 0x3FFF);
    Send(m, {0x14});
    EXPECT_EQ(h.Word14Command(0x0F, 0x1234), kNak);
    EXPECT_EQ(m.chip().PulsesApplied(2), 25);
    EXPECT_EQ(h.Word14Command(0x0F, 0x1234), kAck); // pulses 26 to 30 of a second attempt
    EXPECT_EQ(h.ReadWord14(0x0B), 0x1234);
}

TEST_P(EpromPartTest, EraseCommandsChangeNothing)
{
    m.chip().SetProgramWord(0, 0x0000);
    m.chip().SetConfigWord(0x3F8F);
    PowerOn();
    h.Pic(0);
    h.Load(0x3FFF);
    h.Steps(7);
    for (unsigned code : {1, 7, 8, 1, 7, 9, 11}) {
        h.Pic(code);
    }
    EXPECT_EQ(m.chip().ProgramWord(0), 0x0000);
    EXPECT_EQ(m.chip().ConfigWord(), 0x3F8F);
}

TEST_P(EpromPartTest, ConfigurationAndIdsLiveInConfigurationSpace)
{
    PowerOn();
    h.Pic(0);
    h.Load(0);
    for (unsigned k = 0; k < 4; ++k) {
        EXPECT_EQ(PulseProgramWord(h, k + 8), 1);
        h.Pic(6);
    }
    h.Steps(3);
    EXPECT_EQ(PulseProgramWord(h, 0x3FB1), 1);
    EXPECT_EQ(m.chip().IdWord(0), 8);
    EXPECT_EQ(m.chip().IdWord(3), 11);
    EXPECT_EQ(m.chip().ConfigWord(), 0x3FB1);
}

TEST_P(EpromPartTest, CodeProtectedProgramMemoryReadsZerosAndStaysAsItWas)
{
    m.chip().SetProgramWord(0, 0x2222);
    m.chip().SetConfigWord(0x0000);
    PowerOn(true);
    EXPECT_EQ(h.ReadWord14(0x0B), 0);
    EXPECT_EQ(h.Word14Command(0x0F, 0x0000), kNak);
    EXPECT_EQ(m.chip().ProgramWord(0), 0x2222);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, EpromPartTest,
    testing::Values(EpromPart{"16c61", 0x400, false}, EpromPart{"16c62", 0x800, false},
                    EpromPart{"16c62A", 0x800, false}, EpromPart{"16c63", 0x1000, false},
                    EpromPart{"16c64", 0x800, false}, EpromPart{"16c65", 0x1000, false},
                    EpromPart{"16c65A", 0x1000, false}, EpromPart{"16c71", 0x400, false},
                    EpromPart{"16c73", 0x1000, false}, EpromPart{"16c74", 0x1000, false},
                    EpromPart{"16c554", 0x200, false}, EpromPart{"16c558", 0x800, false},
                    EpromPart{"16c710", 0x200, false}, EpromPart{"16c711", 0x400, false},
                    EpromPart{"16c715", 0x800, true}, EpromPart{"12ce674", 0x800, false}),
    [](const testing::TestParamInfo<EpromPart> &p) { return std::string(p.param.name); });

TEST(ParityFormTest, C715NeedsTransferWordsInTheParityForm)
{
    ModuleSimulator m(*FindChip("16c715"));
    Host h{m};
    h.PowerOn(false, false); // no 0x17
    h.Pic(2);
    h.Load(0x1234);
    ASSERT_EQ(m.ProtocolFaults().size(), 1u);
    EXPECT_NE(m.ProtocolFaults()[0].text.find("normal form"), std::string::npos);

    m.ClearProtocolFaults();
    h.PowerOn(true, false);
    h.Pic(2);
    EXPECT_EQ(Send(m, Cat(0x03, Transfer16(ParityT(0x1234) ^ 1))), kAck);
    ASSERT_EQ(m.ProtocolFaults().size(), 1u);
    EXPECT_NE(m.ProtocolFaults()[0].text.find("parity bits"), std::string::npos);

    // The parity form in the other direction: 0x02 answers ParityEncode of the word.
    m.ClearProtocolFaults();
    m.chip().SetProgramWord(0, 0x1234);
    h.Pic(4);
    EXPECT_EQ(Send(m, {0x02}), (Bytes{'3', 'D', '8', '4', 0x20}));
    EXPECT_TRUE(m.ProtocolFaults().empty()) << m.ProtocolFaultsText();
}

TEST(ParityFormTest, OtherPartsRefuseTheParityForm)
{
    ModuleSimulator m(*FindChip("16f84"));
    Host h{m};
    h.PowerOn(true, false);
    h.Pic(2);
    h.Load(0x1234);
    ASSERT_EQ(m.ProtocolFaults().size(), 1u);
    EXPECT_NE(m.ProtocolFaults()[0].text.find("parity form"), std::string::npos);
}

TEST(CalibrationTest, C674CarriesARetlwWordAtTheTop)
{
    ModuleSimulator m(*FindChip("12ce674"));
    EXPECT_EQ(m.chip().ProgramWord(0x7FF), 0x3480);
    Host h{m};
    h.PowerOn(false, false);
    h.Steps(0x7FF);
    EXPECT_EQ(h.ReadProgram(), 0x3480);
    h.SetTiming(0x0C01, 25);
    EXPECT_EQ(PulseProgramWord(h, 0x345A), 0); // EPROM: 3480 AND 345A = 3400
    EXPECT_EQ(m.chip().ProgramWord(0x7FF), 0x3400);
}

} // namespace
