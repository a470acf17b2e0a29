#include "link/OutputQueueWait.h"
#include "link/ByteChannel.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

// A driver whose output queue reports the given counts, one per look, then stays at the last.
struct ScriptedQueue
{
    std::vector<std::optional<int>> counts;
    int looks = 0;

    std::optional<int> operator()()
    {
        const std::size_t i =
            std::min<std::size_t>(static_cast<std::size_t>(looks), counts.size() - 1);
        ++looks;
        return counts[i];
    }
};

TEST(OutputQueueWait, ByteLeavesOrTheDeadlineEndsTheWait)
{
    struct Case
    {
        const char *name;
        std::vector<std::optional<int>> counts;
        bool left;
        int looks; // -1: as many as fit in the time limit
    };
    const Case cases[] = {
        {"queue empty at the first look (a pseudo-terminal, a FIFO)", {0}, true, 1},
        {"driver cannot report its queue", {std::nullopt}, true, 1},
        {"byte leaves after a few looks", {1, 1, 1, 0}, true, 4},
        {"CTS never comes back", {1}, false, -1},
    };
    for (const Case &c : cases) {
        ScriptedQueue queue{c.counts};
        QElapsedTimer timer;
        timer.start();
        const bool left = WaitForEmptyOutputQueue(std::ref(queue), QDeadlineTimer(kByteTimeoutMs));
        const qint64 elapsed = timer.elapsed();
        EXPECT_EQ(left, c.left) << c.name;
        if (c.looks >= 0) {
            EXPECT_EQ(queue.looks, c.looks) << c.name;
            EXPECT_LT(elapsed, 100) << c.name;
        } else {
            EXPECT_GE(elapsed, kByteTimeoutMs) << c.name << ": the byte's whole time limit";
            EXPECT_LT(elapsed, kByteTimeoutMs + 150) << c.name << ": and not much more";
            EXPECT_GT(queue.looks, 2) << c.name;
        }
    }
}

} // namespace
