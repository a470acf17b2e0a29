// What a production bench adds on top of the desktop operations: the device ID check of the
// newer flash parts, and the write that leaves out blank words on an erased flash chip.
#include "EngineRig.h"

#include "device/HexText.h"
#include "engine/ChipCommands.h"
#include "engine/DeviceId.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct IdCase
{
    const char *device;
    bool parallel;
    std::uint16_t word;
};

class EngineDeviceId : public ::testing::TestWithParam<IdCase>
{
};

TEST_P(EngineDeviceId, ReadsAndNamesThePart)
{
    const IdCase &c = GetParam();
    EngineRig rig(c.device);
    rig.host.parallel = c.parallel;
    EXPECT_TRUE(HasDeviceId(rig.device));
    const ChipResult<std::uint16_t> word = ReadDeviceId(rig.engine);
    ASSERT_TRUE(word.Ok());
    EXPECT_EQ(*word, c.word);
    const DeviceIdInfo info = DecodeDeviceId(*word);
    EXPECT_EQ(info.partName, QString(c.device));
    EXPECT_EQ(info.revision, 0);
    EXPECT_FALSE(rig.sim->State().powered);
    EXPECT_TRUE(rig.sim->ProtocolFaults().empty()) << rig.sim->ProtocolFaultsText();
}

INSTANTIATE_TEST_SUITE_P(Parts, EngineDeviceId,
                         ::testing::Values(IdCase{"16f628", true, 0x07C0},
                                           IdCase{"16f628a", false, 0x1060},
                                           IdCase{"16f876", false, 0x09E0},
                                           IdCase{"16f877", true, 0x09A0}),
                         [](const auto &row) { return std::string(row.param.device); });

TEST(EngineDeviceId, DecodesRevisionsAndUnknownWords)
{
    EXPECT_EQ(DecodeDeviceId(0x09A3).partName, QString("16f877"));
    EXPECT_EQ(DecodeDeviceId(0x09A3).revision, 3);
    EXPECT_FALSE(DecodeDeviceId(0x3FFF).partName.has_value());
    EXPECT_FALSE(HasDeviceId(*FindDevice("16f84")));
}

class EngineSkipBlankWrite : public ::testing::TestWithParam<bool>
{
};

TEST_P(EngineSkipBlankWrite, ErasedChipEndsUpAsAWholeWrite)
{
    std::mt19937 random(7);
    EngineRig fast("16f877");
    EngineRig whole("16f877");
    for (EngineRig *rig : {&fast, &whole}) {
        rig->host.parallel = GetParam();
        rig->host.progEnd = "1FFF";
        rig->host.dataEnd = "FF";
        rig->image.FillProgramImage("3FFF");
        rig->image.FillDataImage("FF");
        rig->sim->SetKeepTranscript(false);
        // The chip held an older program: both start from the erase.
        rig->sim->chip().SetProgramWord(0x0100, 0x0000);
        ASSERT_TRUE(UnprotectDevice(rig->engine));
    }
    for (int a = 0; a < 200; ++a) {
        const int address = a < 150 ? a : 0x1000 + a; // two pieces with a gap
        const QString word = FormatHex(random() & 0x3FFF, 4);
        fast.image.SetProgramWordText(address, word);
        whole.image.SetProgramWordText(address, word);
    }
    fast.image.SetDataByteText(5, "42");
    whole.image.SetDataByteText(5, "42");

    const int fastBefore = fast.sim->ExchangeCount();
    ASSERT_EQ(fast.engine.PicWriteProgMem(PicEngine::WriteScope::SkipBlank).outcome,
              EngineOutcome::Completed);
    ASSERT_EQ(fast.engine.PicWriteDataMem(PicEngine::WriteScope::SkipBlank).outcome,
              EngineOutcome::Completed);
    const int fastExchanges = fast.sim->ExchangeCount() - fastBefore;
    const int wholeBefore = whole.sim->ExchangeCount();
    ASSERT_EQ(whole.engine.PicWriteProgMem().outcome, EngineOutcome::Completed);
    ASSERT_EQ(whole.engine.PicWriteDataMem().outcome, EngineOutcome::Completed);
    const int wholeExchanges = whole.sim->ExchangeCount() - wholeBefore;

    for (int a = 0; a < 0x2000; ++a) {
        ASSERT_EQ(fast.sim->chip().ProgramWord(a), whole.sim->chip().ProgramWord(a)) << a;
    }
    for (int a = 0; a < 0x100; ++a) {
        ASSERT_EQ(fast.sim->chip().DataByte(a), whole.sim->chip().DataByte(a)) << a;
    }
    EXPECT_LT(fastExchanges * 5, wholeExchanges);
    EXPECT_TRUE(fast.sim->ProtocolFaults().empty()) << fast.sim->ProtocolFaultsText();
}

INSTANTIATE_TEST_SUITE_P(Methods, EngineSkipBlankWrite, ::testing::Values(true, false),
                         [](const auto &row) {
                             return std::string(row.param ? "Parallel" : "Serial");
                         });

} // namespace
