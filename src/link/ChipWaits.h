#pragma once

#include <chrono>

// The waits of the chip protocol (1 ms between a Serial Read Data command and shifting the
// word out, 20 ms after an erase) are short and many: a whole Serial read of a 16f84 waits
// 1024 times. A relative sleep wakes late by the thread's timer slack (50 us by default) plus
// the wake-up, and every late wake-up adds to the read; these waits end at their deadline.

// Sleeps until the steady clock reaches `deadline` (at once when it has passed). A signal that
// interrupts the sleep does not shorten or lengthen it.
void SleepUntil(std::chrono::steady_clock::time_point deadline);

// Sleeps at least `ms` milliseconds from now, to an absolute deadline.
void SleepForChip(int ms);

// While it lives, the calling thread's timer slack is 1 ns instead of the default, so that
// its timed sleeps and waits for a reply byte end when they are due; the slack it had comes
// back afterwards. One guard a thread: the chip work of one port.
class ChipTimerSlack
{
public:
    ChipTimerSlack();
    ~ChipTimerSlack();
    ChipTimerSlack(const ChipTimerSlack &) = delete;
    ChipTimerSlack &operator=(const ChipTimerSlack &) = delete;

private:
    long m_previous = -1; // -1: the slack could not be read, nothing to put back
};
