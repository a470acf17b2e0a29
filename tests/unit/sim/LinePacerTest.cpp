// The host-to-module line in real time: one byte per byte time, each byte's start worked out
// from when it was first seen waiting.
#include "LinePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::chrono_literals;
using tolm::sim::LinePacer;

constexpr auto kByte = 1041us;

// A byte first seen at `seen` and taken by a server that got round to it at `taken` (both from
// the start), expected to start on the line at `start`.
struct Step
{
    std::chrono::microseconds seen;
    std::chrono::microseconds taken;
    std::chrono::microseconds start;
};

TEST(LinePacer, OneBytePerByteTimeWithoutStretchingTheLine)
{
    struct Case
    {
        const char *name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"bytes on an idle line start when they are seen",
         {{0us, 0us, 0us}, {5000us, 5000us, 5000us}}},
        {"a burst goes back to back",
         {{0us, 0us, 0us}, {10us, kByte, kByte}, {10us, 2 * kByte, 2 * kByte}}},
        {"a late server does not delay the line",
         {{0us, 0us, 0us},
          {10us, kByte + 300us, kByte},
          {kByte + 300us, 2 * kByte + 80us, 2 * kByte}}},
        {"a byte written while the line is busy starts when it is free",
         {{0us, 0us, 0us}, {700us, kByte, kByte}}},
        {"a byte written just after the line fell free starts then",
         {{0us, 0us, 0us}, {kByte + 200us, kByte + 250us, kByte + 200us}}},
    };
    for (const Case &c : cases) {
        const LinePacer::TimePoint origin{};
        LinePacer pacer(kByte);
        for (const Step &s : c.steps) {
            pacer.NoteWaiting(origin + s.seen);
            ASSERT_TRUE(pacer.IsFree(origin + s.taken)) << c.name;
            EXPECT_EQ(pacer.Take(origin + s.taken) - origin, s.start) << c.name;
            EXPECT_FALSE(pacer.HasWaiting()) << c.name;
            EXPECT_FALSE(pacer.IsFree(origin + s.start + kByte - 1us)) << c.name;
        }
    }
}

TEST(LinePacer, AByteTheHostFlushedIsForgotten)
{
    LinePacer pacer(kByte);
    const LinePacer::TimePoint origin{};
    pacer.NoteWaiting(origin + 100us);
    pacer.ForgetWaiting();
    EXPECT_FALSE(pacer.HasWaiting());
    pacer.NoteWaiting(origin + 900us);
    EXPECT_EQ(pacer.Take(origin + 950us) - origin, 900us) << "counted from the new byte";
}

} // namespace
