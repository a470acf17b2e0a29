// Protocol faults the module notices, misbehaviour on request, wire timing and the transcript.

#include "HostScript.h"
#include "ModuleSimulator.h"

#include <gtest/gtest.h>

using namespace simtest;
using namespace std::chrono_literals;
using tolm::sim::FaultSettings;
using tolm::sim::FindChip;
using tolm::sim::ModuleSimulator;

namespace {

struct ProtocolCase
{
    const char *name;
    Bytes setup;
    Bytes host;
    Bytes expected;    // the answer to host
    const char *fault; // part of the recorded text
};

class ProtocolFaultTest : public testing::TestWithParam<ProtocolCase>
{
};

TEST_P(ProtocolFaultTest, IsRecorded)
{
    const ProtocolCase &c = GetParam();
    ModuleSimulator m(*FindChip("16f84"));
    Send(m, c.setup);
    ASSERT_TRUE(m.ProtocolFaults().empty()) << m.ProtocolFaultsText();
    EXPECT_EQ(Send(m, c.host), c.expected);
    ASSERT_EQ(m.ProtocolFaults().size(), 1u) << m.ProtocolFaultsText();
    EXPECT_NE(m.ProtocolFaults()[0].text.find(c.fault), std::string::npos)
        << m.ProtocolFaultsText();
    EXPECT_EQ(m.ProtocolFaults()[0].command, c.host[0]);
}

const Bytes kOn{0x07, 0x09};
const Bytes kLoad{0x07, 0x09, 0x01, '2'};

INSTANTIATE_TEST_SUITE_P(
    Cases, ProtocolFaultTest,
    testing::Values(
        ProtocolCase{"Unpowered", {0x07}, {0x01, '6'}, kAck, "unpowered"},
        ProtocolCase{"UnpoweredRead",
                     {0x07, 0x09, 0x01, 'A', 0x07},
                     {0x0B},
                     {'0', '0', '0', '0', 0x20},
                     "unpowered"},
        ProtocolCase{"Filler", kLoad, {0x03, 'E', '1', 'F', '0', 'F', '7'}, kNak, "filler"},
        ProtocolCase{"NonHex", {}, {0x05, 'C', '0', '0', '1', '4', 'G'}, kNak, "hexadecimal"},
        ProtocolCase{"LowerCase", {}, {0x05, 'c', '0', '0', '1', '4', 'F'}, kNak, "hexadecimal"},
        ProtocolCase{"TwoBitField",
                     {0x07, 0x09, 0x01, 'A'},
                     {0x10, 'F', 'F', '7', '0', 'F', '0'},
                     kNak,
                     "two-bit"},
        ProtocolCase{"Word14Filler",
                     {0x07, 0x09, 0x01, 'A'},
                     {0x10, 'F', 'F', '3', 'F', 'F', '0'},
                     kNak,
                     "filler"},
        ProtocolCase{"UnknownCommand", {}, {0x18}, {}, "unknown command"},
        ProtocolCase{"ParallelWithoutCode10", kOn, {0x14}, kAck, "Parallel"},
        ProtocolCase{"TwelveBitOnFourteenBitPart", kOn, {0x12}, kAck, "16C5x"},
        ProtocolCase{"WrongPowerOn", {0x07}, {0x08}, kAck, "0x09"},
        ProtocolCase{"DataWithoutLoad", kOn, {0x03, 'E', '0', 'F', '0', 'F', '7'}, kAck, "Load"},
        ProtocolCase{"ReadWithoutRead", kOn, {0x02}, {'0', '0', '0', '0', 0x20}, "Read Data"},
        ProtocolCase{"MissingTransfer", kLoad, {0x01, '6'}, kAck, "data transfer"},
        ProtocolCase{"StartBit", kLoad, {0x03, 'F', '0', 'F', '0', 'F', '7'}, kAck, "start bit"}),
    [](const testing::TestParamInfo<ProtocolCase> &p) { return std::string(p.param.name); });

TEST(ModuleFaultTest, NoAcknowledgeFromTheNthExchangeOn)
{
    ModuleSimulator m(*FindChip("16f84"));
    FaultSettings f;
    f.noAckFromExchange = 2;
    m.SetFaults(f);
    EXPECT_EQ(Send(m, {0x07}), kAck);
    EXPECT_EQ(Send(m, {0x07}), Bytes{});
    EXPECT_EQ(Send(m, {0x06}), Bytes{0xAA}); // the reply still comes, the acknowledge does not
}

TEST(ModuleFaultTest, WrongAcknowledgeBadDigitAndIdentifyByte)
{
    ModuleSimulator m(*FindChip("16f84"));
    FaultSettings f;
    f.wrongAckAtExchange = 1;
    f.wrongAckByte = 0x30;
    f.badDigitAtExchange = 5;
    m.SetFaults(f);
    m.SetIdentifyByte(0x55);
    EXPECT_EQ(Send(m, {0x07}), Bytes{0x30});
    EXPECT_EQ(Send(m, {0x06}), (Bytes{0x55, 0x20}));
    EXPECT_EQ(Send(m, {0x09, 0x01, 'A'}), (Bytes{0x20, 0x20}));
    EXPECT_EQ(Send(m, {0x0B}), (Bytes{'G', '3', 'F', 'F', 0x20}));
    EXPECT_EQ(Send(m, {0x0B}), (Bytes{'F', '3', 'F', 'F', 0x20}));
}

TEST(ModuleFaultTest, DeadLineCarriesNoMoreBytes)
{
    ModuleSimulator m(*FindChip("16f84"));
    FaultSettings f;
    f.deadAfterBytes = 3;
    m.SetFaults(f);
    EXPECT_EQ(Send(m, {0x07}), kAck);    // bytes 1 and 2
    EXPECT_EQ(Send(m, {0x06}), Bytes{}); // byte 3 goes out, its answer is lost
    EXPECT_EQ(Send(m, {0x07}), Bytes{});
    EXPECT_EQ(m.ExchangeCount(), 2);
}

// A fake clock: HostReadWait's sleeps move it on.
struct FakeTime
{
    ModuleSimulator::TimePoint now{};
    void Attach(ModuleSimulator &m)
    {
        m.SetClock([this] { return now; },
                   [this](ModuleSimulator::Clock::duration d) { now += d; });
    }
};

TEST(ModuleFaultTest, LateReplyMissesTheHostsTimeLimitAndArrivesLater)
{
    ModuleSimulator m(*FindChip("16f84"));
    FakeTime time;
    time.Attach(m);
    FaultSettings f;
    f.lateReplyMs = 300;
    f.lateReplyAtExchange = 2;
    m.SetFaults(f);
    m.HostWrite(0x07);
    EXPECT_EQ(m.HostReadWait(250ms), 0x20);
    m.HostWrite(0x07);
    EXPECT_EQ(m.HostRead(), std::nullopt);
    EXPECT_EQ(m.HostReadWait(250ms), std::nullopt);
    EXPECT_EQ(m.HostReadWait(250ms), 0x20);
    EXPECT_EQ(time.now - ModuleSimulator::TimePoint{}, 300ms);
}

TEST(ModuleTimingTest, BytesPulsesAndFlashCyclesTakeTheirTime)
{
    ModuleSimulator m(*FindChip("16f84"));
    FakeTime time;
    time.Attach(m);
    m.SetTiming({true, 9600});
    const auto byte = 1041us; // 10 bits at 9600 baud
    m.HostWrite(0x07);
    EXPECT_EQ(*m.NextOutputDue() - time.now, 2 * byte);
    EXPECT_EQ(m.HostReadWait(1ms), std::nullopt); // not yet there
    EXPECT_EQ(m.HostReadWait(2ms), 0x20);
    Send(m, {0x09, 0x01, 'A'});
    time.now += 1s; // the line falls idle
    m.HostWrite(Cat(0x10, Word14(0x1234)));
    // Seven bytes in, one erase/program cycle of 20 ms, one byte out.
    EXPECT_EQ(*m.NextOutputDue() - time.now, 8 * byte + 20ms);
    m.TakeOutput();

    ModuleSimulator eprom(*FindChip("16c61"));
    FakeTime time2;
    time2.Attach(eprom);
    eprom.SetTiming({true, 9600});
    Send(eprom, {0x09, 0x01, 'A', 0x05, '1', '1', '0', '9', 'C', '0'});
    time2.now += 1s;
    eprom.HostWrite(Cat(0x0F, Word14(0x1234)));
    EXPECT_EQ(*eprom.NextOutputDue() - time2.now, 8 * byte + 4 * 100us); // 1 + 3 pulses
}

TEST(ModuleTranscriptTest, OneLinePerExchangeHostBytesThenModuleBytes)
{
    ModuleSimulator m(*FindChip("16f84"));
    std::vector<std::string> streamed;
    m.SetTranscriptSink([&](const std::string &line) { streamed.push_back(line); });
    Send(m, {0x07, 0x05, 'C', '0', '0', '1', '4', 'F', 0x06, 0x18, 0x09, 0x01, '4', 0x02});
    const std::vector<std::string> expected = {
        "07 -> 20",    "05 43 30 30 31 34 46 -> 20", "06 -> AA 20", "18 ->", "09 -> 20",
        "01 34 -> 20", "02 -> 45 46 46 37 20"};
    EXPECT_EQ(m.Transcript(), expected);
    EXPECT_EQ(streamed, expected);
    EXPECT_EQ(m.TranscriptText().substr(0, 17), "07 -> 20\n05 43 30");
}

} // namespace
