// The mid-range flash parts on the wire: each row is a chip as it was, a programming flow sent
// through the module's serial PIC commands, and the chip as it must be afterwards.

#include "HostScript.h"
#include "ModuleSimulator.h"

#include <gtest/gtest.h>

using namespace simtest;
using tolm::sim::FindChip;
using tolm::sim::ModuleSimulator;

namespace {

struct WireCase
{
    const char *name;
    const char *part;
    const char *before;     // cells set before power-on, "ADDR=WORD" or "DADDR=BYTE"
    const char *script;     // see RunScript
    const char *after;      // cells expected afterwards
    const char *fault = ""; // a protocol fault the flow must cause, "" for none
};

void PrintTo(const WireCase &c, std::ostream *os)
{
    *os << c.part << ": " << c.script;
}

class MidRangeWireTest : public testing::TestWithParam<WireCase>
{
};

TEST_P(MidRangeWireTest, FlowLeavesTheChipAsTheRealOneWould)
{
    const WireCase &c = GetParam();
    ModuleSimulator m(*FindChip(c.part));
    SetCells(m.chip(), c.before);
    Host h{m};
    h.PowerOn(false, false);
    EXPECT_EQ(RunScript(h, c.script), "");
    EXPECT_EQ(CellDifferences(m.chip(), c.after), "");
    EXPECT_EQ(m.PicCommandsAbove15(), 0);
    if (*c.fault == '\0') {
        EXPECT_TRUE(m.ProtocolFaults().empty()) << m.ProtocolFaultsText();
    } else {
        EXPECT_NE(m.ProtocolFaultsText().find(c.fault), std::string::npos)
            << m.ProtocolFaultsText();
    }
}

const WireCase kCases[] = {
    // 16F627A/648A: Begin Programming only programs; Bulk Erase takes the configuration word.
    {"ProgramOnlyWritesABlankWord", "16f627a", "", "LP 1234 BP RP 1234", "0000=1234"},
    {"ProgramOnlyAndsOverAProgrammedWord", "16f627a", "0000=0F0F", "LP 3355 BP", "0000=0305"},
    {"ProgramOnlyEraseTakesConfigurationNotIds", "16f627a", "0010=0 2007=1FFF 2000=0 D10=0",
     "LP 3FFF BE", "0010=3FFF 2007=3FFF 2000=0 D10=0"},
    {"ProgramOnlyEraseFromConfigurationSpace", "16f627a", "0010=0 2007=1FFF 2000=0 D10=0",
     "LC 3FFF LP 3FFF BE BD", "0010=3FFF 2007=3FFF 2000=3FFF D10=FF"},
    {"ProgramOnlyEraseTakesProtectedData", "16f627a", "2007=3EFF D10=0", "BE", "2007=3FFF D10=FF"},
    {"ProgramOnlyConfigurationBitsOnlyClear", "16f627a", "",
     "LC 0 INC 7 LP 3F7F BP LP 3FFF BP RP 3F7F", "2007=3F7F"},
    {"ProgramOnlyUnimplementedConfigurationReadsOne", "16f627a", "", "LC 0 INC 7 LP 0 BP",
     "2007=1E00"},
    {"ProgramOnlyHasNoUnprotectSequence", "16f627a", "0000=0 2007=1FFF",
     "LC 3FFF INC 7 C 1 C 7 BP C 1 C 7", "0000=0 2007=1FFF"},
    {"ProgramOnlyReplacesADataByte", "16f627a", "D00=0F", "LD A5 BP RD A5", "D00=A5"},
    // 12F629/675, 16F630/676: OSCCAL and band-gap bits go with every bulk erase.
    {"OscCalShipsCalibrated", "12f675", "", "INC 3FF RP 3454 LC 0 INC 7 RP 21FF",
     "03FF=3454 2007=21FF"},
    {"OscCalEraseTakesOscCalAndBandGap", "12f629", "0000=0", "LC 3FFF BE BD",
     "0000=3FFF 03FF=3FFF 2007=31FF 2000=3FFF"},
    {"OscCalRestoredAfterErase", "16f630", "03FF=3FFF 2007=31FF",
     "INC 3FF LP 3454 BP LC 0 INC 7 LP 21FF BP RP 21FF", "03FF=3454 2007=21FF"},
    {"OscCalBandGapCannotBeRaisedByAWrite", "16f676", "2007=01FF", "LC 0 INC 7 LP 31FF BP",
     "2007=01FF"},
    {"OscCalReadsUnderCodeProtection", "12f675", "0000=0123 2007=217F", "RP 0 INC 3FF RP 3454",
     "0000=0123"},
    {"OscCalProtectedPartErases", "12f675", "0000=0 2007=207F D00=0", "LC 3FFF BE",
     "0000=3FFF 2007=31FF D00=FF"},
    {"OscCalDataByteErasedFirst", "12f675", "D05=0F", "INC 5 LD F0 BP", "D05=F0"},
    // 12F683, 16F684/688/690: the calibration word at 2008 stays unless the counter is on it.
    {"CalibrationEraseInProgramSpace", "12f683", "0000=0 2007=0 2000=0", "BE",
     "0000=3FFF 2007=3FFF 2000=0 2008=1E5A"},
    {"CalibrationEraseInConfigurationSpace", "16f684", "2000=0", "LC 3FFF BE",
     "2000=3FFF 2008=1E5A"},
    {"CalibrationEraseOnTheCalibrationWord", "16f688", "", "LC 3FFF INC 8 BE",
     "2000=3FFF 2008=3FFF"},
    {"CalibrationFourWordWrite", "16f690", "",
     "LP 1111 INC 1 LP 2222 INC 1 LP 3333 INC 1 LP 0444 BP",
     "0000=1111 0001=2222 0002=3333 0003=0444"},
    {"CalibrationOneWordWriteLeavesNeighbours", "12f683", "0001=1234", "LP 0F00 BP INC 1 RP 1234",
     "0000=0F00 0001=1234"},
    {"CalibrationProgramOnlyAnds", "12f683", "0002=00FF", "INC 2 LP 3F0F BP", "0002=000F"},
    {"CalibrationWordTakesACarelessWrite", "12f683", "", "LC 0 INC 8 LP 0 BP RP 0", "2008=0000"},
    {"CalibrationDataEraseUnderProtection", "12f683", "2007=3F7F D00=0", "BD", "D00=FF"},
    // 16F882-887: CONFIG2 at 2008 goes with the erase, the calibration word at 2009 stays.
    {"TwoConfigEraseTakesBothWords", "16f887", "2007=0 2008=0 0000=0", "BE",
     "0000=3FFF 2007=3FFF 2008=3FFF 2009=1E5A"},
    {"TwoConfigEraseOnTheCalibrationWord", "16f886", "", "LC 3FFF INC 9 BE", "2009=3FFF"},
    {"TwoConfigSecondWordCells", "16f883", "", "LC 0 INC 8 LP 0 BP RP 38FF", "2007=3FFF 2008=38FF"},
    {"TwoConfigEightWordWrite", "16f887", "",
     "LP 1 INC 1 LP 2 INC 1 LP 3 INC 1 LP 4 INC 1 LP 5 INC 1 LP 6 INC 1 LP 7 INC 1 LP 8 BP",
     "0000=1 0001=2 0002=3 0003=4 0004=5 0005=6 0006=7 0007=8"},
    {"TwoConfigFourLatchesOn882", "16f882", "",
     "LP 1 INC 1 LP 2 INC 1 LP 3 INC 1 LP 4 INC 1 LP 5 BP",
     "0000=3FFF 0004=5 0005=2 0006=3 0007=4"},
    // 16F873A-877A: eight latches, erased and written as a block; protection needs Chip Erase.
    {"BlockEightLoadsWriteTheBlock", "16f877a", "",
     "LP 1 INC 1 LP 2 INC 1 LP 3 INC 1 LP 4 INC 1 LP 5 INC 1 LP 6 INC 1 LP 7 INC 1 LP 8 BP",
     "0000=1 0001=2 0002=3 0003=4 0004=5 0005=6 0006=7 0007=8"},
    {"BlockIgnoresTheLowCounterBits", "16f876a", "0000=1111 0005=1111", "INC 5 LP 0555 BP",
     "0000=3FFF 0005=0555", "1 of the 8 write latches"},
    {"BlockLatchesKeepTheirContents", "16f874a", "",
     "LP 1 INC 1 LP 2 INC 1 LP 3 INC 1 LP 4 INC 1 LP 5 INC 1 LP 6 INC 1 LP 7 INC 1 LP 8 BP "
     "INC 1 LP 0AAA BP",
     "0008=0AAA 0009=2 000F=8", "1 of the 8 write latches"},
    {"BlockBulkEraseAloneErasesNothing", "16f873a", "0000=0", "BE", "0000=0"},
    {"BlockBulkEraseKeepsConfiguration", "16f877a", "0000=0 2007=3FFB 2000=0", "BE BP",
     "0000=3FFF 2007=3FFB 2000=0"},
    {"BlockBulkEraseFromConfigurationSpace", "16f877a", "2000=0 2007=3FFB", "LC 3FFF BE BP",
     "2000=3FFF 2007=3FFB"},
    {"BlockDataErase", "16f877a", "D00=0", "BD BP", "D00=FF"},
    {"BlockProtectedPartStaysProtected", "16f877a", "0000=0 2007=1EFF D00=0",
     "BE BP BD BP LC 3FFF INC 7 C 1 C 7 BP C 1 C 7", "0000=0 2007=1EFF D00=0"},
    {"BlockConfigurationSetsProtectionNeverClearsIt", "16f877a", "",
     "LC 0 INC 7 LP 1EFB BP LP 3FFF BP RP 1EFF", "2007=1EFF"},
    {"BlockIdsAreOneRow", "16f877a", "", "LC 0 LP 1 INC 1 LP 2 INC 1 LP 3 INC 1 LP 4 BP",
     "2000=1 2001=2 2002=3 2003=4 2007=3FFF"},
};

INSTANTIATE_TEST_SUITE_P(Flows, MidRangeWireTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<WireCase> &p) { return p.param.name; });

} // namespace
