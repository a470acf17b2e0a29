// The module's answers byte for byte, against the frames and encodings the wire fixes.

#include "HostScript.h"
#include "ModuleSimulator.h"
#include "WireCodec.h"

#include <gtest/gtest.h>

using namespace simtest;
using tolm::sim::FindChip;
using tolm::sim::ModuleSimulator;

namespace {

struct FrameCase
{
    const char *name;
    Bytes setup; // sent first; its answers are not checked here
    Bytes host;
    Bytes expected;
};

class FrameTest : public testing::TestWithParam<FrameCase>
{
};

TEST_P(FrameTest, AnswersExactly)
{
    const FrameCase &c = GetParam();
    ModuleSimulator module(*FindChip("16f84"));
    module.HostWrite(c.setup);
    module.TakeOutput();
    EXPECT_EQ(Send(module, c.host), c.expected);
    EXPECT_TRUE(module.ProtocolFaults().empty()) << module.ProtocolFaultsText();
}

const Bytes kPowered{0x07, 0x09};
const Bytes kParallel{0x07, 0x09, 0x01, 'A'};

INSTANTIATE_TEST_SUITE_P(
    BlankF84, FrameTest,
    testing::Values(
        FrameCase{"PowerOff", {}, {0x07}, {0x20}},
        FrameCase{"SetPulseTiming", {}, {0x05, 0x43, 0x30, 0x30, 0x31, 0x34, 0x46}, {0x20}},
        FrameCase{"SerialPicCommand6", kPowered, {0x01, 0x36}, {0x20}},
        FrameCase{"SerialLoadData",
                  {0x07, 0x09, 0x01, '2'},
                  {0x03, 0x45, 0x30, 0x46, 0x30, 0x46, 0x37},
                  {0x20}},
        FrameCase{
            "SerialReadData", {0x07, 0x09, 0x01, '4'}, {0x02}, {0x45, 0x46, 0x46, 0x37, 0x20}},
        FrameCase{"ReadProgWord", kParallel, {0x0B}, {0x46, 0x33, 0x46, 0x46, 0x20}},
        FrameCase{"AdvanceAddress", kParallel, {0x15, 0x45, 0x33, 0x46}, {0x20}},
        FrameCase{"Identify", {}, {0x06}, {0xAA, 0x20}},
        FrameCase{"ParityMode", {}, {0x17}, {0x20}}, FrameCase{"PowerOnSerial", {}, {0x09}, {0x20}},
        FrameCase{"ProgramPulse",
                  {0x07, 0x09, 0x01, '2', 0x03, 'E', '0', 'F', '0', 'F', '7'},
                  {0x04},
                  {0x20}},
        FrameCase{"ReadDataWord", kParallel, {0x0C}, {'F', '3', '3', '0', 0x20}},
        FrameCase{"IncrementAddress", kParallel, {0x14}, {0x20}},
        FrameCase{"LoadConfig", kParallel, {0x16, 'F', 'F', '3', '0', 'F', '0'}, {0x20}},
        FrameCase{"WriteWordFlash", kParallel, {0x10, '4', '8', '3', '0', '4', '0'}, {0x20}},
        FrameCase{"WriteDataByte", kParallel, {0x11, 'A', '2', '1', '0', '0', '0'}, {0x20}},
        FrameCase{"ParallelPicCommand", kParallel, {0x00, '6'}, {0x20}}),
    [](const testing::TestParamInfo<FrameCase> &p) { return std::string(p.param.name); });

// The data byte written above reads back through 0x0C: A5 = bits 0-3 5, 4-5 2, 6-9 2.
TEST(FrameTest, DataByteReadsBackThroughReplyFourteen)
{
    ModuleSimulator module(*FindChip("16f84"));
    module.HostWrite(kParallel);
    module.TakeOutput();
    EXPECT_EQ(Send(module, {0x11, '5', '2', '2', '0', '0', '0'}), kAck);
    EXPECT_EQ(Send(module, {0x0C}), (Bytes{'5', '2', '2', '0', 0x20}));
    EXPECT_EQ(module.chip().DataByte(0), 0xA5);
}

struct EncodingCase
{
    const char *name;
    Bytes chars;
    uint32_t value;
    tolm::sim::wire::Decoded (*decode)(std::span<const uint8_t>);
};

class DecodingTest : public testing::TestWithParam<EncodingCase>
{
};

TEST_P(DecodingTest, DecodesTheWorkedExamples)
{
    const EncodingCase &c = GetParam();
    const auto decoded = c.decode(c.chars);
    EXPECT_TRUE(decoded.Ok()) << decoded.fault;
    EXPECT_EQ(decoded.value, c.value);
}

namespace wire = tolm::sim::wire;

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, DecodingTest,
    testing::Values(
        EncodingCase{
            "TimingF40C", {'C', '0', '0', '1', '4', 'F'}, 0x01F40C, wire::DecodeTimingPair},
        EncodingCase{"Timing25", {'1', '1', '0', '9', 'C', '0'}, 0x190C01, wire::DecodeTimingPair},
        EncodingCase{"Timing100", {'1', '6', '0', '4', 'C', '0'}, 0x640C01, wire::DecodeTimingPair},
        EncodingCase{"Word3FFF", {'F', 'F', '3', '0', 'F', '0'}, 0x3FFF, wire::DecodeWord14},
        EncodingCase{"Word1234", {'4', '8', '3', '0', '4', '0'}, 0x1234, wire::DecodeWord14},
        EncodingCase{"Word14TopBits", {'0', '0', '0', '0', '0', '3'}, 0xC000, wire::DecodeWord14},
        EncodingCase{"TwelveA", {'B', 'C', 'A'}, 0x0ABC, wire::Decode12BitA},
        EncodingCase{"TwelveB", {'C', 'A', 'B'}, 0x0ABC, wire::Decode12BitB},
        EncodingCase{"NormalT", {'E', '0', 'F', '0', 'F', '7'}, 0x7FFE, wire::DecodeTransfer16},
        EncodingCase{
            "ParityAllOnes", {'D', '0', 'F', '0', 'F', 'F'}, 0xFFFD, wire::DecodeTransfer16},
        EncodingCase{"ParityZero", {'2', '0', '0', '0', '0', '0'}, 0x0002, wire::DecodeTransfer16},
        EncodingCase{"Parity1234", {'3', '0', 'D', '0', '8', '4'}, 0x48D3, wire::DecodeTransfer16}),
    [](const testing::TestParamInfo<EncodingCase> &p) { return std::string(p.param.name); });

TEST(WireCodecTest, ParityFormAndTestEncodersAgreeWithTheWorkedExamples)
{
    EXPECT_EQ(wire::ParityTransfer(0x3FFF), 0xFFFD);
    EXPECT_EQ(wire::ParityTransfer(0x0000), 0x0002);
    EXPECT_EQ(wire::ParityTransfer(0x1234), 0x48D3);
    EXPECT_TRUE(wire::ParityBitsValid(0x48D3));
    EXPECT_FALSE(wire::ParityBitsValid(0x48D2));
    EXPECT_FALSE(wire::ParityBitsValid(0x48D1));
    EXPECT_EQ(ParityT(0x1234), 0x48D3u);
    EXPECT_EQ(Transfer16(ParityT(0x1234)), (Bytes{'3', '0', 'D', '0', '8', '4'}));
    EXPECT_EQ(Word14(0x1234), (Bytes{'4', '8', '3', '0', '4', '0'}));
    EXPECT_EQ(Timing(0x0C01, 100), (Bytes{'1', '6', '0', '4', 'C', '0'}));
    EXPECT_EQ(TwelveA(0xABC), (Bytes{'B', 'C', 'A'}));
    EXPECT_EQ(TwelveB(0xABC), (Bytes{'C', 'A', 'B'}));
    EXPECT_EQ(wire::EncodeReply14(0x3FFF), (Bytes{'F', '3', 'F', 'F'}));
    EXPECT_EQ(wire::Encode12BitB(0xABC), (Bytes{'C', 'A', 'B'}));
}

} // namespace

namespace {

TEST(ChipCatalogueTest, ChipsFoundOnlyByTheirExactNames)
{
    EXPECT_EQ(FindChip("16F84"), nullptr);
    EXPECT_EQ(FindChip(""), nullptr);
    EXPECT_EQ(ModuleSimulator::ForDevice("16c62a"), nullptr);
    ASSERT_NE(ModuleSimulator::ForDevice("16c62A"), nullptr);
}

} // namespace
