#include "link/ChipWaits.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

void SleepUntil(std::chrono::steady_clock::time_point deadline)
{
    // steady_clock is CLOCK_MONOTONIC on Linux, so its time is the clock's own.
    const auto since = deadline.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    timespec until{};
    until.tv_sec = static_cast<time_t>(seconds.count());
    until.tv_nsec = static_cast<long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
    // With an absolute time an interrupted sleep simply sleeps again to the same deadline.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

void SleepForChip(int ms)
{
    if (ms > 0)
        SleepUntil(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
}

ChipTimerSlack::ChipTimerSlack()
{
    const int slack = ::prctl(PR_GET_TIMERSLACK, 0UL, 0UL, 0UL, 0UL);
    if (slack < 0)
        return;
    m_previous = slack;
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
}

ChipTimerSlack::~ChipTimerSlack()
{
    if (m_previous > 0)
        ::prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(m_previous), 0UL, 0UL, 0UL);
}
