#include "cli/options/MethodAndWriteErrorOptions.h"
#include "cli/output/ProgressLine.h"
#include "cli/session/WriteErrorResponder.h"
#include "device/catalogue/CatalogueInUse.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Mode = WriteErrorPolicy::Mode;

TEST(CliChipOptions, WriteErrorAnswers)
{
    const struct
    {
        const char *text;
        bool valid;
        Mode mode;
        int retries;
    } cases[] = {
        {"abort", true, Mode::Abort, 0},         {"IGNORE", true, Mode::Ignore, 0},
        {"retry=3", true, Mode::Retry, 3},       {"Retry=0", false, Mode::Abort, 0},
        {"retry=1000", true, Mode::Retry, 1000}, {"retry=1001", false, Mode::Abort, 0},
        {"retry=-1", false, Mode::Abort, 0},     {"retry=", false, Mode::Abort, 0},
        {"retry", false, Mode::Abort, 0},        {"retry=2x", false, Mode::Abort, 0},
        {"cancel", false, Mode::Abort, 0},       {"", false, Mode::Abort, 0},
    };
    for (const auto &c : cases) {
        const auto policy = ParseWriteErrorPolicy(QString::fromLatin1(c.text));
        ASSERT_EQ(policy.has_value(), c.valid) << c.text;
        if (policy) {
            EXPECT_EQ(policy->mode, c.mode) << c.text;
            EXPECT_EQ(policy->retries, c.retries) << c.text;
        }
    }
}

TEST(CliChipOptions, MethodMustBeOneTheDeviceHas)
{
    const struct
    {
        const char *device;
        const char *text;
        std::optional<bool> parallel;
    } cases[] = {
        {"16f84", "parallel", true},       {"16f84", "Serial", false},
        {"12c508", "serial", false},       {"12c508", "parallel", std::nullopt},
        {"16c54", "serial", std::nullopt}, {"16c54", "PARALLEL", true},
        {"16f84", "par", std::nullopt},
    };
    for (const auto &c : cases) {
        QString error;
        const auto parallel = ParseParallelMethod(c.text, *FindDevice(c.device), error);
        EXPECT_EQ(parallel, c.parallel) << c.device << ' ' << c.text;
        EXPECT_EQ(error.isEmpty(), c.parallel.has_value()) << c.device << ' ' << c.text;
    }
}

// What the responder answers to a run of boxes: retries count per word, and the 16C5x box
// (OK and Cancel) cannot be retried.
TEST(WriteErrorResponder, AnswersBoxAfterBox)
{
    using A = WriteErrorAnswer;
    using B = WriteErrorButtons;
    struct Box
    {
        const char *word;
        B buttons;
        A answer;
    };
    const struct
    {
        const char *name;
        WriteErrorPolicy policy;
        std::vector<Box> boxes;
        int skipped;
    } cases[] = {
        {"abort", {}, {{"0001", B::AbortRetryIgnore, A::Abort}}, 0},
        {"abort 16C5x", {}, {{"0001", B::OkCancel, A::Cancel}}, 0},
        {"ignore",
         {Mode::Ignore, 0},
         {{"0001", B::AbortRetryIgnore, A::Ignore}, {"0002", B::OkCancel, A::Ok}},
         2},
        {"retry twice then abort",
         {Mode::Retry, 2},
         {{"0001", B::AbortRetryIgnore, A::Retry},
          {"0001", B::AbortRetryIgnore, A::Retry},
          {"0001", B::AbortRetryIgnore, A::Abort}},
         0},
        {"retries count per word",
         {Mode::Retry, 1},
         {{"0001", B::AbortRetryIgnore, A::Retry},
          {"0002", B::AbortRetryIgnore, A::Retry},
          {"0002", B::AbortRetryIgnore, A::Abort}},
         0},
        {"retry on 16C5x ends the write", {Mode::Retry, 3}, {{"0001", B::OkCancel, A::Cancel}}, 0},
        {"retry=0 is abort", {Mode::Retry, 0}, {{"0001", B::AbortRetryIgnore, A::Abort}}, 0},
    };
    for (const auto &c : cases) {
        WriteErrorResponder responder(c.policy);
        for (const Box &box : c.boxes)
            EXPECT_EQ(responder.Answer(box.word, box.buttons), box.answer)
                << c.name << ' ' << box.word;
        EXPECT_EQ(responder.TakeSkippedWords(), c.skipped) << c.name;
        EXPECT_EQ(responder.TakeSkippedWords(), 0) << c.name;
    }
}

TEST(WriteErrorResponder, ANewTargetStartsTheRetryCountAgain)
{
    WriteErrorResponder responder({Mode::Retry, 1});
    EXPECT_EQ(responder.Answer("0000", WriteErrorButtons::AbortRetryIgnore),
              WriteErrorAnswer::Retry);
    responder.StartTarget(); // data byte 00 has the same box text as program word 0000
    EXPECT_EQ(responder.Answer("0000", WriteErrorButtons::AbortRetryIgnore),
              WriteErrorAnswer::Retry);
}

TEST(CliProgress, LineShowsBarPercentWordsAndTimes)
{
    const struct
    {
        int done;
        int total;
        qint64 elapsedMs;
        const char *line;
    } cases[] = {
        {0, 1024, 0, "Writing [........................]   0%  0/1024  0:00 left -:--"},
        {256, 1024, 3000, "Writing [######..................]  25%  256/1024  0:03 left 0:09"},
        {1024, 1024, 61000, "Writing [########################] 100%  1024/1024  1:01 left 0:00"},
        {1, 3, 1, "Writing [########................]  33%  1/3  0:00 left 0:01"},
        {5, 4, 1000, "Writing [########################] 100%  4/4  0:01 left 0:00"},
        {0, 0, 0, "Writing"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ProgressLineText("Writing", c.done, c.total, c.elapsedMs), c.line)
            << c.done << '/' << c.total;
}

TEST(CliProgress, Durations)
{
    const std::pair<qint64, const char *> cases[] = {{0, "0:00"},       {59, "0:59"},
                                                     {61, "1:01"},      {3599, "59:59"},
                                                     {3600, "1:00:00"}, {3725, "1:02:05"}};
    for (const auto &[seconds, text] : cases)
        EXPECT_EQ(DurationText(seconds), text) << seconds;
}

} // namespace
