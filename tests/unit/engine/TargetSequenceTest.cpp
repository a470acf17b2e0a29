// The operation over the ticked targets: fixed order, the user's texts, a failing target not
// skipping the others, the configuration word and ID code results reaching the image.
#include "EngineRig.h"

#include "engine/TargetSequence.h"
#include "texts/TargetTexts.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct SequenceRun
{
    QStringList messages;
    QStringList statuses;
    std::vector<TargetReport> reports;
    std::vector<std::uint16_t> configShown;
};

SequenceRun RunOperation(EngineRig &rig, ChipOperation operation,
                         const std::set<ChipTarget> &ticked, std::uint16_t controlsWord = 0x3FF1,
                         PicEngine::WriteScope scope = PicEngine::WriteScope::EveryWord)
{
    SequenceRun run;
    TargetSequenceHooks hooks;
    hooks.writeScope = scope;
    hooks.ticked = [&](ChipTarget t) { return ticked.count(t) != 0; };
    hooks.configWordFromControls = [=] { return controlsWord; };
    hooks.configWordRead = [&](std::uint16_t w) { run.configShown.push_back(w); };
    hooks.report = [&](const TargetReport &r) {
        run.reports.push_back(r);
        if (const QString message = TargetMessage(r); !message.isEmpty()) {
            run.messages << message;
        }
    };
    const qsizetype statusesBefore = rig.host.statuses.size();
    RunTargetSequence(rig.engine, operation, hooks);
    run.statuses = rig.host.statuses.mid(statusesBefore);
    return run;
}

const std::set<ChipTarget> kAll = {ChipTarget::ConfigWord, ChipTarget::IdCode,
                                   ChipTarget::DataMemory, ChipTarget::ProgramMemory};

TEST(TargetSequence, EveryFailingReadIsReportedInTargetOrder)
{
    EngineRig rig("16f84");
    rig.NoAckFrom(1);
    const SequenceRun run = RunOperation(rig, ChipOperation::Read, kAll);
    EXPECT_EQ(run.messages,
              (QStringList{"Error Reading Program Memory", "Error Reading Data Memory",
                           "Error Reading ID Code", "Error Reading Configuration"}));
    EXPECT_TRUE(run.configShown.empty());
    EXPECT_EQ(rig.image.IDCodeText, "FFFF");
}

TEST(TargetSequence, BlankChipAndItsTexts)
{
    EngineRig rig("16f84");
    const SequenceRun run = RunOperation(rig, ChipOperation::BlankCheck, kAll);
    EXPECT_EQ(run.messages, (QStringList{"Program Memory Blank", "Data Memory Blanc",
                                         "ID Code Blank", "Configuration Blank"}));
    EXPECT_EQ(run.statuses,
              (QStringList{"Blank Checking Program Memory ...", "Blank Checking Data Memory ...",
                           "Blank Checking ID Code", "Blank Checking Configuration Word"}));
    for (const TargetReport &r : run.reports) {
        EXPECT_TRUE(r.soundBeforeMessage);
    }

    // A 12-bit part's erased configuration word reads 0FFF, its blank word.
    for (const char *device : {"16c54", "12c508"}) {
        EngineRig twelve(device);
        const SequenceRun config =
            RunOperation(twelve, ChipOperation::BlankCheck, {ChipTarget::ConfigWord});
        EXPECT_EQ(config.messages, QStringList{"Configuration Blank"}) << device;
        EXPECT_EQ(config.reports[0].readText, "0FFF") << device;
    }
}

TEST(TargetSequence, WriteThenVerifyUsesTheControlsWord)
{
    EngineRig rig("16f84");
    rig.host.progEnd = "0001";
    rig.image.SetProgramWordText(0, "1234");
    rig.image.SetProgramWordText(1, "0042");
    rig.image.IDCodeText = "BEEF";
    const std::set<ChipTarget> targets = {ChipTarget::ProgramMemory, ChipTarget::IdCode,
                                          ChipTarget::ConfigWord};
    EXPECT_TRUE(RunOperation(rig, ChipOperation::Write, targets).messages.isEmpty());
    EXPECT_EQ(rig.sim->chip().ConfigWord(), 0x3FF1);
    const SequenceRun verify = RunOperation(rig, ChipOperation::Verify, targets);
    EXPECT_EQ(verify.messages, (QStringList{"Program Memory Verify Completed.  No Errors...",
                                            "ID Code Verify Completed. No Errors",
                                            "Configuration Verify Completed. No Errors..."}));
    const SequenceRun changed =
        RunOperation(rig, ChipOperation::Verify, {ChipTarget::ConfigWord}, 0x3FF2);
    EXPECT_EQ(changed.messages, QStringList{"Error Verifying Configuration"});
    EXPECT_EQ(changed.reports[0].expectedText, "3FF2");
    EXPECT_EQ(changed.reports[0].readText, "3FF1");
}

TEST(TargetSequence, ReadStoresTheConfigurationAndIdCode)
{
    EngineRig rig("16f84");
    rig.sim->chip().SetConfigWord(0x3FF5);
    rig.sim->chip().SetIdWord(0, 0x3FF7);
    const SequenceRun run =
        RunOperation(rig, ChipOperation::Read, {ChipTarget::IdCode, ChipTarget::ConfigWord});
    EXPECT_TRUE(run.messages.isEmpty());
    EXPECT_EQ(rig.image.ConfigWord, 0x3FF5);
    EXPECT_EQ(run.configShown, std::vector<std::uint16_t>{0x3FF5});
    EXPECT_EQ(rig.image.IDCodeText, "7FFF"); // the first location is the first digit
}

TEST(TargetSequence, ImageCellThatIsNotANumberEndsTheSequence)
{
    EngineRig rig("16f84");
    rig.image.SetProgramWordText(0, "12 4");
    const SequenceRun run = RunOperation(rig, ChipOperation::Write, kAll);
    EXPECT_EQ(run.messages, QStringList{"'$12 4' is not a valid integer value"});
    ASSERT_EQ(run.reports.size(), 1u);
    EXPECT_TRUE(run.reports[0].endsSequence);
}

// The scope reaches both memory writes: a blank-skipping write of an erased chip sends far
// fewer exchanges and leaves the chip as a whole write does.
TEST(TargetSequence, WriteScopeReachesBothMemories)
{
    const std::set<ChipTarget> memories = {ChipTarget::ProgramMemory, ChipTarget::DataMemory};
    EngineRig fast("16f84");
    EngineRig whole("16f84");
    int exchanges[2] = {0, 0};
    int i = 0;
    for (EngineRig *rig : {&fast, &whole}) {
        rig->host.progEnd = "03FF";
        rig->host.dataEnd = "3F";
        rig->image.FillProgramImage("3FFF");
        rig->image.FillDataImage("FF");
        rig->image.SetProgramWordText(0x10, "0123");
        rig->image.SetDataByteText(0x20, "5A");
        rig->sim->SetKeepTranscript(false);
        const int before = rig->sim->ExchangeCount();
        const auto scope =
            rig == &fast ? PicEngine::WriteScope::SkipBlank : PicEngine::WriteScope::EveryWord;
        EXPECT_TRUE(
            RunOperation(*rig, ChipOperation::Write, memories, 0, scope).messages.isEmpty());
        exchanges[i++] = rig->sim->ExchangeCount() - before;
    }
    EXPECT_EQ(fast.sim->chip().ProgramWord(0x10), 0x0123);
    EXPECT_EQ(fast.sim->chip().DataByte(0x20), 0x5A);
    for (int a = 0; a < 0x400; ++a)
        ASSERT_EQ(fast.sim->chip().ProgramWord(a), whole.sim->chip().ProgramWord(a)) << a;
    EXPECT_LT(exchanges[0] * 20, exchanges[1]);
}

// An ID code that is not a number fails its target without a word to the chip; the targets
// before and after it run as usual.
TEST(TargetSequence, IdCodeThatIsNotANumberTouchesNothing)
{
    EngineRig rig("16f84");
    rig.image.IDCodeText = "";
    const SequenceRun run = RunOperation(rig, ChipOperation::Write, {ChipTarget::IdCode});
    EXPECT_EQ(run.messages, QStringList{"Error Writing ID Code"});
    EXPECT_FALSE(run.reports[0].failure.has_value());
    EXPECT_EQ(rig.sim->ExchangeCount(), 0);
}

} // namespace
