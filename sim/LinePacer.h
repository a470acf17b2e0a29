#pragma once

#include <chrono>
#include <optional>

namespace tolm::sim {

// The host-to-module direction of the serial line in real time. The line carries one byte per
// byte time, so bytes the host writes faster than that wait on the host's side (in its output
// queue) until the line is free to take the next one. A server that takes bytes off its
// terminal only when the pacer allows leaves them waiting in the terminal, as a real port
// leaves them in its queue.
//
// Each byte's start on the line is worked out from when it was first seen waiting, not from
// when the server got round to taking it: a server that wakes a little late must not stretch
// the line by its own lateness on every byte.
class LinePacer
{
public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    explicit LinePacer(Clock::duration byteTime) : m_byteTime(byteTime) {}

    // At least one byte from the host is waiting; seen tells since when (the first report
    // counts until that byte is taken).
    void NoteWaiting(TimePoint seen);
    // The byte thought to be waiting was not there after all (the host flushed its output).
    void ForgetWaiting() { m_waitingSince.reset(); }
    bool HasWaiting() const { return m_waitingSince.has_value(); }

    // When the line can start the next byte.
    TimePoint FreeAt() const { return m_freeAt; }
    bool IsFree(TimePoint now) const { return now >= m_freeAt; }

    // The waiting byte goes onto the line (call only when IsFree); returns the moment its first
    // bit started. The line is then busy for one byte time.
    TimePoint Take(TimePoint now);

private:
    Clock::duration m_byteTime;
    TimePoint m_freeAt{};
    std::optional<TimePoint> m_waitingSince;
};

} // namespace tolm::sim
