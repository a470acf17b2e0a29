// How the memory operations meet the user: pausing and closing between words, the answers
// of the write error box, ranges at the edges, image cells that are not numbers, the ID
// locations, and the direct-access and calibration commands.
#include "EngineRig.h"

#include "device/HexText.h"
#include "engine/ChipCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void FillSequential(MemoryImage &image, int words)
{
    for (int a = 0; a < words; ++a) {
        image.SetProgramWordText(a, FormatHex(0x0100 + a, 4));
    }
}

TEST(EngineFlow, PauseDoesNoChipWorkAndResumesAtTheNextWord)
{
    EngineRig rig("16f84");
    rig.host.progEnd = "0009";
    FillSequential(rig.image, 10);
    int exchangesWhenPaused = -1;
    std::vector<int> exchangesInPausedPasses;
    rig.host.onStep = [&](ScriptedEngineHost &h) {
        if (h.progressSteps == 3) {
            h.pause = true;
            exchangesWhenPaused = rig.sim->ExchangeCount();
        }
    };
    rig.host.onPausedPass = [&](ScriptedEngineHost &h) {
        exchangesInPausedPasses.push_back(rig.sim->ExchangeCount());
        h.pause = h.pausedPasses < 3;
    };
    const EngineResult result = rig.engine.PicWriteProgMem();
    EXPECT_EQ(result.outcome, EngineOutcome::Completed);
    EXPECT_EQ(result.wordsDone, 10);
    EXPECT_EQ(exchangesInPausedPasses, std::vector<int>(3, exchangesWhenPaused));
    EXPECT_EQ(rig.host.captions, QStringList(3, "Continue"));
    for (int a = 0; a < 10; ++a) {
        EXPECT_EQ(rig.sim->chip().ProgramWord(a), 0x0100 + a) << a;
    }
}

TEST(EngineFlow, CloseFinishesTheWordAndPowersOff)
{
    for (const bool data : {false, true}) {
        EngineRig rig("16f84");
        rig.host.progEnd = "0009";
        rig.host.dataEnd = "09";
        rig.host.onStep = [](ScriptedEngineHost &h) { h.close = h.progressSteps == 4; };
        const EngineResult result =
            data ? rig.engine.PicReadDataMem() : rig.engine.PicReadProgMem();
        EXPECT_EQ(result.outcome, EngineOutcome::Closed);
        EXPECT_TRUE(result.Succeeded());
        EXPECT_EQ(result.wordsDone, 4);
        EXPECT_EQ(result.address, 4) << "the next word to do";
        EXPECT_FALSE(rig.sim->State().powered);
        EXPECT_EQ(rig.sim->Transcript().back().substr(0, 2), "07");
    }
}

struct AnswerCase
{
    const char *name;
    const char *device;
    bool parallel;
    bool dataMemory;
    std::vector<WriteErrorAnswer> answers;
    WriteErrorButtons buttons;
    EngineOutcome outcome;
    int boxes;
    bool laterWordsWritten;
};

class EngineWriteErrorBox : public ::testing::TestWithParam<AnswerCase>
{
};

TEST_P(EngineWriteErrorBox, AnswersDecideTheRestOfTheWrite)
{
    const AnswerCase &c = GetParam();
    EngineRig rig(c.device);
    rig.host.parallel = c.parallel;
    rig.host.progEnd = "0004";
    rig.host.dataEnd = "04";
    FillSequential(rig.image, 5);
    rig.image.FillDataImage("5A");
    if (c.dataMemory) {
        rig.sim->chip().SetDataNeverProgram(0x0002);
    } else {
        rig.sim->chip().SetNeverProgram(0x0002);
    }
    for (const WriteErrorAnswer a : c.answers) {
        rig.host.writeErrorAnswers.enqueue(a);
    }
    const EngineResult result =
        c.dataMemory ? rig.engine.PicWriteDataMem() : rig.engine.PicWriteProgMem();
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(rig.host.writeErrors,
              QStringList(c.boxes, c.dataMemory ? "Error Writing Data Memory Address $0002"
                                                : "Error Writing Program Memory Address $0002"));
    for (const WriteErrorButtons b : rig.host.writeErrorButtons) {
        EXPECT_EQ(b, c.buttons);
    }
    const bool fourthWritten = c.dataMemory ? rig.sim->chip().DataByte(3) == 0x5A
                                            : rig.sim->chip().ProgramWord(3) == 0x0103;
    EXPECT_EQ(fourthWritten, c.laterWordsWritten);
    EXPECT_FALSE(rig.sim->State().powered);
}

using A = WriteErrorAnswer;
using B = WriteErrorButtons;
INSTANTIATE_TEST_SUITE_P(Answers, EngineWriteErrorBox,
                         ::testing::Values(AnswerCase{"ParallelAbortEnds",
                                                      "16c62A",
                                                      true,
                                                      false,
                                                      {A::Abort},
                                                      B::AbortRetryIgnore,
                                                      EngineOutcome::Aborted,
                                                      1,
                                                      false},
                                           AnswerCase{"ParallelRetryThenIgnore",
                                                      "16c62A",
                                                      true,
                                                      false,
                                                      {A::Retry, A::Ignore},
                                                      B::AbortRetryIgnore,
                                                      EngineOutcome::Completed,
                                                      2,
                                                      true},
                                           AnswerCase{"SerialPulsesRetryThenIgnore",
                                                      "16c62A",
                                                      false,
                                                      false,
                                                      {A::Retry, A::Ignore},
                                                      B::AbortRetryIgnore,
                                                      EngineOutcome::Completed,
                                                      2,
                                                      true},
                                           AnswerCase{"FlashSerialIgnore",
                                                      "16f84",
                                                      false,
                                                      false,
                                                      {A::Ignore},
                                                      B::AbortRetryIgnore,
                                                      EngineOutcome::Completed,
                                                      1,
                                                      true},
                                           AnswerCase{"TwelveBitOkSkipsTheWord",
                                                      "16c54",
                                                      true,
                                                      false,
                                                      {A::Ok},
                                                      B::OkCancel,
                                                      EngineOutcome::Completed,
                                                      1,
                                                      true},
                                           AnswerCase{"TwelveBitCancelEnds",
                                                      "16c54",
                                                      true,
                                                      false,
                                                      {A::Cancel},
                                                      B::OkCancel,
                                                      EngineOutcome::Aborted,
                                                      1,
                                                      false},
                                           AnswerCase{"Twelve508RetryThenAbort",
                                                      "12c508",
                                                      false,
                                                      false,
                                                      {A::Retry, A::Abort},
                                                      B::AbortRetryIgnore,
                                                      EngineOutcome::Aborted,
                                                      2,
                                                      false},
                                           AnswerCase{"DataParallelIgnore",
                                                      "16f84",
                                                      true,
                                                      true,
                                                      {A::Ignore},
                                                      B::AbortRetryIgnore,
                                                      EngineOutcome::Completed,
                                                      1,
                                                      true},
                                           AnswerCase{"DataSerialAbort",
                                                      "16f84",
                                                      false,
                                                      true,
                                                      {A::Abort},
                                                      B::AbortRetryIgnore,
                                                      EngineOutcome::Aborted,
                                                      1,
                                                      false}),
                         [](const auto &row) { return std::string(row.param.name); });

TEST(EngineFlow, SerialFlashWordAboveFourteenBitsNeverReadsBackEqual)
{
    EngineRig rig("16f84");
    rig.host.parallel = false;
    rig.image.SetProgramWordText(0, "7FFF");
    rig.host.writeErrorAnswers << A::Retry << A::Retry << A::Ignore;
    EXPECT_EQ(rig.engine.PicWriteProgMem().outcome, EngineOutcome::Completed);
    EXPECT_EQ(rig.host.writeErrors.size(), 3);
}

struct RangeCase
{
    const char *name;
    const char *start;
    const char *end;
    int words;
    int progressMax;
};

class EngineRanges : public ::testing::TestWithParam<RangeCase>
{
};

TEST_P(EngineRanges, ProcessesTheWordsBetweenStartAndEnd)
{
    const RangeCase &c = GetParam();
    EngineRig rig("16f877");
    rig.host.progStart = c.start;
    rig.host.progEnd = c.end;
    const EngineResult result = rig.engine.PicReadProgMem();
    EXPECT_EQ(result.outcome, EngineOutcome::Completed);
    EXPECT_EQ(result.wordsDone, c.words);
    EXPECT_EQ(rig.host.progressMaxima, std::vector<int>{c.progressMax});
    EXPECT_FALSE(rig.sim->State().powered);
}

INSTANTIATE_TEST_SUITE_P(Edges, EngineRanges,
                         ::testing::Values(RangeCase{"EndBelowStart", "0010", "000F", 0, 0xFFFF},
                                           RangeCase{"StartEqualsEnd", "0005", "0005", 1, 0},
                                           // A 16-bit counter must not wrap round to 0000.
                                           RangeCase{"EndsAtFFFF", "FFFC", "FFFF", 4, 3}),
                         [](const auto &row) { return std::string(row.param.name); });

TEST(EngineFlow, AddressFieldWithBlanksFailsAfterPowerOnWithoutStepping)
{
    EngineRig rig("16f84");
    rig.host.progStart = "A_00";
    EXPECT_EQ(rig.engine.PicReadProgMem().outcome, EngineOutcome::BadAddressField);
    // Power-on, then straight to power-off.
    EXPECT_EQ(rig.sim->Transcript().size(), 4u + 2u);
}

TEST(EngineFlow, ImageCellThatIsNotANumberStopsTheWriteThere)
{
    for (const bool data : {false, true}) {
        EngineRig rig("16f84");
        rig.host.progEnd = "0005";
        rig.host.dataEnd = "05";
        FillSequential(rig.image, 6);
        rig.image.FillDataImage("11");
        if (data) {
            rig.image.SetDataByteText(3, "1G");
        } else {
            rig.image.SetProgramWordText(3, "12G4");
        }
        const EngineResult result =
            data ? rig.engine.PicWriteDataMem() : rig.engine.PicWriteProgMem();
        EXPECT_EQ(result.outcome, EngineOutcome::BadImageText);
        EXPECT_FALSE(result.Succeeded());
        EXPECT_EQ(result.address, 3);
        EXPECT_EQ(result.expectedText, data ? "1G" : "12G4");
        EXPECT_EQ(result.wordsDone, 3);
        EXPECT_FALSE(rig.sim->State().powered);
        const int blank = data ? 0xFF : 0x3FFF;
        const int third = data ? rig.sim->chip().DataByte(2) : rig.sim->chip().ProgramWord(2);
        const int fourth = data ? rig.sim->chip().DataByte(3) : rig.sim->chip().ProgramWord(3);
        EXPECT_NE(third, blank);
        EXPECT_EQ(fourth, blank);
    }
}

TEST(EngineFlow, VerifyComparesText)
{
    EngineRig rig("16f84");
    rig.image.SetDataByteText(0, "ff"); // the chip's erased byte is "FF"
    const EngineResult data = rig.engine.PicVerifyDataMem();
    EXPECT_EQ(data.outcome, EngineOutcome::VerifyDifference);
    EXPECT_EQ(data.expectedText, "ff");
    EXPECT_EQ(data.readText, "FF");

    EngineRig twelve("16c54");
    twelve.image.SetProgramWordText(0, "3FFF"); // a 12-bit chip's erased word shows as "0FFF"
    const EngineResult prog = twelve.engine.PicVerifyProgMem();
    EXPECT_EQ(prog.outcome, EngineOutcome::VerifyDifference);
    EXPECT_EQ(prog.readText, "0FFF");
}

struct IdCase
{
    const char *device;
    bool parallel;
};

class EngineIdCode : public ::testing::TestWithParam<IdCase>
{
};

TEST_P(EngineIdCode, EachLocationHoldsItsOwnNibble)
{
    EngineRig rig(GetParam().device);
    rig.host.parallel = GetParam().parallel;
    ASSERT_TRUE(rig.engine.PicWriteIDCode(0x1234));
    // Digit k from the left goes to location k, as an assembler's __IDLOCS 0x1234 has it.
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(rig.sim->chip().IdWord(k), k + 1) << k;
    }
    EXPECT_EQ(rig.engine.PicReadIDCode(), ChipResult<QString>(QStringLiteral("1234")));
}

TEST_P(EngineIdCode, ALocationThatDoesNotTakeFailsTheWrite)
{
    EngineRig rig(GetParam().device);
    rig.host.parallel = GetParam().parallel;
    rig.sim->chip().SetNeverProgram(static_cast<std::uint16_t>(rig.device.IdAddress + 1));
    const ChipResult<NoValue> written = rig.engine.PicWriteIDCode(0x1234);
    EXPECT_FALSE(written.Ok());
    EXPECT_EQ(rig.sim->chip().IdWord(0), 1);
    // The reason names the location: what it read back, or the module's refusal to program it.
    const ReadBackDifference *difference = written.ReadBack();
    const ExchangeFailure *failure = written.Exchange();
    EXPECT_TRUE((difference && difference->location == 1 && difference->expected == 2) ||
                (failure && failure->kind == ExchangeFailure::Kind::WrongAcknowledge));
    EXPECT_EQ(rig.sim->chip().IdWord(2), rig.sim->chip().Description().WordMask())
        << "nothing after the failing location";
    EXPECT_FALSE(rig.sim->State().powered);
}

INSTANTIATE_TEST_SUITE_P(Families, EngineIdCode,
                         ::testing::Values(IdCase{"16c54", true}, IdCase{"16c62A", true},
                                           IdCase{"16c62A", false}, IdCase{"16f84", true},
                                           IdCase{"16f84", false}, IdCase{"12c508", false}),
                         [](const auto &row) {
                             return std::string(row.param.device) +
                                    (row.param.parallel ? "_Parallel" : "_Serial");
                         });

// The ID code text as the image holds it, read one digit a location from the left.
TEST(EngineFlow, IdCodeTextGivesTheCodeOrNothing)
{
    const struct
    {
        const char *text;
        std::optional<std::uint16_t> code;
    } rows[] = {
        {"1234", 0x1234},   {"beef", 0xBEEF},       {"12", 0x1200},         {"12345", 0x1234},
        {"", std::nullopt}, {"12 4", std::nullopt}, {"$123", std::nullopt},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(IdCodeValue(QString::fromLatin1(r.text)), r.code) << r.text;
    }
}

TEST(EngineChipCommands, DirectAccess)
{
    EngineRig rig("16f84");
    rig.sim->chip().SetConfigWord(0x3FF1);
    EXPECT_EQ(ReadConfigDirectly(rig.engine), ChipResult<std::uint16_t>(0x3FF1));
    ASSERT_TRUE(rig.engine.PicWriteConfig(0x3FF2));
    EXPECT_EQ(rig.sim->chip().ConfigWord(), 0x3FF2);
    EXPECT_EQ(rig.engine.PicCodeProtected(), ChipResult<bool>(false));
    ASSERT_TRUE(rig.engine.PicWriteConfig(0x000F));
    EXPECT_EQ(rig.engine.PicCodeProtected(), ChipResult<bool>(true));
}

TEST(EngineChipCommands, CalibrationFromTheImage)
{
    EngineRig rig("12c508");
    rig.image.SetProgramWordText(0x01FF, "0C5A");
    EXPECT_EQ(CalibrationInImage(rig.image, rig.device).byte, std::optional<std::uint8_t>(0x5A));
    rig.image.SetProgramWordText(0x01FF, "0C 5");
    const ImageCalibration bad = CalibrationInImage(rig.image, rig.device);
    EXPECT_FALSE(bad.byte.has_value());
    EXPECT_EQ(bad.cellText, "0C 5");
    EXPECT_EQ(rig.sim->ExchangeCount(), 0);
}

} // namespace
