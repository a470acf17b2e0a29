// How long after a byte has left the serial driver's queue the link notices: the time a write
// adds beyond the byte's own departure. A pseudo-terminal has no queue (its bytes leave at
// once), so this is measured against a driver that reports the byte queued until a set moment,
// as a USB adapter does until its transfer completes. The millisecond poll the link used
// before is measured alongside for comparison.
#include "link/ByteChannel.h"
#include "link/OutputQueueWait.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// A queue holding one byte until `leaves`.
QueuedBytesProbe QueueUntil(Clock::time_point leaves)
{
    return [leaves]() -> std::optional<int> { return Clock::now() >= leaves ? 0 : 1; };
}

bool PollEveryMillisecond(const QueuedBytesProbe &queued, const QDeadlineTimer &deadline)
{
    while (queued().value_or(0) != 0) {
        if (deadline.hasExpired()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

template <bool (*Wait)(const QueuedBytesProbe &, const QDeadlineTimer &)>
void NoticeDeparture(benchmark::State &state)
{
    const auto departure = std::chrono::microseconds(state.range(0));
    for (auto _ : state) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(
            Wait(QueueUntil(start + departure), QDeadlineTimer(kByteTimeoutMs)));
        const auto late = Clock::now() - start - departure;
        state.SetIterationTime(std::chrono::duration<double>(late).count());
    }
}

// Argument: microseconds until the byte leaves the queue.
BENCHMARK(NoticeDeparture<WaitForEmptyOutputQueue>)
    ->Name("LateBy/ShortPolls")
    ->Arg(0)
    ->Arg(200)
    ->Arg(600)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(NoticeDeparture<PollEveryMillisecond>)
    ->Name("LateBy/MillisecondPolls")
    ->Arg(0)
    ->Arg(200)
    ->Arg(600)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
