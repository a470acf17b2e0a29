// The newer flash parts' drivers against the simulated chips, one part of each algorithm: the
// erase keeps what the factory calibrated, a whole image goes on the chip and comes back, the
// band-gap bits and calibration words survive it all, a protected 16F87XA is refused as it is,
// the 8-word blocks take one programming cycle each, and no PIC command above 15 is sent.
#include "EngineRig.h"

#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "engine/ChipCommands.h"
#include "engine/EraseThenWrite.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using tolm::sim::ChipDescription;

std::uint16_t Max(const QString &text)
{
    return static_cast<std::uint16_t>(*ParseHexText(text));
}

// What the factory put in the chip and no erase or write of ours may change.
struct Factory
{
    std::optional<std::uint16_t> oscCal;
    std::optional<std::uint16_t> calibrationSpaceWord;
    std::uint16_t bandGap = 0;
};

Factory FactoryOf(const tolm::sim::SimChip &chip)
{
    const ChipDescription &d = chip.Description();
    Factory f;
    if (d.calibrationWord) {
        f.oscCal = chip.ProgramWord(static_cast<std::uint16_t>(d.programWords - 1));
    }
    if (d.configCalibration) {
        f.calibrationSpaceWord = chip.CalibrationSpaceWord();
    }
    f.bandGap = chip.ConfigWord() & d.bandGapMask;
    return f;
}

void ExpectFactoryKept(const tolm::sim::SimChip &chip, const Factory &before)
{
    const Factory now = FactoryOf(chip);
    EXPECT_EQ(now.oscCal, before.oscCal) << "OSCCAL";
    EXPECT_EQ(now.calibrationSpaceWord, before.calibrationSpaceWord) << "calibration word";
    EXPECT_EQ(now.bandGap, before.bandGap) << "band-gap bits";
}

// Every serial PIC command on the wire ("01 d") carries a single code digit: 0 to F.
void ExpectOnlyCodesUpTo15(const std::vector<std::string> &transcript)
{
    for (const std::string &line : transcript) {
        if (line.rfind("01 ", 0) == 0) {
            EXPECT_EQ(line.find(" ->"), 5u) << line;
        }
    }
}

class FlashDriver : public ::testing::TestWithParam<const char *>
{
protected:
    void SetUp() override
    {
        rig = std::make_unique<EngineRig>(QString::fromLatin1(GetParam()));
        rig->host.parallel = false;
        progMax = Max(rig->device.ProgMaxText);
        dataMax = Max(rig->device.DataMaxText);
        lastUser = CalibrationSavedAcrossErase(rig->device) ? progMax - 1 : progMax;
        rig->host.progEnd = FormatHex(lastUser, 4);
        rig->host.dataEnd = FormatHex(dataMax, 2);
    }

    std::unique_ptr<EngineRig> rig;
    std::uint16_t progMax = 0;
    std::uint16_t dataMax = 0;
    int lastUser = 0;
};

TEST_P(FlashDriver, EraseWriteVerifyAndReadBackKeepTheFactoryCalibration)
{
    std::mt19937 random(static_cast<unsigned>(qHash(QString::fromLatin1(GetParam()))));
    tolm::sim::SimChip &chip = rig->sim->chip();
    const ChipDescription &d = chip.Description();
    const Factory factory = FactoryOf(chip);
    PicEngine &engine = rig->engine;

    // A used chip: the erase must take the program and the data, and only that.
    chip.SetProgramWord(5, 0x0123);
    chip.SetDataByte(3, 0x12);
    ASSERT_TRUE(UnprotectDevice(engine));
    EXPECT_EQ(chip.ProgramWord(5), 0x3FFF);
    EXPECT_EQ(chip.DataByte(3), 0xFF);
    ExpectFactoryKept(chip, factory);

    for (int a = 0; a <= lastUser; ++a) {
        rig->image.SetProgramWordText(a, FormatHex(random() & 0x3FFF, 4));
    }
    for (int a = 0; a <= dataMax; ++a) {
        rig->image.SetDataByteText(a, FormatHex(random() & 0xFF, 2));
    }
    rig->image.IDCodeText = FormatHex(random() & 0xFFFF, 4);
    // No protection, and band-gap bits other than the chip's: the file's never reach it.
    rig->image.ConfigWord = static_cast<std::uint16_t>(
        ((random() | d.codeProtectMask | d.dataProtectMask) & 0x3FFF & ~d.bandGapMask) |
        (~factory.bandGap & d.bandGapMask));
    rig->image.SecondConfigWord = static_cast<std::uint16_t>(random() & 0x3FFF);

    rig->sim->ClearTranscript();
    ASSERT_EQ(engine.PicWriteProgMem().outcome, EngineOutcome::Completed);
    ASSERT_EQ(engine.PicWriteDataMem().outcome, EngineOutcome::Completed);
    ASSERT_TRUE(engine.PicWriteIDCode(*IdCodeValue(rig->image.IDCodeText)));
    ASSERT_TRUE(engine.PicWriteConfig(rig->image.ConfigWord, rig->image.SecondConfigWord));
    EXPECT_TRUE(rig->host.writeErrors.isEmpty()) << rig->host.writeErrors.join('\n').toStdString();
    ExpectOnlyCodesUpTo15(rig->TakeTranscript());

    EXPECT_EQ(engine.PicVerifyProgMem().outcome, EngineOutcome::Completed);
    EXPECT_EQ(engine.PicVerifyDataMem().outcome, EngineOutcome::Completed);
    const ChipResult<PicEngine::ConfigWords> words = engine.PicReadConfigWords();
    ASSERT_TRUE(words);
    const std::uint16_t mask = ConfigCompareMask(rig->device);
    EXPECT_EQ(words->first & mask, rig->image.ConfigWord & mask);
    EXPECT_EQ(words->second.has_value(), d.secondConfig.has_value());
    if (d.secondConfig) {
        EXPECT_EQ(*words->second & d.secondConfig->implemented,
                  rig->image.SecondConfigWord & d.secondConfig->implemented);
    }
    ExpectFactoryKept(chip, factory);

    MemoryImage fresh;
    PicEngine reader(rig->module, rig->host, fresh, rig->device);
    ASSERT_EQ(reader.PicReadProgMem().outcome, EngineOutcome::Completed);
    for (int a = 0; a <= lastUser; ++a) {
        ASSERT_EQ(fresh.GetProgramWordText(a), rig->image.GetProgramWordText(a)) << a;
    }
    EXPECT_EQ(reader.PicReadIDCode(), ChipResult<QString>(rig->image.IDCodeText));
    EXPECT_TRUE(rig->sim->ProtocolFaults().empty()) << rig->sim->ProtocolFaultsText();
}

// The erase-then-write plan as --fast and "Erase before write" run it: erase, write what is not
// blank, verify; the factory's words stay.
TEST_P(FlashDriver, TheEraseThenWritePlanEndsDoneWithTheCalibrationKept)
{
    tolm::sim::SimChip &chip = rig->sim->chip();
    const Factory factory = FactoryOf(chip);
    chip.SetProgramWord(1, 0);
    rig->image.FillProgramImage(QStringLiteral("3FFF"));
    rig->image.SetProgramWordText(0, QStringLiteral("2805"));
    rig->image.SetProgramWordText(lastUser, QStringLiteral("0008"));
    const auto runStep = [&](const EraseThenWriteStep &step) {
        if (!step.memories) {
            return true; // the configuration word step: the round trip above covers it
        }
        if (step.operation == ChipOperation::Write) {
            return rig->engine.PicWriteProgMem(step.scope).Succeeded();
        }
        return rig->engine.PicVerifyProgMem().Succeeded();
    };
    const EraseThenWriteOutcome outcome = RunEraseThenWrite(rig->engine, runStep);
    EXPECT_EQ(outcome.end, EraseThenWriteEnd::Done);
    EXPECT_EQ(chip.ProgramWord(0), 0x2805);
    EXPECT_EQ(chip.ProgramWord(1), 0x3FFF);
    EXPECT_EQ(chip.ProgramWord(static_cast<std::uint16_t>(lastUser)), 0x0008);
    ExpectFactoryKept(chip, factory);
}

INSTANTIATE_TEST_SUITE_P(OnePartOfEachAlgorithm, FlashDriver,
                         ::testing::Values("16f84a", "16f627a", "12f683", "12f675", "16f873a",
                                           "16f882"),
                         [](const auto &row) { return std::string(row.param); });

// A 16F87XA chip with code or data protection on: only Chip Erase (1F) would clear it, which
// the module cannot send. The erase reads the configuration word, refuses, and sends nothing
// that would change the chip.
TEST(BlockPartProtection, AProtectedChipIsRefusedAndLeftAsItWas)
{
    struct Case
    {
        const char *name;
        std::uint16_t config;
    };
    const Case cases[] = {{"code", 0x1FFF}, {"data", 0x3EFF}, {"both", 0x1EFF}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EngineRig rig(QStringLiteral("16f877a"));
        rig.host.parallel = false;
        tolm::sim::SimChip &chip = rig.sim->chip();
        chip.SetConfigWord(c.config);
        chip.SetProgramWord(0, 0x1234);
        chip.SetDataByte(0, 0x56);
        rig.sim->ClearTranscript();

        const ChipResult<NoValue> erased = UnprotectDevice(rig.engine);
        ASSERT_FALSE(erased);
        EXPECT_EQ(erased.Failure(), ChipFailure(ProtectedChip{c.config}));
        const std::vector<std::string> sent = rig.TakeTranscript();
        for (const char *change : {"01 38", "01 39", "01 42"}) { // codes 8, 9, B
            EXPECT_EQ(rig.CountCommand(sent, change), 0) << change;
        }
        EXPECT_EQ(chip.ProgramWord(0), 0x1234);
        EXPECT_EQ(chip.DataByte(0), 0x56);
        EXPECT_EQ(chip.ConfigWord(), c.config);

        // The plan stops at the erase: nothing is written and nothing is called done.
        bool stepRan = false;
        const EraseThenWriteOutcome outcome =
            RunEraseThenWrite(rig.engine, [&](const EraseThenWriteStep &) {
                stepRan = true;
                return true;
            });
        EXPECT_EQ(outcome.end, EraseThenWriteEnd::EraseFailed);
        EXPECT_FALSE(stepRan);
    }
}

// Each aligned block of eight words is loaded whole and programmed by one Begin
// Erase/Programming; a range that starts or ends inside a block takes the image's words beside
// it, so the block's other words are not lost to the block erase.
TEST(BlockPartWrite, OneProgrammingCycleForEachBlockTheRangeTouches)
{
    struct Case
    {
        const char *start;
        const char *end;
        int cycles;
    };
    const Case cases[] = {{"0000", "0007", 1},
                          {"0000", "000F", 2},
                          {"0003", "0009", 2},
                          {"0007", "0008", 2},
                          {"0010", "0010", 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.start) + "-" + c.end);
        EngineRig rig(QStringLiteral("16f873a"));
        rig.host.parallel = false;
        for (int a = 0; a < 0x20; ++a) {
            rig.image.SetProgramWordText(a, FormatHex(0x1000 + a, 4));
        }
        rig.host.progStart = QString::fromLatin1(c.start);
        rig.host.progEnd = QString::fromLatin1(c.end);
        rig.sim->ClearTranscript();
        ASSERT_EQ(rig.engine.PicWriteProgMem().outcome, EngineOutcome::Completed);
        const std::vector<std::string> sent = rig.TakeTranscript();
        EXPECT_EQ(rig.CountCommand(sent, "01 38"), c.cycles);
        EXPECT_EQ(rig.CountCommand(sent, "01 32"), 8 * c.cycles); // Load Data for Program
        const int first = *ParseHexText(QString::fromLatin1(c.start)) & ~7;
        const int last = *ParseHexText(QString::fromLatin1(c.end)) | 7;
        for (int a = first; a <= last; ++a) {
            EXPECT_EQ(rig.sim->chip().ProgramWord(static_cast<std::uint16_t>(a)), 0x1000 + a) << a;
        }
        EXPECT_TRUE(rig.sim->ProtocolFaults().empty()) << rig.sim->ProtocolFaultsText();
    }
}

} // namespace
