// The erase-then-write plan both front ends run: its steps, the erase first, and the ways it
// stops before a configuration word could land on a half-written chip.
#include "EngineRig.h"

#include "engine/EraseThenWrite.h"

#include <gtest/gtest.h>

namespace {

using Step = EraseThenWriteStep;

std::vector<std::string> RunPlan(EngineRig &rig, const std::function<bool(const Step &)> &step,
                                 EraseThenWriteEnd &end)
{
    std::vector<std::string> ran;
    end = RunEraseThenWrite(rig.engine, [&](const Step &s) {
        ran.push_back((s.operation == ChipOperation::Write ? "write " : "verify ") +
                      std::string(s.memories ? "memories" : "config") +
                      (s.scope == PicEngine::WriteScope::SkipBlank ? " skipping blanks" : ""));
        return step(s);
    });
    return ran;
}

TEST(EraseThenWrite, ErasesThenWritesAndVerifiesMemoriesBeforeTheConfigurationWord)
{
    EngineRig rig("16f877");
    rig.sim->chip().SetProgramWord(0x100, 0x1234);
    rig.sim->chip().SetConfigWord(0x0000); // protected
    bool erasedFirst = false;
    EraseThenWriteEnd end{};
    const auto ran = RunPlan(
        rig,
        [&](const Step &) {
            erasedFirst = erasedFirst || rig.sim->chip().ProgramWord(0x100) == 0x3FFF;
            return true;
        },
        end);
    EXPECT_EQ(end, EraseThenWriteEnd::Done);
    EXPECT_TRUE(erasedFirst);
    EXPECT_EQ(rig.host.statuses.front(), kErasingStatus);
    EXPECT_EQ(ran, (std::vector<std::string>{"write memories skipping blanks", "verify memories",
                                             "write config", "verify config"}));
    const Step memories = EraseThenWriteSteps(rig.device).front();
    EXPECT_TRUE(memories.Covers(ChipTarget::IdCode) && memories.Covers(ChipTarget::DataMemory));
    EXPECT_FALSE(memories.Covers(ChipTarget::ConfigWord));
}

TEST(EraseThenWrite, AFailedStepOrACloseEndsThePlan)
{
    EngineRig failing("16f84");
    EraseThenWriteEnd end{};
    EXPECT_EQ(RunPlan(
                  failing, [](const Step &s) { return s.operation != ChipOperation::Verify; }, end)
                  .size(),
              2u);
    EXPECT_EQ(end, EraseThenWriteEnd::StepFailed);

    EngineRig closing("16f84");
    const auto ran = RunPlan(
        closing,
        [&](const Step &) {
            closing.host.close = true; // Close pressed during the first step
            return true;
        },
        end);
    EXPECT_EQ(ran.size(), 1u);
    EXPECT_EQ(end, EraseThenWriteEnd::Closed);

    EngineRig silent("16f84");
    silent.NoAckFrom(1);
    EXPECT_TRUE(RunPlan(
                    silent, [](const Step &) { return true; }, end)
                    .empty());
    EXPECT_EQ(end, EraseThenWriteEnd::EraseFailed);
}

} // namespace
