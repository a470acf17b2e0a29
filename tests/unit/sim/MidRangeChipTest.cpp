// The mid-range flash parts as descriptions and as chips: relations every description must
// keep, device IDs with their revision, the chip's own time, and the command codes above 15
// that the module can never pass on.

#include "ChipSession.h"
#include "HostScript.h"
#include "ModuleSimulator.h"

#include <gtest/gtest.h>

#include <bit>
#include <map>
#include <tuple>

using namespace simtest;
using tolm::sim::AllChips;
using tolm::sim::ChipAlgorithm;
using tolm::sim::ChipDescription;
using tolm::sim::ChipSession;
using tolm::sim::FaultLog;
using tolm::sim::FindChip;
using tolm::sim::ModuleSimulator;
using tolm::sim::SimChip;

namespace {

TEST(MidRangeChipTest, EveryDescriptionKeepsItsRelations)
{
    ASSERT_EQ(AllChips().size(), 53u);
    std::map<uint16_t, std::string_view> ids; // compared as a 5-bit revision field would be
    for (const ChipDescription &d : AllChips()) {
        SCOPED_TRACE(std::string(d.name));
        EXPECT_EQ(FindChip(d.name), &d);
        EXPECT_TRUE(std::has_single_bit(d.programWords));
        EXPECT_TRUE(d.dataBytes == 0 || std::has_single_bit(d.dataBytes));
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(d.writeLatchWords)));
        const uint16_t protection = d.codeProtectMask | d.dataProtectMask;
        EXPECT_EQ(protection & ~d.configImplemented, 0);
        EXPECT_EQ(d.bandGapMask & ~d.configImplemented, 0);
        EXPECT_EQ(d.configErased & d.configImplemented & d.WordMask(),
                  d.configImplemented & d.WordMask()); // erased cells are 1s
        if (d.deviceId) {
            EXPECT_EQ(*d.deviceId & d.revisionMask, 0);
            EXPECT_TRUE(ids.emplace(*d.deviceId & 0x3FE0, d.name).second)
                << "same device ID as " << ids[*d.deviceId & 0x3FE0];
        }
        if (d.algorithm == ChipAlgorithm::FlashOscCalBandGap) {
            EXPECT_EQ(*d.calibrationWord & 0x3F00, 0x3400) << "OSCCAL is a RETLW k";
        }
        if (d.configCalibration) {
            EXPECT_GT(d.configCalibration->address, d.configAddress);
            EXPECT_NE(d.configCalibration->address, d.secondConfig ? d.secondConfig->address : 0);
        }
    }
}

TEST(MidRangeChipTest, DeviceIdCarriesTheRevisionWithinItsField)
{
    for (const ChipDescription &d : AllChips()) {
        if (d.revisionMask == 0) {
            continue;
        }
        SCOPED_TRACE(std::string(d.name));
        ModuleSimulator m(d);
        m.chip().SetRevision(0x1D);
        Host h{m};
        h.PowerOn(false, false);
        h.Pic(0);
        h.Load(0);
        h.Steps(6);
        EXPECT_EQ(h.ReadProgram(), *d.deviceId | (0x1D & d.revisionMask));
        EXPECT_EQ(FlashWriteSerial(h, 0), *d.deviceId | (0x1D & d.revisionMask)); // read-only
    }
}

TEST(MidRangeChipTest, AStepTakesTheChipsLongestWait)
{
    const std::tuple<const char *, const char *, long long> cases[] = {
        {"16f877a", "LP 1 BP", 8000}, // one 8-word block
        {"12f675", "LP 1 BP", 2500},
        {"12f675", "LD 1 BP", 6000},
        {"16f84", "BE", 20000}, // the older parts: one cycle time for everything
    };
    for (const auto &[part, script, micros] : cases) {
        ModuleSimulator m(*FindChip(part));
        Host h{m};
        h.PowerOn(false, false);
        RunScript(h, script);
        EXPECT_EQ(m.LastChipTime().count(), micros) << part << ": " << script;
    }
}

// Chip Erase exists on the 16F87XA but needs a code the module cannot send; the chip session
// is driven directly here to show what it would do and that it is seen.
TEST(MidRangeChipTest, CodesAbove15AreRecordedAndActOnlyWhereDefined)
{
    for (const char *part : {"16f877a", "16f887"}) {
        SCOPED_TRACE(part);
        SimChip chip(*FindChip(part));
        FaultLog log;
        ChipSession session(chip, log);
        chip.SetProgramWord(0, 0);
        chip.SetConfigWord(0x0000); // every protection bit on
        session.Begin();
        session.PicCommand(0x1F);
        const bool has = std::string(part) == "16f877a";
        EXPECT_EQ(chip.ProgramWord(0), has ? 0x3FFF : 0x0000);
        EXPECT_EQ(chip.CodeProtected(), !has);
        EXPECT_EQ(session.PicCommandsAbove15(), 1);
        EXPECT_EQ(session.PicCommandCount(0x1F), 1);
        ASSERT_EQ(log.Faults().size(), 1u);
        EXPECT_NE(log.Faults()[0].text.find("1F"), std::string::npos);
    }
}

TEST(MidRangeChipTest, ParallelWordWriteOnABlockPartRewritesTheWholeBlock)
{
    ModuleSimulator m(*FindChip("16f877a"));
    for (uint16_t a = 0; a < 8; ++a) {
        m.chip().SetProgramWord(a, 0x1111);
    }
    Host h{m};
    h.PowerOn(false, true);
    Send(m, Cat(0x15, TwelveB(2)));
    EXPECT_EQ(h.Word14Command(0x10, 0x0333), kAck);
    EXPECT_EQ(m.chip().ProgramWord(3), 0x0333);
    EXPECT_EQ(m.chip().ProgramWord(0), 0x3FFF) << "the block's other words were erased";
    EXPECT_EQ(m.PicCommandsAbove15(), 0);
}

} // namespace
