// The erase-then-write plan both front ends run: its steps, the erase first, and the ways it
// stops before a configuration word could land on a half-written chip.
#include "EngineRig.h"

#include "engine/EraseThenWrite.h"
#include "texts/TargetTexts.h"

#include <gtest/gtest.h>

namespace {

using Step = EraseThenWriteStep;

std::vector<std::string> RunPlan(EngineRig &rig, const std::function<bool(const Step &)> &step,
                                 EraseThenWriteEnd &end,
                                 std::optional<ChipFailure> *eraseFailure = nullptr)
{
    std::vector<std::string> ran;
    const EraseThenWriteOutcome outcome = RunEraseThenWrite(rig.engine, [&](const Step &s) {
        ran.push_back((s.operation == ChipOperation::Write ? "write " : "verify ") +
                      std::string(s.memories ? "memories" : "config") +
                      (s.scope == PicEngine::WriteScope::SkipBlank ? " skipping blanks" : ""));
        return step(s);
    });
    end = outcome.end;
    if (eraseFailure) {
        *eraseFailure = outcome.eraseFailure;
    }
    return ran;
}

TEST(EraseThenWrite, StepsRunInOrderUntilOneFailsOrCloseIsPressed)
{
    EngineRig whole("16f877");
    EraseThenWriteEnd end{};
    EXPECT_EQ(RunPlan(
                  whole, [](const Step &) { return true; }, end),
              (std::vector<std::string>{"write memories skipping blanks", "verify memories",
                                        "write config", "verify config"}));
    EXPECT_EQ(end, EraseThenWriteEnd::Done);
    ChipActivity erasing;
    erasing.erasing = true;
    EXPECT_EQ(whole.host.statuses.front(), StatusText(erasing));

    EngineRig failing("16f84");
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
    std::optional<ChipFailure> why;
    EXPECT_TRUE(RunPlan(
                    silent, [](const Step &) { return true; }, end, &why)
                    .empty());
    EXPECT_EQ(end, EraseThenWriteEnd::EraseFailed);
    // The erase says why it stopped: the module never acknowledged the first power-off.
    ASSERT_TRUE(why.has_value());
    EXPECT_TRUE(ModuleSilent(*why));
}

} // namespace
